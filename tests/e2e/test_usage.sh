# Bad command lines end with one line on standard error and status 2.
source "$(dirname "$0")/lib.sh"

expect_usage_error() {
  set +e
  "$KESTRUN" "$@" >"$WORK/out" 2>"$WORK/err"
  local status=$?
  set -e
  [ "$status" = 2 ] || fail "status $status for: $*"
  [ "$(wc -l <"$WORK/err")" = 1 ] || fail "expected one line on stderr for: $*"
  [ ! -s "$WORK/out" ] || fail "unexpected output for: $*"
}

expect_usage_error --frontend headless --keys "{Nope}"
expect_usage_error --frontend headless --keys-file "$WORK/missing-keys"
expect_usage_error --frontend headless --dir "$WORK/missing-dir"
expect_usage_error --frontend windows
expect_usage_error --frontend headless --seed banana
expect_usage_error --frontend headless --no-such-option
expect_usage_error --frontend tty --tty-graphics pictures

"$KESTRUN" --help >"$WORK/help" || fail "--help failed"
for option in --dir --frontend --seed --keys --keys-file --dump-screen --dump-png --trace --trace-png \
  --scale --fullscreen --tty-graphics --help --version; do
  grep -q -- "$option" "$WORK/help" || fail "--help does not mention $option"
done
"$KESTRUN" --version | grep -q "^kestrun " || fail "--version"

# A key script from a file is read like --keys.
printf 'Z\n' >"$WORK/keys"
run_headless "" --keys-file "$WORK/keys" --dump-screen "$WORK/screen.txt"
[ "$STATUS" = 0 ] || fail "keys file session status $STATUS"
grep -q "その名のシナリオはありません" "$WORK/screen.txt" || fail "keys file not typed"
