# Battles on the bundled scenario's first floor, played through the real
# binary: the messages of every turn, in their order, with their pauses.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/battle_lib.sh"

# Two turns of blows against a lone thief: misses, damage, the kill, the
# experience share, the chest forced open by Garo and its trap, the gold.
battle_session 1 "${INTO_BATTLE}111y111y11" battle-won-chest.txt
grep -q "水路のこそ泥 は倒れた" "$WORK/battle-won-chest.txt" || fail "the thief did not fall"
grep -q "の金を手にいれた" "$WORK/battle-won-chest.txt" || fail "no gold after the victory"
