# Playing the window without a keyboard, on a virtual X server: clicks and
# game-controller buttons go into SDL's event queue (kestrun_sdlplay), one
# whenever the game waits, and the window front end turns them into the keys
# of the entries the screen shows, or of the on-screen pad's buttons. The
# title's scenario name, which no entry offers, goes through the pad.
# The sample scenario with the "spells" party (Ena, Orin, Bram, dead Tess,
# Lio) in town; seed 2 brings two monsters behind the door east of the stairs.
source "$(dirname "$0")/lib.sh"
PLAY="$(dirname "$KESTRUN")/tests/kestrun_sdlplay"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 77; }
[ -x "$PLAY" ] || { echo "SKIP: kestrun_sdlplay not built"; exit 77; }
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
[ -f /usr/share/unifont/unifont_jp.hex ] || { echo "SKIP: unifont missing"; exit 77; }
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

mkdir -p "$WORK/src"
cp -r "$TESTS/../scenarios/sample/." "$WORK/src/"
cp "$TESTS/data/spells/roster.toml" "$WORK/src/"
"$FORGE" build "$WORK/src" "$WORK/built" --new-roster >/dev/null || fail "forge build"

# The town: 「１　集いの広間」 at column 15, row 4; 「７　地下迷宮に入る」 at
# column 41, row 6. The camp: "0 行動を再開する" at column 9, row 20. The stairs'
# "Hit Y - N Key": N at column 48, row 11. The battle: "1  直接戦闘" at column
# 27, row 8, "5  防御に徹する" at row 12, the Y of "Hit Y - N Key" at column 36,
# row 11. In the maze a click on the right is the cursor key right, on top
# forward, in the middle the door key.
# The pad (a double click shows it over the image's lower right corner):
# the name typed into its field and sent by its OK, or its buttons 1 and
# Enter.
TO_PARTY_ROOM="doubleclick:40,1 pad:field text:1 pad:OK click:15,4"
MOUSE_TO_BATTLE="doubleclick:40,1 pad:1 pad:Enter click:41,6 click:9,20 click:48,11 click:78,11 click:40,1
  click:40,1 click:40,12 click:40,1 click:40,12"
MOUSE_TURN="click:27,8 click:27,8 click:27,8 click:27,8 click:27,12 click:36,11"
# The controller: Back takes it to the pad, where 1, then down and right to
# Enter, then Back again to the screen's entries; from 「１」 right to 「６」,
# down to 「７」; in the camp from 「７」
# up, up, left, left to "0"; N of the stairs; right, forward, forward, the door
# (X), forward; then every member's default (Y: Enter) and A on the Y of the
# question.
PAD_TO_BATTLE="button:back button:a button:down button:right button:right button:right
  button:right button:right button:a button:back button:right button:down button:a button:up button:up
  button:left button:left button:a button:right button:a button:right button:up button:up
  button:x button:up button:a"
PAD_TURN="button:y button:y button:y button:y button:a button:a button:a button:a"

repeat() {
  local out=""
  for _ in $(seq 1 "$1"); do out+=" $2"; done
  echo "$out"
}

cat >"$WORK/session.sh" <<SESSION
set -euo pipefail
play() {
  local name="\$1"; shift
  rm -rf "$WORK/game"; cp -r "$WORK/built" "$WORK/game"
  "$PLAY" "$WORK/game" 2 "$WORK/\$name.txt" "\$@"
}
play click $TO_PARTY_ROOM
play mouse $(echo $MOUSE_TO_BATTLE) $(repeat 8 "$MOUSE_TURN")
play pad $(echo $PAD_TO_BATTLE) $(repeat 8 "$PAD_TURN")
SESSION
timeout 200 xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" bash "$WORK/session.sh" \
  >"$WORK/session.log" 2>&1 || { cat "$WORK/session.log" >&2; fail "the window sessions failed"; }

# frame FILE N: the text of frame N of a trace.
frame() {
  awk -v n="=== $2 " 'index($0, n) == 1 { p = 1; next } /^(=== |--$)/ { p = 0 } p' "$1"
}
last_frame() {
  frame "$1" "$(grep -c '^=== ' "$1")"
}

# One click on the town menu's first entry: the party room.
frames=$(grep -c '^=== ' "$WORK/click.txt")
frame "$WORK/click.txt" $((frames - 1)) | grep -q "どこへ行きますか" ||
  fail "click: the town menu was not there"
last_frame "$WORK/click.txt" | grep -q "パーティー参加のキャラクター" ||
  fail "click: the party room did not open"

# The controller: the town's 7 by the highlight, the maze, the battle command
# of every member, and the battle won.
grep -q "Ena は どうしますか" "$WORK/pad.txt" || fail "pad: no battle"
grep -q "Ena  .* Fight$" "$WORK/pad.txt" || fail "pad: Ena's command was not fight"
grep -q "の経験値を得た" "$WORK/pad.txt" || fail "pad: the battle was not won"

# The mouse alone: the same way, the commands clicked, the battle won.
grep -q "Lio  .* Guard$" "$WORK/mouse.txt" || fail "mouse: Lio's guard was not clicked"
grep -q "の経験値を得た" "$WORK/mouse.txt" || fail "mouse: the battle was not won"
