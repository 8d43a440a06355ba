# The party's commands and the monsters' blows in a battle on floor 1 of the
# bundled scenario, with the spell party (Ena, Orin, Bram, dead Tess and
# Lio; messages wait for a key). With seed 2 two monsters meet the party
# on its second step through the door east of the stairs.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }

mkdir -p "$WORK/src"
cp -r "$TESTS/../scenarios/sample/." "$WORK/src/"
cp "$TESTS/data/spells/roster.toml" "$WORK/src/"
"$FORGE" build "$WORK/src" "$WORK/built" --new-roster >/dev/null || fail "forge build"

BATTLE="1{Enter}70n688k8 "

# battle KEYS NAME: the session from the title into the battle, then KEYS;
# the screen at the last wait is compared with its golden copy.
battle() {
  rm -rf "$WORK/game"
  cp -r "$WORK/built" "$WORK/game"
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed 2 --keys "$BATTLE$1" \
    --dump-screen "$WORK/$2"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "$2: exit status $STATUS"
  check_golden "$WORK/$2" "$2"
}

# Keys without a value: the front rank fights, Lio in the back rank guards;
# dead Tess is not asked.
battle "{Enter}{Enter}{Enter}{Enter}" battle-commands-default.txt
# Ena runs: everyone after her runs too, without a menu.
battle "r" battle-commands-run.txt
# N at the confirmation, 7 at a member: the input starts again from Ena.
battle "ggggnfb" battle-commands-again.txt
# The casting list with the points left; the item list with its range.
battle "s" battle-commands-spells.txt
battle "u" battle-commands-items.txt
# The turn: three blows of the party, then the second monster's blow at
# Orin, the next in the front rank after the first monster (which fell
# before its turn came) chose Ena.
battle "fff{Enter}yxxx" battle-monster-blow.txt
