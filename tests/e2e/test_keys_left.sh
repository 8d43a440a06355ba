# A headless session whose game ends before its key script is used up says
# on standard error how many scripted keys were left; a script used up, or
# one the game took to its last key, says nothing.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
"$FORGE" build "$TESTS/data/town" "$WORK/dir" --new-roster >/dev/null || fail "forge build"

# session KEYS: a headless run with standard error in $WORK/err.
session() {
  run_headless "$1" 2>"$WORK/err"
  [ "$STATUS" = 0 ] || fail "keys $1: status $STATUS"
}

# The town's 0 saves and ends: the keys after it are never typed.
session "2{Enter}0abc{Enter}"
[ "$(cat "$WORK/err")" = "kestrun: the game ended with 4 scripted keys left" ] ||
  fail "four keys left: $(cat "$WORK/err")"
session "2{Enter}0{Esc}"
[ "$(cat "$WORK/err")" = "kestrun: the game ended with 1 scripted key left" ] ||
  fail "one key left: $(cat "$WORK/err")"

# Ending on the very last key, or running out at the town menu, leaves none.
session "2{Enter}0"
[ ! -s "$WORK/err" ] || fail "the last key was the end: $(cat "$WORK/err")"
session "2{Enter}"
[ ! -s "$WORK/err" ] || fail "a script used up: $(cat "$WORK/err")"
