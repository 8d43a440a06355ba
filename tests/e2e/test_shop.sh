# The shop: Aldo (500 gold, five of eight slots used, two items worn, a
# jewel not identified) and Cid (1200 gold) are the party; eighteen items
# fill two pages, the quest item is never among them.
source "$(dirname "$0")/lib.sh"
SCENARIO_DATA=shop
source "$(dirname "$0")/party_lib.sh"
ALDO="S{Enter}21"

session 1 "S{Enter}2" shop-customer.txt
session 1 "${ALDO}" shop-screen.txt
# A letter on the shop screen counts as 0: back to the customer choice.
session 1 "${ALDO}x" shop-customer.txt

# Page 2 holds the last three; "N" past it shows page 1 again, "B" too.
session 1 "${ALDO}1" shop-buy-page-1.txt
session 1 "${ALDO}1N{Enter}" shop-buy-page-2.txt
session 1 "${ALDO}1N{Enter}99{Enter}" shop-buy-page-1-again.txt
session 1 "${ALDO}1N{Enter}B{Enter}" shop-buy-page-1-again.txt
diff <(head -24 "$GOLDEN/shop-buy-page-1.txt") <(head -24 "$GOLDEN/shop-buy-page-1-again.txt") ||
  fail "page 1 shows other items when it comes round again"

# The staff costs more than Aldo has.
session 1 "${ALDO}16{Enter}" shop-buy-too-dear.txt

# Three daggers fill the slots: back on the shop screen, buying is red.
session 1 "${ALDO}12{Enter}2{Enter}2{Enter}" shop-buy-full.txt

# Worn and unidentified items are refused and stay; the herb is sold.
session 1 "${ALDO}21{Enter}3{Enter}" shop-sell-refused.txt
session 1 "${ALDO}21{Enter}3{Enter}4{Enter}" shop-sell.txt

# The jewel's fee is beyond Aldo; Cid has his holy water identified.
session 1 "${ALDO}43{Enter}" shop-identify-refused.txt
session 1 "S{Enter}2241{Enter}" shop-identify.txt

# Pooling puts the party's gold with Cid.
session 1 "S{Enter}223" shop-pool.txt

# What was bought is saved, and the shop leads back to the town menu.
session 1 "${ALDO}12{Enter}0{Enter}000"
"$FORGE" roster "$WORK/game" S | sed -n '/^slot 0/,/^$/p' >"$WORK/aldo.txt"
check_golden "$WORK/aldo.txt" shop-saved-roster.txt
