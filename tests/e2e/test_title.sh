# The title screen with the scenario prompt, as the first wait shows it.
source "$(dirname "$0")/lib.sh"
run_headless "" --dump-screen "$WORK/title.txt"
[ "$STATUS" = 0 ] || fail "exit status $STATUS"
check_golden "$WORK/title.txt" title.txt
