# The title screen with the scenario prompt, as the first wait shows it.
source "$(dirname "$0")/lib.sh"
run_headless "" --dump-screen "$WORK/title.txt"
[ "$STATUS" = 0 ] || fail "exit status $STATUS"
check_golden "$WORK/title.txt" title.txt

# The composite image: a PNG of 640 x 432 pixels.
run_headless "" --dump-png "$WORK/title.png"
[ "$STATUS" = 0 ] || fail "exit status $STATUS with --dump-png"
header="$(od -An -tx1 -j0 -N24 "$WORK/title.png" | tr -d ' \n')"
[ "${header:0:16}" = 89504e470d0a1a0a ] || fail "not a PNG"
[ "${header:32:16}" = "00000280000001b0" ] || fail "PNG is not 640 x 432"
