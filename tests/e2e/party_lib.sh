# Shared by the party tests: a fresh copy of the "party" scenario (or of
# tests/data/$SCENARIO_DATA when that is set) for every session, played
# with a seed and a key script; the screen at the last wait is compared
# with its golden copy.
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }

# session SEED KEYS [GOLDEN-NAME]: a session from the title screen; without
# a name the screen is not compared.
session() {
  local seed="$1" keys="$2" name="${3:-screen.txt}"
  rm -rf "$WORK/game"
  "$FORGE" build "$TESTS/data/${SCENARIO_DATA:-party}" "$WORK/game" --new-roster >/dev/null || fail "forge build"
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed "$seed" --keys "$keys" \
    --dump-screen "$WORK/$name"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "$name: exit status $STATUS"
  [ -z "${3:-}" ] || check_golden "$WORK/$name" "$name"
}
