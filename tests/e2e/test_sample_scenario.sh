# The bundled scenario: it checks clean, survives dump and build byte for byte,
# and loads into the town menu with its facilities.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
SAMPLE="$TESTS/../scenarios/sample"

"$FORGE" check "$SAMPLE" >/dev/null || fail "the sample scenario has problems"
"$FORGE" build "$SAMPLE" "$WORK/dir" --new-roster >/dev/null
"$FORGE" dump "$WORK/dir" 1 "$WORK/dumped" >/dev/null
"$FORGE" build "$WORK/dumped" "$WORK/again" --new-roster >/dev/null
for file in "$WORK"/dir/*; do
  cmp -s "$file" "$WORK/again/$(basename "$file")" || fail "$(basename "$file") differs after dump and build"
done

run_headless "1{Enter}" --dump-screen "$WORK/town.txt"
[ "$STATUS" = 0 ] || fail "status $STATUS"
grep -q "どこへ行きますか" "$WORK/town.txt" || fail "the sample did not reach the town"
grep -q "０　ＳＡＶＥしてプログラムを終了する" "$WORK/town.txt" || fail "the town menu is incomplete"
