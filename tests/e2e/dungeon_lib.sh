# Shared by the dungeon tests: a scenario made of tests/data/dungeon (rules,
# roster, a picture and a message file) and test floors from
# tests/data/dungeon-floors, entered at the gate of floor 1 after the first
# camp and the stairs' question.
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
FLOORS="$TESTS/data/dungeon-floors"
SRC="$WORK/src"
GAME="$WORK/game"
# Into the town, in at the gate, out of the camp, and not up the stairs.
ENTER="D{Enter}70n"

# dungeon FLOOR1 [FLOOR2]: a fresh source with these floors; edit $SRC
# afterwards to vary it, then build with `build`.
dungeon() {
  rm -rf "$SRC"
  cp -r "$TESTS/data/dungeon" "$SRC"
  cp "$FLOORS/$1.toml" "$SRC/floor-1.toml"
  [ -z "${2:-}" ] || cp "$FLOORS/$2.toml" "$SRC/floor-2.toml"
}

build() {
  rm -rf "$GAME"
  "$FORGE" build "$SRC" "$GAME" --new-roster >/dev/null || fail "forge build"
}

# play NAME KEYS [more options]: a session on the built game, its trace in
# $WORK/NAME.trace and its last screen in $WORK/NAME.txt; the roster stays
# for the next session.
play() {
  local name="$1" keys="$2"
  shift 2
  set +e
  "$KESTRUN" --frontend headless --dir "$GAME" --seed "${SEED:-1}" --keys "$keys" \
    --trace "$WORK/$name.trace" --dump-screen "$WORK/$name.txt" "$@"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "$name: exit status $STATUS"
}

# The last screen of a session holds the text.
shows() {
  grep -qF -- "$2" "$WORK/$1.txt" || { head -24 "$WORK/$1.txt" >&2; fail "$1 does not show: $2"; }
}

# The saved roster, as kestrun-forge prints it.
roster() {
  "$FORGE" roster "$GAME" D
}
