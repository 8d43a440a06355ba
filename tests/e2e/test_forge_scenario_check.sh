# kestrun-forge check looks at the scenario as a whole: each mistake, made
# in a copy of the bundled scenario, is reported at its line; build only
# warns about them (and refuses what the game cannot run).
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
SAMPLE="$TESTS/../scenarios/sample"
SRC="$WORK/src"

fresh() {
  rm -rf "$SRC"
  cp -r "$SAMPLE" "$SRC"
}
# expect FILE LINE TEXT: the problem is reported at FILE:LINE.
expect() {
  grep -qF -- "$SRC/$1:$2: $3" "$WORK/out" || { cat "$WORK/out" >&2; fail "not reported at $1:$2: $3"; }
}
# at FILE TEXT: the line of the first line of FILE holding TEXT.
at() {
  grep -nF -- "$2" "$SRC/$1" | head -1 | cut -d: -f1
}

"$FORGE" check "$SAMPLE" | grep -q "no problems" || fail "the sample has problems"

# Stairs without a destination, reported at their entry.
fresh
line="$(($(at floor-1.toml "at = [18, 5]") - 1))"
sed -i '/^to = { x = 18, y = 5 }$/d' "$SRC/floor-1.toml"
problems
expect floor-1.toml "$line" "square (18, 5): the stairs have no destination"

# Stairs into rock; a message past the floor's texts; a teleport without
# its destination.
fresh
sed -i 's/^to = { x = 2, y = 17 }$/to = { x = 1, y = 8 }/' "$SRC/floor-2.toml"
sed -i 's/^text = 2$/text = 3/' "$SRC/floor-1.toml"
teleport="$(($(at floor-1.toml "at = [13, 0]") - 1))"
sed -i '/^to = { floor = 1, x = 2, y = 1 }$/d' "$SRC/floor-1.toml"
problems
expect floor-2.toml "$(($(at floor-2.toml "at = [2, 16]") - 1))" \
  "square (2, 16): leads to square (1, 8) of floor 3, which is rock"
expect floor-1.toml "$(($(at floor-1.toml "text = 3") - 2))" \
  "square (19, 11): the message shows floor text 3, but the floor has only 2"
expect floor-1.toml "$teleport" "square (13, 0): the teleport has no destination"

# Floor 1 without its stairs down: nobody reaches floors 2 and 3, nor the
# quest item.
fresh
sed -i 's/^\(  5 |   | m |  .*\)D     |$/\1      |/' "$SRC/floor-1.toml"
sed -i '/^to = { x = 18, y = 5 }$/d' "$SRC/floor-1.toml"
problems
expect floor-2.toml "$(at floor-2.toml "map = '''")" "nobody reaches floor 2 from the arrival square of floor 1"
expect floor-3.toml "$(at floor-3.toml "map = '''")" "nobody reaches floor 3"
expect scenario.toml "$(at scenario.toml "quest_item = ")" "nobody can get the quest item"

# Floor 3 without its stairs up, its elevator, and its teleport home: no
# way back.
fresh
sed -i 's/^\( 17     |     \)U /\1  /; s/^\(  5     |   |           | \)E |/\1  |/' "$SRC/floor-3.toml"
sed -i '/^to = { x = 2, y = 16 }$/d; /^floors = \[2, 3\]$/d' "$SRC/floor-3.toml"
sed -i 's/^to = { floor = 0 }$/to = { floor = 3, x = 5, y = 3 }/' "$SRC/floor-3.toml"
problems
grep -q "floor-3.toml:[0-9]*: square ([0-9]*, [0-9]*) of floor 3: from here no way leads back to town" \
  "$WORK/out" || fail "no way back not reported: $(cat "$WORK/out")"

# The quest item unidentifiable and left by nobody; a guardian of a
# monster that does not exist.
fresh
sed -i '/^name = "水門の大鍵"/,/^price = 100/s/^price = 100/price = 0/' "$SRC/scenario.toml"
sed -i 's/^monster = "沈鐘の守り手"/p = [99, 17, 0, 0]/; /^items = \["水門の大鍵", "鏡面の盾"\]/d' \
  "$SRC/floor-3.toml"
problems
quest="$(at scenario.toml "quest_item = ")"
expect scenario.toml "$quest" "the quest item cannot be identified"
expect scenario.toml "$quest" "nobody can get the quest item"
expect floor-3.toml "$(($(at floor-3.toml "at = [14, 9]") - 1))" \
  "square (14, 9): the guardian is monster 99, which is not defined"
# build warns, and builds.
"$FORGE" build "$SRC" "$WORK/game" >/dev/null 2>"$WORK/err" || fail "build refused findings"
grep -qF "$SRC/scenario.toml:$quest: warning: nobody can get the quest item" "$WORK/err" ||
  fail "build did not warn: $(cat "$WORK/err")"

# Message files longer and wider than the window; encounter columns high
# to low; deepest_floor beyond the floor files; a mistyped key.
fresh
for i in $(seq 1 20); do echo "行 $i" >>"$SRC/messages/1.txt"; done
lines="$(wc -l <"$SAMPLE/messages/1.txt")"
printf 'あ%.0s' $(seq 1 40) >>"$SRC/messages/2.txt"
sed -i 's/^column1 = \["沼ねずみ", "苔むし"\]/column1 = ["苔むし", "沼ねずみ"]/' "$SRC/scenario.toml"
sed -i 's/^deepest_floor = 3/deepest_floor = 4/; s/^encounter_chance = /encounter_chanse = /' \
  "$SRC/scenario.toml"
problems
expect messages/1.txt 21 "the message window shows 20 lines"
expect messages/2.txt "$(wc -l <"$SRC/messages/2.txt" | awk '{ print $1 + 1 }')" \
  "the line is 80 bytes in Shift-JIS; the message window shows 71"
expect scenario.toml "$(at scenario.toml 'column1 = ["苔むし", "沼ねずみ"]')" \
  "encounter 1: column1 goes from 2 down to 1; give the lowest monster first"
expect scenario.toml "$(at scenario.toml "deepest_floor = 4")" \
  "deepest_floor is 4, but the deepest floor file is floor-3.toml"
expect scenario.toml "$(at scenario.toml "encounter_chanse")" \
  'unknown key "encounter_chanse" (did you mean "encounter_chance"?)'
# build refuses the columns (the game could draw monster -1), with nothing written.
"$FORGE" build "$SRC" "$WORK/refused" >/dev/null 2>&1 && fail "build took columns high to low"
[ ! -e "$WORK/refused" ] || fail "a refused build wrote files"
[ "$lines" -le 20 ] || fail "the sample's message 1 is too long already"

# Drawings: a door beside the middle of its boundary, at its column; one
# missing line is one problem naming it; a full-width symbol whole.
fresh
door="$(grep -n -- '-D-+---+---+---+   +' "$SRC/floor-1.toml" | head -1 | cut -d: -f1)"
sed -i "${door}s/-D-/--D/" "$SRC/floor-1.toml"
sed -i 's/^\( 17     |     \)U /\1Ｕ /' "$SRC/floor-3.toml"
problems
expect floor-1.toml "$door:44" "'D' is not in the middle of its boundary segment"
grep -qF "floor-3.toml:$(at floor-3.toml " 17     |"):15: 'Ｕ' is not a drawing symbol" "$WORK/out" ||
  fail "full-width symbol: $(cat "$WORK/out")"
fresh
row="$(at floor-2.toml " 12 |")"
sed -i "${row}d" "$SRC/floor-2.toml"
problems
[ "$(grep -c "floor-2.toml" "$WORK/out")" = 1 ] || fail "a missing line gave more than one problem: $(cat "$WORK/out")"
expect floor-2.toml "$row" "the map must have 41 drawing lines (boundary lines and rows 19 to 0), not 40: the line of row 12 is missing before this line"

# Names and commands: the nearest one is offered.
fresh
sed -i 's/^monster = "霧の亡者"/monster = "霧の亡霊"/' "$SRC/floor-2.toml"
problems
grep -qF 'no monster is named "霧の亡霊" (did you mean "霧の亡者"?)' "$WORK/out" ||
  fail "no suggestion for a name: $(cat "$WORK/out")"
set +e
"$FORGE" chek "$SRC" 2>"$WORK/err"
STATUS=$?
set -e
[ "$STATUS" = 2 ] || fail "chek exited $STATUS"
grep -qF 'unknown command "chek" (did you mean "check"?)' "$WORK/err" || fail "chek: $(cat "$WORK/err")"

# Two scenarios built into one folder: a warning.
"$FORGE" build "$SAMPLE" "$WORK/shared" >/dev/null 2>&1
"$FORGE" new "$WORK/other" >/dev/null
"$FORGE" build "$WORK/other" "$WORK/shared" >/dev/null 2>"$WORK/err" || fail "build into a shared folder"
grep -q "warning: .*shared also holds scenario 1" "$WORK/err" || fail "no warning: $(cat "$WORK/err")"
