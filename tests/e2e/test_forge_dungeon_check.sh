# kestrun-forge check refuses the floors the game would refuse: stairs,
# elevators and teleports leading off the floor or to floors without a
# file, elevator ranges outside the floors, a first floor without up stairs.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dungeon_lib.sh"

expect() {
  grep -qF -- "$1" "$WORK/out" || { cat "$WORK/out" >&2; fail "check did not report: $1"; }
}

dungeon stairs lower
"$FORGE" check "$SRC" >/dev/null || fail "the stairs floors have problems"

# The elevator reaches a floor without a file, and one beyond the fifteen.
sed -i 's/^floors = \[1, 2\]/floors = [1, 3]/' "$SRC/floor-1.toml"
sed -i 's/^floors = \[1, 2\]/floors = [2, 16]/' "$SRC/floor-2.toml"
problems
expect "square (0, 3): the elevator leads to floor 3, which has no floor-3.toml"
expect "square (0, 3): the elevator leads to floor 16, outside 1 to 15"

# An elevator without a range; stairs arriving off the floor.
dungeon stairs lower
sed -i 's/^floors = \[1, 2\]/floors = [2, 1]/' "$SRC/floor-1.toml"
sed -i 's/^to = { x = 0, y = 2 }/to = { x = 0, y = 20 }/' "$SRC/floor-2.toml"
problems
expect "square (0, 3): the elevator's floors must be a range like [1, 3]"
expect "square (0, 2): the stairs' arrival y 20 is outside the floor (0 to 19)"

# Stairs down from the last floor lead nowhere.
dungeon stairs
problems
expect "square (0, 2): the stairs down leads to floor 2, which has no floor-2.toml"

# Teleports off the floor and to a missing floor; the way home is fine.
dungeon teleports
sed -i 's/^to = { floor = 1, x = 5, y = 5 }/to = { floor = 1, x = 25, y = 5 }/' "$SRC/floor-1.toml"
problems
expect "the teleport's x 25 is outside the floor (0 to 19)"
expect "square (0, 19): the teleport leads to floor 2, which has no floor-2.toml"
grep -q "square (19, 0)" "$WORK/out" && fail "the teleport home was refused"

# The first floor must have the stairs the party arrives on.
dungeon walk
sed -i 's/^  0 | U /  0 |   /' "$SRC/floor-1.toml"
problems
expect "floor 1 has no up stairs (code 7, 'U')"
