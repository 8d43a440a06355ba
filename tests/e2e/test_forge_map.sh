# kestrun-forge map: the sample's floor plans as text, SVG and PNG (goldens),
# the same plans from the built files as from the source, one file per floor,
# and the command line's refusals.
source "$(dirname "$0")/lib.sh"
FORGE="$(cd "$(dirname "$KESTRUN")" && pwd)/kestrun-forge"
SAMPLE="$TESTS/../scenarios/sample"

cd "$WORK"
"$FORGE" map "$SAMPLE" --text >sample.txt || fail "map --text failed"
check_golden sample.txt forge-map-sample.txt
"$FORGE" map "$SAMPLE" -o plan.svg >/dev/null || fail "map -o plan.svg failed"
"$FORGE" map "$SAMPLE" -o plan.png >/dev/null || fail "map -o plan.png failed"
for floor in 1 2 3; do
  check_golden "plan-$floor.svg" "forge-map-sample-$floor.svg"
  check_golden "plan-$floor.png" "forge-map-sample-$floor.png"
done
[ ! -e plan-4.png ] || fail "a plan for a floor the sample does not have"

# One floor: exactly the file asked for, and the same plan as among all.
"$FORGE" map "$SAMPLE" --floor 2 -o two.svg | grep -q "wrote two.svg (floor 2)" ||
  fail "map --floor 2 did not report its file"
cmp two.svg plan-2.svg || fail "the plan of floor 2 alone differs"

# A player without the source maps the built files the same way.
"$FORGE" build "$SAMPLE" built >/dev/null
"$FORGE" map built 1 --text >built.txt || fail "map of built files failed"
diff -u sample.txt built.txt >&2 || fail "the built files' plans differ from the source's"

# The plan shows what the floor holds: floor 1's stairs, the one-way door of
# the bell chamber and the wrap at the open edges.
grep -q "^(18,  5)  D  stairs down to floor 2 at " sample.txt || fail "stairs down not listed"
grep -q "^ 15 │.*⇒" sample.txt || fail "one-way door of row 15 not drawn"
grep -q "┆" sample.txt || fail "open outer edges not drawn"

set +e
"$FORGE" map "$SAMPLE" -o plan.gif 2>err.txt
[ $? = 2 ] || fail "an unknown picture kind was accepted"
"$FORGE" map "$SAMPLE" 2>err.txt
[ $? = 2 ] || fail "map without -o or --text was accepted"
"$FORGE" map "$SAMPLE" --floor 9 --text 2>err.txt
[ $? = 1 ] && grep -q "has no floor 9" err.txt || fail "a missing floor was not refused"
"$FORGE" map "$WORK" 7 --text 2>err.txt
[ $? = 1 ] && grep -q "cannot read 7-S.DAT in $WORK: no such file" err.txt ||
  fail "missing built files not reported"
"$FORGE" map "$WORK/nothing" 7 --text 2>err.txt
[ $? = 1 ] && grep -q "nothing is not a folder" err.txt || fail "a missing folder not reported"
set -e

# A source in progress: a floor whose drawing is broken is left out with the
# problems on standard error, the others are drawn.
cp -r "$SAMPLE" progress
sed -i '0,/^ 12 /s/^ 12 \(.*\)/ 12 \1 extra/' progress/floor-2.toml
"$FORGE" map progress --text >progress.txt 2>err.txt || fail "a source in progress was not drawn"
grep -q "floor-2.toml:[0-9]*:" err.txt || fail "the broken drawing was not reported: $(cat err.txt)"
grep -q "^Floor 1 of" progress.txt && grep -q "^Floor 3 of" progress.txt &&
  ! grep -q "^Floor 2 of" progress.txt || fail "not exactly floors 1 and 3 drawn"
