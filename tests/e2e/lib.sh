# Shared by the end-to-end tests: $1 is the kestrun binary, $2 the tests directory.
# A golden file is only rewritten when KESTRUN_UPDATE_GOLDEN=1 (see update-golden.sh).
set -euo pipefail

KESTRUN="$1"
TESTS="$2"
GOLDEN="$TESTS/e2e/golden"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Compares a produced file with its golden copy.
check_golden() {
  local produced="$1" name="$2"
  if [ "${KESTRUN_UPDATE_GOLDEN:-0}" = 1 ]; then
    cp "$produced" "$GOLDEN/$name"
    echo "updated $GOLDEN/$name"
    return 0
  fi
  [ -f "$GOLDEN/$name" ] || fail "no golden file $name (run tests/e2e/update-golden.sh)"
  if ! diff -u "$GOLDEN/$name" "$produced" >&2; then
    fail "$name differs from its golden copy"
  fi
}

# Runs a headless session in $WORK/dir with a key script; extra arguments are
# passed on. Sets STATUS to the exit status.
run_headless() {
  local keys="$1"
  shift
  mkdir -p "$WORK/dir"
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/dir" --seed 1 --keys "$keys" "$@"
  STATUS=$?
  set -e
}

# seen TEXT...: each text appears in $WORK/trace.txt, in this order.
seen() {
  local from=1 text line
  for text in "$@"; do
    line="$(awk -v from="$from" -v text="$text" 'NR >= from && index($0, text) { print NR; exit }' \
      "$WORK/trace.txt")"
    [ -n "$line" ] || fail "no \"$text\" after line $from of the trace"
    from=$((line + 1))
  done
}

# problems: kestrun-forge check ($FORGE) must refuse the source folder $SRC;
# its report is in $WORK/out.
problems() {
  set +e
  "$FORGE" check "$SRC" >"$WORK/out" 2>&1
  STATUS=$?
  set -e
  [ "$STATUS" = 1 ] || fail "check passed a broken source: $(cat "$WORK/out")"
}
