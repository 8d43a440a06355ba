# Scenarios copied from a system whose file names ignore letter case arrive
# as "1-s.dat", "1-1f.dat", "1c.dat", "1g.bmp": the game finds every file
# of the bundled scenario in lower case, plays as with the exact names, and
# saves the roster under the name it found, also when the folder is
# read-only and the roster lives in the user's data folder.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
trap 'chmod -R u+w "$WORK"; rm -rf "$WORK"' EXIT
cp -r "$TESTS/../scenarios/sample" "$WORK/src"
cp "$TESTS/data/sample-party/roster.toml" "$WORK/src/"
sed -i 's/^encounter_chance = .*/encounter_chance = 0/' "$WORK/src/scenario.toml"
"$FORGE" build "$WORK/src" "$WORK/exact" --new-roster >/dev/null || fail "forge build"
# lower_copy FROM TO: every file of FROM under its lower-case name.
lower_copy() {
  mkdir "$2"
  for file in "$1"/*; do
    cp "$file" "$2/$(basename "$file" | tr 'A-Z' 'a-z')"
  done
}
lower_copy "$WORK/exact" "$WORK/lower"
[ -f "$WORK/lower/1-s.dat" ] && [ -f "$WORK/lower/1g.bmp" ] || fail "no lower-case copy"

# The party forms, enters floor 1, reads the notice of message file 1 at
# (2, 2), walks to the bell picture at (1, 8) and saves in the camp. Every
# frame, text and picture, is the same as with the exact names.
PARTY="1{Enter}121{Enter}21{Enter}21{Enter}0"
WALK="70n6848 4868k8 888z6y"
play() {
  local dir="$1" name="$2"
  shift 2
  set +e
  "$@" "$KESTRUN" --frontend headless --dir "$dir" --seed 7 --keys "${PARTY}${WALK}" \
    --trace "$WORK/$name.trace" --trace-png "$WORK/$name-frames"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "$name: exit status $STATUS"
}
play "$WORK/exact" exact
play "$WORK/lower" lower
grep -q "水路番の告示" "$WORK/lower.trace" || fail "the message file was not read"
cmp -s "$WORK/exact.trace" "$WORK/lower.trace" || fail "the lower-case scenario plays differently"
diff -r "$WORK/exact-frames" "$WORK/lower-frames" >/dev/null || fail "a picture differs"

# The roster was written back under its own name, and no other came to be.
[ ! -e "$WORK/lower/1-C.DAT" ] || fail "a second roster 1-C.DAT was written"
[ "$(ls "$WORK/lower" | wc -l)" = "$(ls "$WORK/exact" | wc -l)" ] || fail "files were added: $(ls "$WORK/lower")"
"$FORGE" roster "$WORK/lower" 1 | grep -q "on floor 1 at (1, 8) facing north" ||
  fail "the party was not saved in 1-c.dat"

# A read-only folder: the roster is copied to the data folder under its own
# name, found there and saved there; the folder keeps its old roster.
"$FORGE" build "$WORK/src" "$WORK/fresh" --new-roster >/dev/null || fail "forge build"
lower_copy "$WORK/fresh" "$WORK/ro"
cp "$WORK/ro/1-c.dat" "$WORK/ro-roster"
chmod -R a-w "$WORK/ro"
play "$WORK/ro" readonly env HOME="$WORK/home" XDG_DATA_HOME="$WORK/data"
SAVED="$WORK/data/kestrun/ro"
[ -f "$SAVED/1-c.dat" ] || fail "no roster in the data folder: $(ls "$SAVED" 2>&1)"
[ ! -e "$SAVED/1-C.DAT" ] || fail "the data folder holds a second roster"
cmp -s "$WORK/ro/1-c.dat" "$WORK/ro-roster" || fail "the read-only roster was changed"
cp -r "$WORK/ro" "$WORK/check" && chmod -R u+w "$WORK/check"
cp "$SAVED/1-c.dat" "$WORK/check/1-c.dat"
"$FORGE" roster "$WORK/check" 1 | grep -q "on floor 1 at (1, 8) facing north" ||
  fail "the party was not saved in the data folder"
