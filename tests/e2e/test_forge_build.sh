# kestrun-forge build: nothing half-written on failure, the roster kept unless
# --new-roster, and the command line's exit statuses.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
SOURCE="$TESTS/data/forge-basic"

# A source with a problem writes nothing: no output folder, no temporary folder.
cp -r "$SOURCE" "$WORK/bad"
sed -i 's/^party_size = 6/party_size = "six"/' "$WORK/bad/scenario.toml"
mkdir "$WORK/out"
set +e
"$FORGE" build "$WORK/bad" "$WORK/out/game" >"$WORK/stdout" 2>"$WORK/stderr"
STATUS=$?
set -e
[ "$STATUS" = 1 ] || fail "build of a bad source exited $STATUS"
grep -q "scenario.toml:[0-9]*: settings party_size must be a number" "$WORK/stderr" ||
  fail "no problem reported: $(cat "$WORK/stderr")"
[ -z "$(ls -A "$WORK/out")" ] || fail "a bad build left files: $(ls -A "$WORK/out")"

# An existing output folder keeps its files when a build fails.
"$FORGE" build "$SOURCE" "$WORK/out/game" >/dev/null || fail "first build"
cp -r "$WORK/out/game" "$WORK/before"
set +e
"$FORGE" build "$WORK/bad" "$WORK/out/game" >/dev/null 2>&1
set -e
diff -r "$WORK/before" "$WORK/out/game" >/dev/null || fail "a failed build changed the output folder"
[ "$(ls -A "$WORK/out")" = "game" ] || fail "a temporary folder was left: $(ls -A "$WORK/out")"

# The roster is written once; a later build keeps the saved one.
printf 'changed' >>"$WORK/out/game/T-C.DAT"
cp "$WORK/out/game/T-C.DAT" "$WORK/saved-roster"
"$FORGE" build "$SOURCE" "$WORK/out/game" | grep -q "the roster kept" || fail "roster not kept"
cmp "$WORK/saved-roster" "$WORK/out/game/T-C.DAT" || fail "a build replaced the saved roster"
"$FORGE" build "$SOURCE" "$WORK/out/game" --new-roster | grep -q "a new roster" ||
  fail "--new-roster did not write a roster"
cmp -s "$WORK/saved-roster" "$WORK/out/game/T-C.DAT" && fail "--new-roster kept the old roster"
cmp "$WORK/before/T-C.DAT" "$WORK/out/game/T-C.DAT" || fail "the new roster is not the source's"

# Without roster.toml a new roster is empty: no characters, the shop as the
# scenario stocks it, message time 777.
cp -r "$SOURCE" "$WORK/plain"
rm "$WORK/plain/roster.toml"
"$FORGE" build "$WORK/plain" "$WORK/plain-out" >/dev/null || fail "build without a roster source"
"$FORGE" roster "$WORK/plain-out" T >"$WORK/roster.txt" || fail "empty roster fails its checks"
grep -q "message time: 777" "$WORK/roster.txt" || fail "message time of a new roster"
grep -q "party: 0 member(s), in town" "$WORK/roster.txt" || fail "party of a new roster"
grep -q "^slot" "$WORK/roster.txt" && fail "a new roster has characters"

# A roster changed behind the game's back is marked.
# (line 21 is the first number of the character records)
awk 'NR == 21 { $0 = " " ($1 + 1) " \r" } { print }' "$WORK/plain-out/T-C.DAT" >"$WORK/tampered"
mv "$WORK/tampered" "$WORK/plain-out/T-C.DAT"
set +e
"$FORGE" roster "$WORK/plain-out" T >"$WORK/roster.txt" 2>&1
STATUS=$?
set -e
[ "$STATUS" = 1 ] || fail "a broken roster printed with status $STATUS"
grep -q "REFUSED" "$WORK/roster.txt" || fail "a broken roster is not marked"

# Usage errors: one line and status 2.
for args in "" "build" "build $SOURCE" "frobnicate" "check a b" "dump $WORK/out/game TT $WORK/x"; do
  set +e
  # shellcheck disable=SC2086
  "$FORGE" $args >/dev/null 2>"$WORK/err"
  STATUS=$?
  set -e
  [ "$STATUS" = 2 ] || fail "status $STATUS for: kestrun-forge $args"
done
"$FORGE" --help | grep -q "build" || fail "--help"
"$FORGE" --version | grep -q "^kestrun-forge " || fail "--version"
