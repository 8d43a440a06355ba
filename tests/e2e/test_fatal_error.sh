# An error other than a missing file while the scenario is opened (here the
# scenario "file" is a directory) ends in the closing message with the error
# code, and a headless session then stops with status 1. Standard error
# tells in one line what happened and where.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
mkdir -p "$WORK/dir/Q-S.DAT"
run_headless "Q{Enter}" --dump-screen "$WORK/screen.txt" 2>"$WORK/stderr"
[ "$STATUS" = 1 ] || fail "exit status $STATUS, expected 1"
sed -n 13p "$WORK/screen.txt" | grep -q "^ \{28\}ウィンドウを閉じてください$" ||
  fail "closing message not at column 28, row 12"
sed -n 16p "$WORK/screen.txt" | grep -Eq "^ {30} 75  [0-9]+$" ||
  fail "error code and line not at column 30, row 15"
line="$(sed -n 16p "$WORK/screen.txt" | awk '{print $2}')"
grep -Eq "^kestrun: run-time error 75: access denied, in [A-Za-z]+ \([a-z/_]+\.cpp line $line, module Kestmain\), opening Q-S\.DAT$" \
  "$WORK/stderr" || fail "no error line on standard error: $(cat "$WORK/stderr")"

# A floor file cut short: the reader runs past its end, and the line names
# the file and the item it wanted.
[ -x "$FORGE" ] || exit 0
"$FORGE" build "$TESTS/data/forge-basic" "$WORK/basic" >/dev/null
head -n 300 "$WORK/basic/T-2F.DAT" >"$WORK/cut" && mv "$WORK/cut" "$WORK/basic/T-2F.DAT"
set +e
"$KESTRUN" --frontend headless --dir "$WORK/basic" --seed 1 --keys "T{Enter}8" \
  --dump-screen "$WORK/floor.txt" 2>"$WORK/stderr"
STATUS=$?
set -e
[ "$STATUS" = 1 ] || fail "a cut floor file ended with status $STATUS"
grep -q "ウィンドウを閉じてください" "$WORK/floor.txt" || fail "no closing message for the floor"
grep -Eq "^kestrun: run-time error 54: read past the end of the file .*, at item 301 of T-2F\.DAT$" \
  "$WORK/stderr" || fail "the floor's error line: $(cat "$WORK/stderr")"
