# The party room: Aldo (good) and Cid are in the party; Bea (evil) waits
# first, Eve second; the party holds three.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/party_lib.sh"
ENTER="P{Enter}1"

# An evil character does not join a party with a good member: no message,
# the question again.
session 1 "${ENTER}21{Enter}" party-room-refused.txt

# Eve makes the party full: option 2 turns red and its key does nothing.
session 1 "${ENTER}21{Enter}2{Enter}2" party-room-full.txt

# Removing the first of three: Cid and Eve move up in their order, Aldo waits.
session 1 "${ENTER}21{Enter}2{Enter}31" party-room-removed.txt

# The party is saved that way.
session 1 "${ENTER}21{Enter}2{Enter}3100"
"$FORGE" roster "$WORK/game" P | sed -n '/^party/,/^$/p' >"$WORK/party.txt"
check_golden "$WORK/party.txt" party-room-saved-roster.txt
