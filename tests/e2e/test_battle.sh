# Battles on the bundled scenario's first floor, played through the real
# binary: the messages of every turn, in their order, with their pauses.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/battle_lib.sh"

# expect NAME TEXT...: each text appears in the session's trace.
expect() {
  local name="$1" text
  shift
  for text in "$@"; do
    grep -q -- "$text" "$WORK/$name" || fail "$name: no \"$text\""
  done
}

# Two turns of blows against a lone thief: misses, damage, the kill, the
# experience share, the chest forced open by Garo and its trap, the gold.
battle_session 1 "${INTO_BATTLE}111y111y11" battle-won-chest.txt
expect battle-won-chest.txt "水路のこそ泥 は倒れた" "の経験値を得た" "の罠が作動してしまった" "の金を手にいれた"

# The party surprised: no commands in the first turn, the monster strikes;
# the commands of the second turn follow.
battle_session 7 "${INTO_BATTLE}111y" battle-surprised.txt
expect battle-surprised.txt "に不意討ちされた" "怪しい人影 は Garo を"

# Monsters that have not noticed the party: Garo runs, the others run
# with him without a menu, and the run cannot fail.
battle_session 19 "${INTO_BATTLE}6y" battle-unnoticed-run.txt
expect battle-unnoticed-run.txt "はまだ気づかない"
grep -q "Mina は どうしますか" "$WORK/battle-unnoticed-run.txt" && fail "Mina was asked after Garo ran"
grep -q "回攻撃して" "$WORK/battle-unnoticed-run.txt" && fail "somebody struck during the run"

# A run from monsters who noticed the party: it gets away before anyone acts.
battle_session 1 "${INTO_BATTLE}6y" battle-fled.txt
grep -q "回攻撃して" "$WORK/battle-fled.txt" && fail "somebody struck during the flight"

# Negotiation: accepted and successful; accepted and broken off, so the
# fight goes on; refused.
battle_session 2 "${INTO_BATTLE}2" battle-negotiated.txt
expect battle-negotiated.txt "は交渉を求めています" "交渉がうまくいった"
battle_session 4 "${INTO_BATTLE}2" battle-negotiation-broken.txt
expect battle-negotiation-broken.txt "交渉は決裂した" "Garo は どうしますか"
battle_session 4 "${INTO_BATTLE}1" battle-negotiation-refused.txt
expect battle-negotiation-refused.txt "Garo は どうしますか"
grep -q "交渉は決裂した" "$WORK/battle-negotiation-refused.txt" && fail "a refusal was negotiated"

# Sefa takes the party home in the middle of the turn: the battle ends at
# once and the party is in town.
battle_session 1 "${INTO_BATTLE}1124{Enter}y" battle-home-by-spell.txt
expect battle-home-by-spell.txt "Sefa は 帰路の導き を唱えた" "どこへ行きますか"

# After the way home the outcome word is stale: the party visits the temple
# and the inn, goes down again and meets monsters at once (encounter chance
# 500). Their battle goes on after the first blows and is won.
SCENARIO_EDIT='s/encounter_chance = 30/encounter_chance = 500/' \
  battle_session 1 "${INTO_BATTLE}1124{Enter}y4103110""70n8115y115y115y0" battle-after-home.txt
expect battle-after-home.txt "Sefa は 帰路の導き を唱えた" "白樫の祠" "灯守りの宿" "の経験値を得た" "宝箱をどうしますか"

# A lone wounded fighter guards and falls: the party is wiped out.
battle_session 1 "${INTO_BATTLE}5y5y" battle-wiped-out.txt battle-weak
expect battle-wiped-out.txt "Pell は死んだ" "全員倒れてしまった"

# Pictures for all four places (camp settings 8, 4, 4): the unidentified
# thief's picture file is missing, so its notice stands in group 1's
# corner: "Graphic Data" at column 1 of row 3, "No." and the number at
# column 3 of row 4, "Not Found" at column 2 of row 5.
battle_session 1 "1{Enter}88440011" battle-picture-missing.txt battle "--trace-png" "$WORK/pictures"
awk '/^=== 10 key/ { frame = 1; row = 0; next } frame && /^--$/ { exit }
     frame { rows[row++] = $0 } END { print rows[3]; print rows[4]; print rows[5] }' \
  "$WORK/trace.txt" >"$WORK/notice.txt"
printf ' Graphic Data\n   No. 26\n  Not Found\n' | diff - "$WORK/notice.txt" >&2 || fail "the notice is not in place"
[ -s "$WORK/pictures/10.png" ] || fail "no picture of the battle's frame"
