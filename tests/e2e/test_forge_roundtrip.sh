# kestrun-forge: build -> dump -> build gives byte-identical files, and the game
# loads what forge builds.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
SOURCE="$TESTS/data/forge-basic"

"$FORGE" build "$SOURCE" "$WORK/first" >/dev/null || fail "build of forge-basic"
for f in T-S.DAT T-1F.DAT T-2F.DAT T-AF.DAT T-C.DAT 1AG.BMP 3M.BMP 5C.DAT; do
  [ -f "$WORK/first/$f" ] || fail "build did not write $f"
done
[ ! -e "$WORK/first/T-10F.DAT" ] || fail "floor 10 must be named in hexadecimal"

"$FORGE" dump "$WORK/first" T "$WORK/dumped" >/dev/null || fail "dump"
for f in scenario.toml floor-1.toml floor-2.toml floor-10.toml roster.toml \
  pictures/26.bmp monsters/3.bmp messages/5.txt; do
  [ -f "$WORK/dumped/$f" ] || fail "dump did not write $f"
done
"$FORGE" check "$WORK/dumped" >/dev/null || fail "the dumped source has problems"
"$FORGE" build "$WORK/dumped" "$WORK/second" >/dev/null || fail "build of the dump"
for f in "$WORK"/first/*; do
  cmp "$f" "$WORK/second/$(basename "$f")" || fail "$(basename "$f") differs after dump and build"
done
[ "$(ls "$WORK/first" | wc -l)" = "$(ls "$WORK/second" | wc -l)" ] || fail "file counts differ"

# Named keys survive the dump where they can.
grep -q '^usable_by = \["戦士", "Paladin"\]' "$WORK/dumped/scenario.toml" || fail "usable_by by name"
grep -q '^to = { floor = 10, x = 5, y = 6 }' "$WORK/dumped/floor-1.toml" || fail "teleport by name"
grep -q '^texts = \[\[65, 66, 0, 67' "$WORK/dumped/floor-10.toml" || fail "raw text bytes"

# The game reads the scenario, the roster and its party.
mkdir -p "$WORK/dir"
cp "$WORK/first"/* "$WORK/dir/"
run_headless "T{Enter}" --dump-screen "$WORK/screen.txt"
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS"
grep -q "１　酒場" "$WORK/screen.txt" || fail "the town menu did not show the facility names"
grep -q "ベラ" "$WORK/screen.txt" || fail "the saved party is not shown"

# The roster printout names the party and its place.
"$FORGE" roster "$WORK/first" T >"$WORK/roster.txt" || fail "roster printout"
grep -q "sound" "$WORK/roster.txt" || fail "the roster does not pass its checks"
grep -q "on floor 2 at (3, 4) facing east" "$WORK/roster.txt" || fail "party position"
grep -q "短剣 (equipped)" "$WORK/roster.txt" || fail "items"
