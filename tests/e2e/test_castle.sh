# The castle: Gil brings the quest item (twice), Aldo and Cid have the
# experience for new levels.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/castle_lib.sh"
CASTLE="C{Enter}5"

# The quest scene asks before the item is handed over.
session "$CASTLE" castle-quest.txt

# Handed over: each slot is looked at once, so Gil's second copy, which
# moves up into the emptied slot, stays; every member gets 10,000
# experience and 20,000 gold. The copy kept is not identified, so back in
# the castle the lord only speaks.
session "${CASTLE}Y00" -
check_roster castle-quest-roster.txt
grep -q "items: 薬草 (unidentified), 水晶の鍵 (unidentified)" "$WORK/roster.txt" ||
  fail "Gil's second copy was taken"
session "${CASTLE}Y05" castle-lord.txt

# Refused, the judgement follows: one die of hit points and random stat
# changes with the fighter's bias.
session "${CASTLE}N1" castle-level-biased.txt

# All dice rolled again, stat changes without bias.
session "${CASTLE}N1" castle-level-reroll.txt 's/^hp_mode = 0/hp_mode = 1/; s/^stat_change_mode = 0/stat_change_mode = 1/'

# Points to place. A young fighter raises Knowledge and gives the second
# point up; an old one must lower two stats, the first refusal ignored.
POINTS='s/^stat_change_mode = 0/stat_change_mode = 2/; s/^stat_change_rate = 5/stat_change_rate = 10/'
session "${CASTLE}N1" castle-points-raise.txt "$POINTS"
session "${CASTLE}N130" castle-points-give-up.txt "$POINTS"
OLD="$POINTS; s/^age_days = 1000/age_days = 20000/"
SEED=7 session "${CASTLE}N1" castle-points-lower.txt "$OLD"
SEED=7 session "${CASTLE}N10112" castle-points-lowered.txt "$OLD"

# Level after level until the experience runs short.
session "${CASTLE}N1YYYY" castle-shortfall.txt

# The priest's second level gain opens the second spell level.
session "${CASTLE}N2Y" castle-spells.txt
session "${CASTLE}N2YN00" -
check_roster castle-levels-roster.txt
