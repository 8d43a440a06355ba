# Chests after battles on the bundled scenario's first floor: the thief's
# chest (treasure class 15) is made to carry one trap, so that the sessions
# meet it whatever the draw.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/battle_lib.sh"

THIEFS_TRAPS='traps = \["毒の棘", "仕込み刃", "破裂する瓶", "瘴気の袋"\]'
# The chest always carries trap NAME.
only_trap() {
  echo "s/may_be_untrapped = true\n$THIEFS_TRAPS/traps = [\"$1\"]/"
}
TWO_TURNS='111y111y'

# Garo opens the chest and its whistle calls more monsters: the next battle
# follows at once, and its victory pays the gold without another chest.
SCENARIO_EDIT="$(only_trap 呼び笛)" \
  battle_session 1 "${INTO_BATTLE}${TWO_TURNS}11${TWO_TURNS}" chest-chained-battle.txt
out="$WORK/chest-chained-battle.txt"
[ "$(grep -c "モンスターと遭遇した" "$out")" = 2 ] || fail "no second battle"
[ "$(grep -c "宝箱が見つかりました" "$out")" = 1 ] || fail "the chained battle left a chest"
grep -q "の金を手にいれた" "$out" || fail "no gold after the chained battle"

# Garo names the wrong trap, his luck fails him and the poison needle
# springs; the chest's items and the gold follow.
SCENARIO_EDIT="$(only_trap 毒の棘)" \
  battle_session 16 "${INTO_BATTLE}${TWO_TURNS}212{Enter}" chest-wrong-trap.txt
out="$WORK/chest-wrong-trap.txt"
grep -q "罠は 毒の棘 だった" "$out" || fail "the real trap was not told"
grep -q "毒の棘 の罠が作動してしまった !" "$out" || fail "the trap did not spring"
grep -q " を手にいれた" "$out" || fail "no item after the sprung trap"
grep -q "の金を手にいれた" "$out" || fail "no gold after the sprung trap"

# Mina inspects and misreads, tries again (refused) and Sefa reads the
# trap; each report stays beside its reader's place. The chest is left
# behind, and its gold with it.
SCENARIO_EDIT="$(only_trap 毒の棘)" \
  battle_session 1 "${INTO_BATTLE}${TWO_TURNS}323230" chest-inspected-left.txt
out="$WORK/chest-inspected-left.txt"
grep -q "の金を手にいれた" "$out" && fail "gold from a chest left behind"
true
