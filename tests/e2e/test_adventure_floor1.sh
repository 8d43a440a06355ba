# An adventure on the bundled scenario's first floor, played through the
# real binary with a fixed seed: the party of tests/data/adventure resumes
# in the bell chamber, wins its battle against a thief, forces the chest
# open and springs its trap, which kills Mina; one step on, a second thief
# is fought and beaten and its chest left alone; Sefa takes the party home
# by spell, the temple raises Mina and the castle gives Garo his level 4.
# The trace and the saved roster show each stage.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
cp -r "$TESTS/../scenarios/sample" "$WORK/src"
cp "$TESTS/data/adventure/roster.toml" "$WORK/src/"
# Every step meets monsters, so the second battle does not hang on a roll.
sed -i 's/^encounter_chance = .*/encounter_chance = 100/' "$WORK/src/scenario.toml"
"$FORGE" build "$WORK/src" "$WORK/game" --new-roster >/dev/null || fail "forge build"

# The scenario, the saved party resumed (town key 8), out of the camp: the
# party stands on a battle square and the thief attacks.
RESUME='1{Enter}80'
# Two turns in which all three fight (1 each, then Y to confirm).
FIGHT_TURN='111y'
BATTLE="${FIGHT_TURN}${FIGHT_TURN}"
# The chest: force it open (1), by member 1; the trap springs.
CHEST='11'
# One step on (8), the next thief: Garo and Sefa fight (Mina is dead) for
# five turns, and its chest is left where it stands (0).
SECOND_BATTLE="8$(printf '11y%.0s' 1 2 3 4 5)0"
# In the camp (Z), Sefa's sheet (1, member 2) and his spells (1): the
# fourth of his list, the way home.
HOME_BY_SPELL='z1214{Enter}'
# The temple (4): revival (1) of patient 1, Mina; Garo (1) pays; out (0).
TEMPLE='411{Enter}10'
# The castle (5): the lord's words, then Garo (1) is judged for his level;
# no further judgement (N), out (0); the town's 0 saves and ends.
CASTLE='5 1N0'
SAVE='0'

set +e
"$KESTRUN" --frontend headless --dir "$WORK/game" --seed 1 --trace "$WORK/trace.txt" \
  --keys "${RESUME}${BATTLE}${CHEST}${SECOND_BATTLE}${HOME_BY_SPELL}${TEMPLE}${CASTLE}${SAVE}"
STATUS=$?
set -e
[ "$STATUS" = 0 ] || fail "exit status $STATUS"

seen "水路のこそ泥 は倒れた" "の経験値を得た" "宝箱が見つかりました" "の罠が作動してしまった" \
  "Mina は死んだ" "の金を手にいれた" "水路のこそ泥 は倒れた" "の経験値を得た" \
  "Sefa は 帰路の導き を唱えた" "どこへ行きますか" \
  "蘇生のための祈祷料は  450  です" "Mina は回復した" "Garo は  4  レベルになった"
# The deaths, the spoils and the revival each pause before the game goes on.
for text in "Mina は死んだ" "の金を手にいれた" "Mina は回復した"; do
  awk -v text="$text" '/^=== / { pause = / pause$/ } index($0, text) && pause { found = 1 }
    END { exit !found }' "$WORK/trace.txt" || fail "\"$text\" is not shown in a pause"
done

# The roster saved at the end: everybody in town and sound, Mina raised,
# Garo at level 4 having paid the temple from his 1030 gold.
"$FORGE" roster "$WORK/game" 1 >"$WORK/roster.txt" || fail "roster"
grep -q ': sound$' "$WORK/roster.txt" || fail "the roster does not pass its checks"
grep -q "party: 2 member(s), in town" "$WORK/roster.txt" || fail "the party is not in town"
# has NAME TEXT: the roster's entry for NAME holds TEXT.
has() {
  local entry
  entry="$(awk -v name="$1" '$1 == "slot" && $3 == name { show = 1 } /^slot / && $3 != name { show = 0 } show' \
    "$WORK/roster.txt")"
  [[ "$entry" == *"$2"* ]] || fail "$1: no \"$2\" in: $entry"
}
has Garo "normal, 衛士, 石喉族, male, neutral, level 4"
has Garo "gold 580, experience 1511"
has Mina "  normal, 誓剣士"
has Mina "HP 26/26, gold 1030"
has Sefa "gold 1030, experience 91"
