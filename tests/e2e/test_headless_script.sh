# What the headless front end does when the key script is used up, at each
# kind of wait: the session ends at a wait for input (a key, a line, a timed
# key wait) with its dumps written and status 0, and goes on through a pause.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"

# scenario MESSAGE-TIME: the castle scenario, Cid at the inn with too little gold.
scenario() {
  rm -rf "$WORK/src" "$WORK/dir"
  cp -r "$TESTS/data/castle" "$WORK/src"
  sed -i "s/^message_time = .*/message_time = $1/" "$WORK/src/roster.toml"
  "$FORGE" build "$WORK/src" "$WORK/dir" --new-roster >/dev/null || fail "forge build"
}

# play KEYS: a session with a trace and a dump; FRAMES counts the frames and
# LAST is the heading of the last one.
play() {
  run_headless "$1" --trace "$WORK/t.trace" --dump-screen "$WORK/end.txt"
  [ "$STATUS" = 0 ] || fail "keys $1: status $STATUS"
  FRAMES="$(grep -c '^=== ' "$WORK/t.trace")"
  LAST="$(grep '^=== ' "$WORK/t.trace" | tail -n 1 | cut -d' ' -f3)"
}

# The frame headed "=== N", as text.
frame() {
  awk -v n="$1" '$1 == "===" { shown = ($2 == n) ; next } shown' "$WORK/t.trace"
}

INN_TOO_DEAR="C{Enter}323"
scenario 0

# Used up in a line input: the half-typed answer stays on the screen.
play "C"
[ "$LAST" = line ] || fail "a line input ended in a $LAST frame"
sed -n 12p "$WORK/end.txt" | grep -q "シナリオのファイル名は ?  C$" || fail "the typed C is not shown"

# Used up at a key wait: the town menu waits for a key.
play "C{Enter}"
[ "$LAST" = key ] || fail "the town menu ended in a $LAST frame"
grep -q "どこへ行きますか" "$WORK/end.txt" || fail "the town menu is not shown"

# Used up before a pause: the message is shown for its time, and the session
# ends at the next wait for input.
scenario 777
play "$INN_TOO_DEAR"
[ "$LAST" = key ] || fail "the session after the pause ended in a $LAST frame"
grep -q "^=== $((FRAMES - 1)) pause$" "$WORK/t.trace" || fail "no pause before the last wait"
frame $((FRAMES - 1)) | grep -q "Cid の所持金では足りません" || fail "the pause does not show the message"

# Used up at a timed key wait: the blinking "Hit Any Key" waits for a key that
# never comes, so the session ends there.
scenario 10000
play "$INN_TOO_DEAR"
[ "$LAST" = pause ] || fail "the blinking prompt ended in a $LAST frame"
grep -q "Hit Any Key" "$WORK/end.txt" || fail "the blinking prompt is not shown at the end"

# With a key left, the blink takes it; the keyboard check before the blink
# (a read that only drains the keyboard) never takes a scripted key, so the
# prompt was shown first.
play "${INN_TOO_DEAR}x"
[ "$LAST" = key ] || fail "after the blink the session ended in a $LAST frame"
frame $((FRAMES - 1)) | grep -q "Hit Any Key" || fail "the prompt never blinked"
! grep -q "Hit Any Key" "$WORK/end.txt" || fail "the prompt was not cleared after the key"
