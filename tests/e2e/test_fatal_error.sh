# An error other than a missing file while the scenario is opened (here the
# scenario "file" is a directory) ends in the closing message with the error
# code, and a headless session then stops with status 1.
source "$(dirname "$0")/lib.sh"
mkdir -p "$WORK/dir/Q-S.DAT"
run_headless "Q{Enter}" --dump-screen "$WORK/screen.txt"
[ "$STATUS" = 1 ] || fail "exit status $STATUS, expected 1"
sed -n 13p "$WORK/screen.txt" | grep -q "^ \{28\}ウィンドウを閉じてください$" ||
  fail "closing message not at column 28, row 12"
sed -n 16p "$WORK/screen.txt" | grep -Eq "^ {30} 75  [0-9]+$" ||
  fail "error code and line not at column 30, row 15"
