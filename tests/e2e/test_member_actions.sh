# A member's actions from the party room. Aldo (member 1) wears a cursed
# helmet and can carry 20; Cid (member 2) carries two unidentified rings, a
# worn leather armour and a herb, and has no Knowledge. Messages wait for a
# key (message time 10000).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/party_lib.sh"
ALDO="P{Enter}111"
CID="P{Enter}112"

# Equip: sword, plate and shield are chosen; the cursed helmet stops the
# helmets only; the load is too heavy, so the whole procedure starts again.
session 1 "${ALDO}4111" equip-cursed-kind.txt
session 1 "${ALDO}4111 " equip-too-heavy.txt
session 1 "${ALDO}4111  101 " equip-lighter.txt

# Discard asks first; "n" keeps the item, a worn item is refused, "y" discards.
session 1 "${CID}74{Enter}" discard-question.txt
session 1 "${CID}74{Enter}n{Enter}73{Enter}" discard-worn.txt
session 1 "${CID}74{Enter}n{Enter}73{Enter} 4{Enter}y{Enter}" discard-done.txt

# Identifying the cursed ring: the seed decides the draw.
session 2 "${CID}81{Enter}" identify-success.txt
session 12 "${CID}81{Enter}" identify-failure.txt
session 1 "${CID}81{Enter}" identify-curse.txt
# The cursed ring is now worn and stops the rings when equipping.
session 1 "${CID}81{Enter} 41" identify-curse-worn.txt
