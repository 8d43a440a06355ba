# Spells from the camp of the bundled scenario's first floor. The party
# enters at the stairs (1, 1); Orin (member 2) is the mage, Ena (1) the
# priest.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/spells_lib.sh"
CAMP="1{Enter}71"
ORIN_TELEPORTS="${CAMP}2116{Enter} "

# Healing and curing from the camp.
spell_session 1 "${CAMP}111{Enter}3 " spells-camp-heal.txt
spell_session 1 "${CAMP}114{Enter}5 " spells-camp-cure.txt

# The teleport asks three questions; 20 floors up is refused and asked again.
spell_session 1 "${ORIN_TELEPORTS}20{Enter}" spells-teleport-refused.txt

# Two squares east and seven north is the dark cistern: the view is black.
# The priest's great light then shows its walls.
TO_CISTERN="${ORIN_TELEPORTS}0{Enter}2{Enter}7{Enter}000"
spell_session 1 "$TO_CISTERN" spells-dark-view.txt "$WORK/dark.png"
spell_session 1 "${TO_CISTERN}Z11116{Enter} 000" spells-lit-view.txt "$WORK/lit.png"
cmp -s "$WORK/dark.png" "$WORK/lit.png" && fail "the light changed nothing in the view"

# The star chart shows the whole floor.
spell_session 1 "${CAMP}2119{Enter} " spells-locate-floor.txt

# One floor down and the map says so.
spell_session 1 "${ORIN_TELEPORTS}-1{Enter}0{Enter}0{Enter}14{Enter} " spells-teleport-floor-2.txt

# On a floor where spells have no effect a miracle still works: Orin's
# miracle gives Bram (9 / 40) his hit points back, and so does the power
# of Ena's ring; an ordinary healing spell does nothing there.
printf '\n[header]\nno_spells = true\n' >>"$SOURCE/floor-1.toml"
spell_session 1 "${CAMP}2118{Enter}0"
grep -q "Bram .* 40 / 40" "$WORK/screen.txt" || fail "the miracle did nothing on a no-spell floor"
spell_session 1 "${CAMP}162{Enter}0"
grep -q "Bram .* 40 / 40" "$WORK/screen.txt" || fail "the ring's power did nothing on a no-spell floor"
spell_session 1 "${CAMP}111{Enter}3 0"
grep -q "Bram .*  9 / 40" "$WORK/screen.txt" || fail "a healing spell worked on a no-spell floor"
