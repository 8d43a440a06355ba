# The town of a loaded scenario: the menu with its colours, both settings
# screens, saving with 0, and the saved roster loaded again.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"

"$FORGE" build "$TESTS/data/town" "$WORK/dir" --new-roster >/dev/null
run_headless "2{Enter}9x" --trace "$WORK/town.trace"
[ "$STATUS" = 0 ] || fail "settings session status $STATUS"
check_golden "$WORK/town.trace" town.trace

# Key 0 saves (with a fresh key) and ends; saving what was loaded again gives
# the same roster, with the hit points clamped at the first load kept.
run_headless "2{Enter}0" --dump-screen "$WORK/after-save.txt"
[ "$STATUS" = 0 ] || fail "save session status $STATUS"
[ "$(head -n 24 "$WORK/after-save.txt" | grep -c .)" = 0 ] || fail "the screen was not cleared at the end"
before="$("$FORGE" roster "$WORK/dir" 2)"
echo "$before" | grep -q "HP 21/21" || fail "the clamped hit points were not saved"
run_headless "2{Enter}0"
after="$("$FORGE" roster "$WORK/dir" 2)"
[ "$(echo "$before" | grep -v -i key)" = "$(echo "$after" | grep -v -i key)" ] ||
  fail "the saved roster differs: $(diff <(echo "$before") <(echo "$after"))"
run_headless "2{Enter}" --dump-screen "$WORK/reloaded.txt"
grep -q "ヨナ.*21 / 21" "$WORK/reloaded.txt" || fail "the reloaded party panel is wrong"

# Without characters only 6, 9 and 0 are available (the others are red, 2).
mkdir -p "$WORK/empty"
cp "$TESTS/data/town/scenario.toml" "$TESTS/data/town/floor-1.toml" "$WORK/empty/"
"$FORGE" build "$WORK/empty" "$WORK/dir" --new-roster >/dev/null
run_headless "2{Enter}" --dump-screen "$WORK/empty.txt"
check_golden "$WORK/empty.txt" town-empty.txt

# A party saved in the dungeon: only 8 of the party's options is available.
cp "$TESTS/data/town/roster.toml" "$WORK/empty/roster.toml"
printf '\n[party.position]\n' >/dev/null
sed -i 's/^members = .*/&\nfloor = 1\nx = 0\ny = 0/' "$WORK/empty/roster.toml"
"$FORGE" build "$WORK/empty" "$WORK/dir" --new-roster >/dev/null
run_headless "2{Enter}" --dump-screen "$WORK/saved.txt"
check_golden "$WORK/saved.txt" town-saved-in-dungeon.txt
