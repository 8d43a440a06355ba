# A scenario letter without a scenario file, and the empty answer, both give
# the message and return to the title after any key.
source "$(dirname "$0")/lib.sh"
run_headless "Z{Enter} {Enter}x" --trace "$WORK/trace.txt" --dump-screen "$WORK/end.txt"
[ "$STATUS" = 0 ] || fail "exit status $STATUS"
check_golden "$WORK/trace.txt" unknown-scenario.trace

# Typing more than one character uses only the first: "ZZ" looks for Z-S.DAT.
mkdir -p "$WORK/dir"
touch "$WORK/dir/ZZ-S.DAT"
run_headless "ZZ{Enter}" --dump-screen "$WORK/zz.txt"
grep -q "その名のシナリオはありません" "$WORK/zz.txt" || fail "ZZ did not look for Z-S.DAT"
