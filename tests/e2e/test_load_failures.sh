# Every way loading can fail goes back to the title or ends with a report;
# none of them crashes, and a refused roster is never overwritten.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
"$FORGE" build "$TESTS/data/town" "$WORK/clean" --new-roster >/dev/null

fresh() {
  rm -rf "$WORK/dir"
  cp -r "$WORK/clean" "$WORK/dir"
}

# A roster with one changed number is refused, shown, and left alone.
fresh
awk 'NR == 30 { $0 = " " ($1 + 1) " " } { printf "%s\r\n", $0 }' "$WORK/clean/2-C.DAT" |
  tr -s '\r' >"$WORK/dir/2-C.DAT"
cp "$WORK/dir/2-C.DAT" "$WORK/changed"
run_headless "2{Enter}" --trace "$WORK/refused.trace"
[ "$STATUS" = 0 ] || fail "refused roster status $STATUS"
check_golden "$WORK/refused.trace" roster-refused.trace
# The refusal is shown only for the message pause; the trace keeps that frame.
awk '/^=== [0-9]+ pause$/ { inpause = 1; next } /^=== / { inpause = 0 } inpause' \
  "$WORK/refused.trace" | grep -q "ＤＡＴＡが違います" || fail "the refusal is in no pause frame"
cmp -s "$WORK/dir/2-C.DAT" "$WORK/changed" || fail "the refused roster was written"

# A missing roster is reported like a missing scenario.
fresh
rm "$WORK/dir/2-C.DAT"
run_headless "2{Enter}" --dump-screen "$WORK/no-roster.txt"
grep -q "その名のシナリオはありません" "$WORK/no-roster.txt" || fail "missing roster not reported"

# A scenario file cut short, or with a word where a number belongs, ends with
# the closing message and status 1.
for damage in cut word; do
  fresh
  if [ "$damage" = cut ]; then
    head -c 5000 "$WORK/clean/2-S.DAT" >"$WORK/dir/2-S.DAT"
  else
    sed -i '900s/.*/ lots /' "$WORK/dir/2-S.DAT"
  fi
  run_headless "2{Enter}" --dump-screen "$WORK/$damage.txt"
  [ "$STATUS" = 1 ] || fail "$damage scenario: status $STATUS"
  grep -q "ウィンドウを閉じてください" "$WORK/$damage.txt" || fail "$damage scenario: no report"
done
