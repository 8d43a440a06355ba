# A hidden ruby, a vendor, an altar, two fountains and something to search,
# one after the other north of the stairs; the camp's suspend saves what the
# party found.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dungeon_lib.sh"
SAVE="z6y"

dungeon finds
# Aldo is wounded, for the healing fountain; messages pause.
sed -i 's/^hp = 30/hp = 12/' "$SRC/roster.toml"
sed -i 's/^message_time = 0/message_time = 1000/' "$SRC/roster.toml"
build
# Aldo finds the ruby. At the vendor Aldo's 10 gold is too little; the
# vendor stays, and Cid buys a herb the second time. At the altar Cid's
# chalice becomes the orb, and Eve's key, the wrong offering, is lost.
# Aldo is healed, Eve's Luck moves by 2, and the search is answered both
# ways: yes brings a guardian battle, won, with 5 gold for each.
play finds "${ENTER}8y81{Enter}28282{Enter}82{Enter}1{Enter}28 0{Enter}283{Enter}1{Enter}81{Enter}83{Enter}8n828y115Y${SAVE}"
check_golden "$WORK/finds.trace" dungeon-finds.trace
grep -q "所持金が足りません" "$WORK/finds.trace" || fail "Aldo could pay"
[ "$(grep -c "何かを売っている" "$WORK/finds.trace")" -ge 2 ] || fail "the vendor did not stay"
report="$(roster)"
echo "$report" | grep -q "items: 長剣 (equipped), 紅玉 (unidentified)" || fail "Aldo has no ruby: $report"
echo "$report" | grep -q "HP 30/30, gold 15" || fail "Aldo was not healed or paid (10, and 5 from the battle)"
echo "$report" | grep -q "items: 光の珠 (unidentified), 薬草 (unidentified)" || fail "Cid's items are wrong: $report"
echo "$report" | grep -q "HP 20/20, gold 55" || fail "Cid did not pay 50 (5 back from the battle)"
echo "$report" | grep -A5 "slot 2: Eve" | grep -q "items: none" || fail "Eve still has the key"
echo "$report" | grep -A5 "slot 2: Eve" | grep -Eq "stats: 8 9 15 8 12 9 (6|10) 8" || fail "Eve's Luck did not move by 2"

# The encounter checks follow only a square without an event of its own:
# with an encounter at every check (chance 500) and battle marks on the
# ruby, vendor, altar and fountain squares, none of these four brings
# monsters, while the plain square beyond the search does.
dungeon finds
sed -i 's/^encounter_chance = 0/encounter_chance = 500/' "$SRC/scenario.toml"
sed -i 's/^  1   I$/  1   I!/; s/^  2   V$/  2   V!/; s/^  3   L$/  3   L!/; s/^  4   F$/  4   F!/' \
  "$SRC/floor-1.toml"
build
FOUR_EVENTS="${ENTER}8n80{Enter}80{Enter}80{Enter}"
play marked "$FOUR_EVENTS"
[ "$(grep -c "何かがあります\|何かを売っている\|祭壇があります\|泉があります" "$WORK/marked.trace")" = 4 ] ||
  fail "the four events were not met"
if grep -q "どうしますか" "$WORK/marked.trace"; then fail "a battle followed an event"; fi
build
play beyond "${FOUR_EVENTS}80{Enter}8n8"
grep -q "Aldo は どうしますか" "$WORK/beyond.txt" || fail "no battle on the plain square"

# Nobody has a free slot: the ruby stays and is offered again.
dungeon finds
sed -i 's/^item_slots = 4/item_slots = 1/' "$SRC/scenario.toml"
build
play full "${ENTER}8y2n8n28"
[ "$(grep -c "探しますか ?  Hit Y - N Key" "$WORK/full.trace")" = 2 ] || fail "the ruby did not stay"
grep -q "何かを手にいれた" "$WORK/full.trace" && fail "somebody took the ruby without room"
true
