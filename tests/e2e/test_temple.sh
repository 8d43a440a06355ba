# The temple: Dan lies dead, Eve is a spirit, Fay poisoned and paralysed,
# Hal stone, Gus lost (never listed); Aldo (500 gold) and Cid (1200) pay.
source "$(dirname "$0")/lib.sh"
SCENARIO_DATA=shop
source "$(dirname "$0")/party_lib.sh"

session 1 "S{Enter}4" temple-menu.txt
session 1 "S{Enter}41" temple-patients.txt

# Eve's revival costs 800: Aldo's 1 is ignored until Cid pays.
session 1 "S{Enter}412{Enter}" temple-fee.txt
session 1 "S{Enter}412{Enter}1" temple-fee.txt

# With this seed Dan's revival fails and he becomes a spirit.
session 1 "S{Enter}411{Enter}2" temple-revival-failed.txt
session 1 "S{Enter}411{Enter}2 1" temple-after-failure.txt

# Fay pays poison and paralysis together and is healed.
session 1 "S{Enter}413{Enter}2" temple-healed.txt
# Paying blanks rows 11 to 14 from column 19 on: the start of the payer
# question, left of it, stays on screen; the key hint below is gone.
grep -q "^  だれが料金を支払" "$WORK/temple-healed.txt" || fail "the payer question was blanked whole"
if grep -q "Hit 0 -" "$WORK/temple-healed.txt"; then fail "the key hint stayed"; fi

# Taking off Aldo's cursed ring destroys it for its fee.
session 1 "S{Enter}4215{Enter}" temple-uncursed.txt
