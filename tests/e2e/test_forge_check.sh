# kestrun-forge check: every problem of a broken source as FILE:LINE: sentence.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
SRC="$WORK/broken"
cp -r "$TESTS/data/forge-basic" "$SRC"

# Break one thing of each kind.
sed -i 's/^title = .*/title = "この題名は六十バイトを超えるとても長い題名なのでシナリオファイルには入りません"/' "$SRC/scenario.toml"
sed -i 's/^ac = -4/ac = 60/' "$SRC/scenario.toml"
sed -i 's/^price = 20$/price = 100000000/' "$SRC/scenario.toml"
sed -i 's/^breaks_into = "短剣"/breaks_into = "Sword of Nothing"/' "$SRC/scenario.toml"
sed -i 's/^name = "Alarm"/name = "Alarm ♥"/' "$SRC/scenario.toml"
sed -i 's/^encounter_chance = 12/encounter_chance = 12.5/' "$SRC/scenario.toml"
sed -i 's/^to = { floor = 10, x = 5, y = 6 }/to = { floor = 9, x = 5, y = 6 }/' "$SRC/floor-1.toml"
sed -i 's/^to = { floor = 2, x = 4, y = 4 }/to = { floor = 2, x = 4, y = 24 }/' "$SRC/floor-1.toml"
sed -i 's/^texts = \["二階"\]/texts = ["この行は二十八バイトよりずっと長い文です"]/' "$SRC/floor-2.toml"
sed -i 's/^name = "ベラ"/name = "ベラベラベラベラ"/' "$SRC/roster.toml"
sed -i 's/^floor = 2$/floor = 3/' "$SRC/roster.toml"
# Floor 2's stairs up become a plain square, and the first floor loses its stairs.
sed -i 's/^  0 | U /  0 |   /' "$SRC/floor-1.toml"
# The east boundary of (19, 12) no longer matches the west boundary of (0, 12).
sed -i 's/^\( 12 |.*\)|$/\1 /' "$SRC/floor-1.toml"

set +e
"$FORGE" check "$SRC" >"$WORK/out" 2>"$WORK/err"
STATUS=$?
set -e
[ "$STATUS" = 1 ] || fail "check exited $STATUS on a broken source"

expect() {
  grep -qF -- "$1" "$WORK/out" || { cat "$WORK/out" >&2; fail "check did not report: $1"; }
}
S="$SRC/scenario.toml"
expect "$S:3: title is 78 bytes in Shift-JIS; at most 60 fit"
expect "$S:12: settings encounter_chance must be a whole number"
expect "ac must be between -50 and 49, not 60"
expect "price must be between 0 and 99999999"
expect "breaks_into: no item is named \"Sword of Nothing\""
expect "trap 3 name holds characters Shift-JIS cannot encode: ♥"
expect "the east boundary of square (19, 12) differs from the west boundary of (0, 12)"
expect "floor text 1 is 40 bytes in Shift-JIS; at most 28 fit"
# Roster problems name the character by its place among the entries (from 1)
# and by its name.
expect "$SRC/roster.toml:86: character 2 \"ベラベラベラベラ\" name is 16 bytes in Shift-JIS; at most 12 fit"
expect "$SRC/roster.toml:5: the party is on floor 3, which has no floor-3.toml"
grep -q "problem(s)" "$WORK/out" || fail "no summary line"

grep -q "no up stairs" "$WORK/out" && fail "up stairs reported for a floor whose drawing failed"

# Once the drawing parses again, its squares are checked.
sed -i 's/^\( 12 |.*\) $/\1|/' "$SRC/floor-1.toml"
set +e
"$FORGE" check "$SRC" >"$WORK/out" 2>&1
set -e
expect "$SRC/floor-1.toml:5: floor 1 has no up stairs (code 7, 'U')"
expect "$SRC/floor-1.toml:62: square (1, 5): the teleport leads to floor 9, which has no floor-9.toml"
expect "square (15, 15): the teleport's y 24 is outside the floor (0 to 19)"

# Every line names a file and a line.
grep -v "problem(s)$" "$WORK/out" | grep -qv "^$SRC/[^:]*:[0-9]*: " && fail "a line without FILE:LINE"

# The untouched source has none.
"$FORGE" check "$TESTS/data/forge-basic" >"$WORK/out" || fail "forge-basic has problems: $(cat "$WORK/out")"
grep -q "no problems" "$WORK/out" || fail "no all-clear message"
