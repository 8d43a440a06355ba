# The squares that need no answer: mud, a no-spell square, darkness, the
# battles of guardians, battle squares, key items and the floor's guardian,
# a spinner; the map key, and a floor that has no map.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dungeon_lib.sh"

# A battle won: the two in front fight, the mage guards, the commands are
# confirmed. A battle that ends in a chest leaves the chest.
WIN="115Y"
LEAVE_CHEST="0"
# Up the column: the guardian (4), the battle square (5), the floor's
# guardian (6), the guardian that only a copper key keeps away (7: the party
# has none) and the one that only the key calls (8: no battle), then on to
# the spinner.
WALK="8888${WIN}8${WIN}8${WIN}${LEAVE_CHEST}8${WIN}${LEAVE_CHEST}888"

dungeon squares
build
play walk "${ENTER}${WALK}V"
check_golden "$WORK/walk.trace" dungeon-squares.trace
grep -q "泥沼だ !" "$WORK/walk.trace" || fail "no mud"
shows walk "北に 10"

# Looking at the dark square ahead, and standing in it without a light.
build
play dark-ahead "${ENTER}88" --dump-png "$WORK/dark-ahead.png"
check_golden "$WORK/dark-ahead.png" dungeon-dark-ahead.png
build
play in-dark "${ENTER}888" --dump-png "$WORK/in-dark.png"
check_golden "$WORK/in-dark.png" dungeon-in-dark.png

# Running stops on the first square where something happens: the guardian.
build
play run "${ENTER}888G${WIN}V"
shows run "北に 4"

# The spinner turns the party at random (east with seed 1, see the walk
# above; north with seed 3); turning on it does not spin again.
shows walk "東を向いています"
build
SEED=3 play spin "${ENTER}${WALK}V"
shows spin "北を向いています"
build
SEED=3 play spin "${ENTER}${WALK}6V"
shows spin "北に 10"
shows spin "東を向いています"

# A floor whose header forbids the map ignores the map key.
dungeon squares
printf '\n[header]\nmap_rule = 2\n' >>"$SRC/floor-1.toml"
build
play no-map "${ENTER}V"
grep -q "地下 1 階" "$WORK/no-map.trace" && fail "the map was shown"
shows no-map "Aldo"
