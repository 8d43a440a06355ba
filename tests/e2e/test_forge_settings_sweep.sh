# Every setting with a documented range, at both ends of it: the bundled
# scenario builds and the game runs a session through the party room, a
# character sheet, the shop, the castle, the settings view and a walk with
# a battle without stopping on a run-time error. One past each end, check
# and build refuse the value at its line.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
SAMPLE="$TESTS/../scenarios/sample"

# The ranges docs/scenario-format.md gives: key, low, high.
RANGES="party_size 1 8
front_rank 1 8
item_slots 1 10
holy_spell_levels 0 9
magic_spell_levels 0 9
deepest_floor 1 15"

# Into the town, three into the party, a sheet, the shop's list, the lord,
# the settings view, into the dungeon and down the way to the stairs; "1"
# and "y" carry the battles on the way (fight, confirm, open, any key).
# A party of one needs no choosing of members: its own keys.
TOWN="1{Enter}121{Enter}21{Enter}21{Enter}12{Enter}00{Enter}0211{Enter}005 09  7"
TOWN_OF_ONE="1{Enter}121{Enter}10021{Enter}05 n9  7"
WALK="$(echo "688k888884888868888k8888" | sed 's/8/81111y1111y/g')"

# source KEY VALUE: the sample with the setting changed (front_rank kept
# within the party).
source_with() {
  rm -rf "$WORK/src"
  cp -r "$SAMPLE" "$WORK/src"
  cp "$TESTS/data/sample-party/roster.toml" "$WORK/src/"
  local s="$WORK/src/scenario.toml"
  grep -q "^$1 = " "$s" || fail "the sample has no $1"
  sed -i "s/^$1 = .*/$1 = $2/" "$s"
  case "$1" in
    party_size) sed -i "s/^front_rank = .*/front_rank = 1/" "$s" ;;
    front_rank) sed -i "s/^party_size = .*/party_size = 8/" "$s" ;;
  esac
}

while read -r key low high; do
  for value in "$low" "$high"; do
    source_with "$key" "$value"
    rm -rf "$WORK/game"
    "$FORGE" build "$WORK/src" "$WORK/game" >/dev/null 2>"$WORK/warnings" ||
      fail "$key = $value does not build: $(cat "$WORK/warnings")"
    set +e
    town="$TOWN"
    [ "$key $value" = "party_size 1" ] && town="$TOWN_OF_ONE"
    # Every slot filled with a dagger (10 gold each): the list closes when
    # the last slot is taken.
    [ "$key" = item_slots ] && town="${TOWN/0211\{Enter\}00/0211$(printf '2{Enter}%.0s' $(seq 1 "$value"))00}"
    "$KESTRUN" --frontend headless --dir "$WORK/game" --seed 1 --keys "${town}0n${WALK}" \
      --trace "$WORK/trace.txt" 2>"$WORK/stderr"
    STATUS=$?
    set -e
    [ "$STATUS" = 0 ] || fail "$key = $value: the game stopped with status $STATUS"
    grep -q "ウィンドウを閉じてください" "$WORK/trace.txt" && fail "$key = $value: a run-time error"
    grep -q "Character  No." "$WORK/trace.txt" || fail "$key = $value: no character sheet"
    grep -q "はどれを買いますか" "$WORK/trace.txt" || fail "$key = $value: no shop list"
    if [ "$key" = item_slots ]; then
      "$FORGE" roster "$WORK/game" 1 >"$WORK/roster.txt"
      [ "$(grep -o "研ぎ小刀" "$WORK/roster.txt" | wc -l)" = "$value" ] ||
        fail "item_slots = $value: the slots were not all filled: $(cat "$WORK/roster.txt")"
    fi
    grep -q "Ｄｕｎｇｅｏｎ に入っていきます" "$WORK/trace.txt" ||
      fail "$key = $value: the session did not reach the dungeon"
  done
  for value in $((low - 1)) $((high + 1)); do
    source_with "$key" "$value"
    line="$(grep -n "^$key = " "$WORK/src/scenario.toml" | cut -d: -f1)"
    set +e
    "$FORGE" check "$WORK/src" >"$WORK/out" 2>&1
    STATUS=$?
    set -e
    [ "$STATUS" = 1 ] || fail "check passed $key = $value"
    grep -q "scenario.toml:$line: $key must be between $low and $high, not $value" "$WORK/out" ||
      fail "$key = $value: $(cat "$WORK/out")"
    "$FORGE" build "$WORK/src" "$WORK/refused" >/dev/null 2>&1 && fail "build took $key = $value"
    [ ! -e "$WORK/refused" ] || fail "a refused build wrote files"
  done
done <<<"$RANGES"
