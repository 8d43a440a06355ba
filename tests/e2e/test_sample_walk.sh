# The bundled scenario walked as a new player would: form a party, enter,
# walk floor 1 to the stairs down, take them, come back up from floor 2,
# look at the map, camp and suspend; start again, resume with key 8 and
# walk home up the stairs. The roster is whole and the party in town.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
cp -r "$TESTS/../scenarios/sample" "$WORK/src"
cp "$TESTS/data/sample-party/roster.toml" "$WORK/src/"
# The walk is about the way: no monsters come out of the dark meanwhile.
sed -i 's/^encounter_chance = .*/encounter_chance = 0/' "$WORK/src/scenario.toml"
"$FORGE" build "$WORK/src" "$WORK/game" --new-roster >/dev/null || fail "forge build"

walk() {
  local name="$1" keys="$2"
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed 7 --keys "$keys" \
    --trace "$WORK/$name.trace" --dump-screen "$WORK/$name.txt"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "$name: exit status $STATUS"
}

# The party room: the three join; out of it, into the dungeon at the gate.
PARTY="1{Enter}121{Enter}21{Enter}21{Enter}0"
# From the stairs up at (1, 1): east, through the door, along y = 1, north
# along x = 9, east, through the door of the stairs room, to (18, 5).
DOWN="0n688k888884888868888k8888y"
# On floor 2, off the stairs and back onto them, up.
UP="2828y"
walk first "${PARTY}7${DOWN}${UP}V z6y"
grep -q "下り階段があります" "$WORK/first.trace" || fail "no stairs down"
grep -q "地下 1 階" "$WORK/first.trace" || fail "no map"
grep -q "登り階段があります" "$WORK/first.trace" || fail "no stairs up on floor 2"
"$FORGE" roster "$WORK/game" 1 >"$WORK/suspended.txt"
grep -q "party: 3 member(s), on floor 1 at (18, 5) facing east" "$WORK/suspended.txt" ||
  fail "the party was not suspended on the stairs: $(head -3 "$WORK/suspended.txt")"

# Resumed with key 8: the stairs ask at once (no), then the way back west
# and up the stairs at (1, 1); the town's key 0 saves.
HOME="n28888k888848888688888k88y0"
walk second "1{Enter}80${HOME}"
grep -q "８　迷宮内でＳＡＶＥしたところから再開" "$WORK/second.trace" || fail "no key 8"
"$FORGE" roster "$WORK/game" 1 >"$WORK/home.txt"
grep -q "party: 3 member(s), in town" "$WORK/home.txt" || fail "the party is not in town: $(head -3 "$WORK/home.txt")"
[ "$(grep -c "^slot " "$WORK/home.txt")" = 3 ] || fail "the roster lost a character"
[ "$(grep -c "^  in town" "$WORK/home.txt")" = 3 ] || fail "a character is still in the dungeon"
grep -q "sound" "$WORK/home.txt" || fail "the roster does not pass its checks"
