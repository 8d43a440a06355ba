# kestrun-forge new: the scenario it writes checks clean, builds, and the
# game plays it into the dungeon; it never writes over a folder in use.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }

"$FORGE" new "$WORK/quest" --letter Q >/dev/null || fail "new"
for file in scenario.toml floor-1.toml roster.toml messages/1.txt; do
  [ -f "$WORK/quest/$file" ] || fail "new wrote no $file"
done
grep -q '^letter = "Q"' "$WORK/quest/scenario.toml" || fail "the letter was not used"
"$FORGE" check "$WORK/quest" >"$WORK/out" || fail "the new scenario has problems: $(cat "$WORK/out")"
"$FORGE" build "$WORK/quest" "$WORK/game" >/dev/null 2>"$WORK/err" || fail "build: $(cat "$WORK/err")"
[ ! -s "$WORK/err" ] || fail "build warned: $(cat "$WORK/err")"

# The title, letter Q, the dungeon from the town menu, out of the camp,
# not up the stairs; then east through the door to the guardian.
set +e
"$KESTRUN" --frontend headless --dir "$WORK/game" --seed 1 --keys "Q{Enter}70n86888k84868" \
  --trace "$WORK/trace.txt" --dump-screen "$WORK/screen.txt"
STATUS=$?
set -e
[ "$STATUS" = 0 ] || fail "the game exited $STATUS"
grep -q "はじめの迷宮" "$WORK/trace.txt" || fail "no title of the new scenario"
grep -q "Ｄｕｎｇｅｏｎ に入っていきます" "$WORK/trace.txt" || fail "the party did not enter the dungeon"

grep -q "アキ は どうしますか" "$WORK/screen.txt" || fail "the battle did not ask for a command"
grep -q "獣" "$WORK/screen.txt" || fail "the guardian is not the monster named"

# An existing folder with files is left alone; a bad letter is refused.
set +e
"$FORGE" new "$WORK/quest" 2>"$WORK/err"
STATUS=$?
set -e
[ "$STATUS" = 1 ] || fail "new over a folder in use exited $STATUS"
grep -q "already exists" "$WORK/err" || fail "no reason given: $(cat "$WORK/err")"
grep -q '^letter = "Q"' "$WORK/quest/scenario.toml" || fail "new wrote over the folder"
"$FORGE" new "$WORK/bad" --letter "##" 2>/dev/null && fail "new took the letter ##"
[ ! -e "$WORK/bad" ] || fail "a refused new wrote files"
