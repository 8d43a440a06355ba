# Shared by the spell tests: the bundled scenario with the roster of
# tests/data/spells (a priest and a mage who know every spell, a wounded,
# a dead and a poisoned member), built afresh for every session.
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
SOURCE="$WORK/source"
mkdir -p "$SOURCE"
cp "$TESTS/../scenarios/sample/"*.toml "$SOURCE/"
cp "$TESTS/data/spells/roster.toml" "$SOURCE/"

# spell_session SEED KEYS [GOLDEN-NAME [PNG]]: a session from the title
# screen; the screen at the last wait is compared with its golden copy.
spell_session() {
  local seed="$1" keys="$2" name="${3:-screen.txt}" png="${4:-$WORK/screen.png}"
  rm -rf "$WORK/game"
  "$FORGE" build "$SOURCE" "$WORK/game" --new-roster >/dev/null || fail "forge build"
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed "$seed" --keys "$keys" \
    --dump-screen "$WORK/$name" --dump-png "$png"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "$name: exit status $STATUS"
  [ -z "${3:-}" ] || check_golden "$WORK/$name" "$name"
}
