# The inn: Cid is wounded and nearly out of gold, Ola has reached her race's
# life span.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/castle_lib.sh"
INN="C{Enter}3"

# The rooms with their prices and healing for Cid.
session "${INN}2" inn-rooms.txt

# One week in the twin room is paid; the second is more than he has.
session "${INN}23" inn-out-of-gold.txt 's/^message_time = 0/message_time = 10000/'

# A night in the lobby is one day too many for Ola.
session "${INN}41" inn-retired.txt

# Aldo, unhurt, may only take the lobby; then the roster shows it all.
session "${INN}41x23013100" -
check_roster inn-roster.txt
