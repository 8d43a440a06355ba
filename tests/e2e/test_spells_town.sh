# Spells, items and powers from the party room. Ena (member 1) is the
# priest; Bram (3) is wounded, Tess (4) dead, Lio (5) poisoned. Each
# session stops at the message pause of the effect it shows.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/spells_lib.sh"
ENA="1{Enter}111"

# Healing Bram, curing Lio's poison, raising Tess.
spell_session 1 "${ENA}11{Enter}3 " spells-town-heal.txt
spell_session 1 "${ENA}14{Enter}5 " spells-town-cure.txt
spell_session 1 "${ENA}120{Enter}4 " spells-town-revive.txt

# A battle spell is not cast in town: the question is asked again.
spell_session 1 "${ENA}110{Enter}" spells-town-battle-spell.txt

# The miracle's offer, and everybody's HP back when the player picks it.
spell_session 1 "${ENA}122{Enter}" spells-town-miracle-offer.txt
spell_session 1 "${ENA}122{Enter}2{Enter}0" spells-town-miracle-chosen.txt

# The healing draught heals Bram and leaves its empty vial behind.
spell_session 1 "${ENA}51{Enter}3  " spells-town-draught.txt

# The ring's power gives everybody's HP back; the sheet, then the party.
spell_session 1 "${ENA}62{Enter}0" spells-town-ring-power.txt

# An item breaks only when it was used: the draught's target question
# answered with 0, and Orin's star chart, whose spell is refused in town,
# both stay whole although they always break after use.
spell_session 1 "${ENA}51{Enter}0"
grep -q "癒しの水薬" "$WORK/screen.txt" || fail "the draught broke without being drunk"
spell_session 1 "1{Enter}11251{Enter}"
grep -q "星図の巻物" "$WORK/screen.txt" || fail "the refused star chart burnt"
if grep -q "燃えさしの巻物" "$WORK/screen.txt"; then fail "the refused star chart burnt"; fi
