# Shared by the inn and castle tests: a fresh copy of the "castle" scenario
# for every session, optionally edited, played with a seed and a key script.
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }

# session KEYS NAME [SED-SCRIPT]: a session from the title screen, the
# scenario and roster sources edited by the sed script first; the screen at
# the last wait is compared with golden NAME (not compared when NAME is -).
# SEED (default 1) seeds the generator.
session() {
  local keys="$1" name="$2" edit="${3:-}"
  rm -rf "$WORK/src" "$WORK/game"
  cp -r "$TESTS/data/castle" "$WORK/src"
  [ -z "$edit" ] || sed -i -e "$edit" "$WORK/src/scenario.toml" "$WORK/src/roster.toml"
  "$FORGE" build "$WORK/src" "$WORK/game" --new-roster >/dev/null || fail "forge build"
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed "${SEED:-1}" --keys "$keys" \
    --dump-screen "$WORK/screen.txt"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "$name: exit status $STATUS"
  [ "$name" = - ] || check_golden "$WORK/screen.txt" "$name"
}

# The saved roster of the last session, compared with golden NAME.
check_roster() {
  "$FORGE" roster "$WORK/game" C >"$WORK/roster.txt" || fail "roster C"
  check_golden "$WORK/roster.txt" "$1"
}
