# Into the dungeon and along a corridor: the start screen with the first
# question for the message time, the first camp, the stairs' question on
# arrival, turning, walking round the floor's edge, running to a wall and
# into the stairs, a door that only the door key opens, and walls.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dungeon_lib.sh"

# A message time never chosen is asked for before the first camp; the
# party is written to the roster on the stairs of floor 1.
dungeon walk
sed -i 's/^message_time = 0/message_time = 777/' "$SRC/roster.toml"
build
play start "D{Enter}70{Enter}"
check_golden "$WORK/start.trace" dungeon-start.trace
roster | grep -q "party: 3 member(s), on floor 1 at (0, 0) facing north" || fail "the party was not saved on the stairs"
[ "$(roster | grep -c "left on floor 1 at (0, 0)")" = 3 ] || fail "the members were not marked as in the dungeon"

# Messages wait for a key from here on.
dungeon walk
sed -i 's/^message_time = 0/message_time = 10000/' "$SRC/roster.toml"

# South from (0, 0) is (0, 19); running east stops silently at the wall
# west of (4, 0); running back west stops at the stairs, which ask again.
build
play run "${ENTER}28V 28n6GV 2G"
check_golden "$WORK/run.trace" dungeon-run.trace
shows run "登りますか ?  Hit Y - N Key"

# Walking into the door is refused; the door key opens it; mud on the way;
# the wall at the end refuses too.
build
play door "${ENTER}8888 8 k88888 V"
check_golden "$WORK/door.trace" dungeon-door.trace
shows door "北に 9"
[ "$(grep -c "通れません ！" "$WORK/door.trace")" -ge 2 ] || fail "a blocked move did not say so"
grep -q "泥沼だ !" "$WORK/door.trace" || fail "the mud was not shown"

# The door key in front of an open square does nothing; in front of a wall
# it is refused like a step.
build
play keys "${ENTER}kV"
shows keys "北に 0"
build
play wall "${ENTER}4k"
grep -q "通れません ！" "$WORK/wall.trace" || fail "the door key passed a wall"
