# The bundled scenario played from an empty roster to the lord's reward with
# the key script tests/e2e/adventure: a party is made and trained on floor 1
# (battles, chests and their traps, levels at the castle, the fallen raised
# at the temple, healing in the camp), goes down by the stairs and the
# elevator, beats the bell's guardian for the great key, passes the great
# frog and comes home by the teleport; the key is identified at the shop and
# handed to the lord. The script is written by tests/e2e/make-adventure.sh:
# when the sample or the rules change, run it again (never edit the keys).
# Its sessions are played one after the other on the same game directory,
# each from the title, as a player who saves and comes back would.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
SCRIPT="$TESTS/e2e/adventure"
"$FORGE" build "$TESTS/../scenarios/sample" "$WORK/game" --new-roster >/dev/null || fail "forge build"

SEED="$(sed -n 's/^# seed: //p' "$SCRIPT")"
[ -n "$SEED" ] || fail "the script names no seed"
awk -v base="$WORK/session" '/^# session / { n++ } !/^#/ { printf "%s", $0 > (base "." n) }' "$SCRIPT"
SESSIONS="$(grep -c '^# session ' "$SCRIPT")"
[ "$SESSIONS" -gt 1 ] || fail "the script holds $SESSIONS session(s)"

# Only the text of each frame is kept (not its colours), so that the trace
# of the whole adventure stays small.
for ((n = 1; n <= SESSIONS; n++)); do
  set +e
  "$KESTRUN" --frontend headless --dir "$WORK/game" --seed "$SEED" \
    --keys-file "$WORK/session.$n" --trace "$WORK/part.txt" --dump-screen "$WORK/screen.txt"
  STATUS=$?
  set -e
  [ "$STATUS" = 0 ] || fail "session $n: exit status $STATUS"
  awk '/^=== / { text = 1 } /^--$/ { text = 0 } text' "$WORK/part.txt" >>"$WORK/trace.txt"
done

# The adventure's course: a battle won, a chest and its trap, a revival, a
# level, the stairs down, the elevator, the guardian beaten for the key, the
# town again, the lord's question.
seen "は倒れた" "の経験値を得た" "宝箱が見つかりました" "の罠が作動してしまった" \
  "蘇生のための祈祷料は" "は回復した" "レベルになった" \
  "下りますか" "地下 2 階" "どの階へ行きますか" \
  "沈鐘の守り手 は倒れた" "大きな鍵 を手にいれた" "どこへ行きますか" \
  "水門の大鍵 を領主に献上しますか"

# frame_with TEXT...: some frame of the trace shows every one of the texts.
frame_with() {
  awk -v texts="$(printf '%s\001' "$@")" '
       BEGIN { n = split(texts, want, "\001") - 1 }
       function check(t) { for (t = 1; t <= n; t++) if (!(t in got)) return; found = 1 }
       /^=== / { check(); split("", got); next }
       { for (t = 1; t <= n; t++) if (index($0, want[t])) got[t] = 1 }
       END { check(); exit !found }' "$WORK/trace.txt" ||
    fail "no frame shows: $*"
}
# A priest heals in the camp: his sheet in the dungeon, the spell and its
# effect.
frame_with "迷宮内" "は 癒しの雫 を唱えた" "だけ回復した"
# The lord's question comes with the congratulation.
frame_with "ＣＯＮＧＲＡＴＵＬＡＴＩＯＮ" "水門の大鍵 を領主に献上しますか"

# Home from floor 3 by the teleport: between the great key and the town
# menu the party neither climbs stairs nor casts (floor 3 allows no spell).
awk '/大きな鍵 を手にいれた/ { after = 1 } after && /どこへ行きますか/ { exit }
     after && /登りますか|を唱えた/ { bad = 1 } END { exit bad }' "$WORK/trace.txt" ||
  fail "the party came home from floor 3 by stairs or by spell"

# The roster saved at the end: sound, the party in town, each member past
# the reward's 10,000 experience, the reward's gold with the party (far
# more than it ever found), and the key with the lord.
"$FORGE" roster "$WORK/game" 1 >"$WORK/roster.txt" || fail "roster"
grep -q ': sound$' "$WORK/roster.txt" || fail "the roster does not pass its checks"
grep -qE "party: [4-6] member\(s\), in town" "$WORK/roster.txt" || fail "the party is not in town"
awk '/^party: / { size = $2 } /^  [1-6]\. slot / { member[$4] = 1 }
     /^slot / { name = $3 }
     /experience/ && (name in member) { n++; e = $0; sub(/.*experience /, "", e); sub(/,.*/, "", e)
       if (e + 0 < 10000) low = 1 }
     /gold/ { g = $0; sub(/.*gold /, "", g); sub(/,.*/, "", g); gold += g }
     END { exit !(n == size && !low && gold >= 40000) }' "$WORK/roster.txt" ||
  fail "the reward is not in the roster: $(grep -E '^slot|experience' "$WORK/roster.txt")"
if grep -q "水門の大鍵\|大きな鍵" "$WORK/roster.txt"; then fail "the great key was not handed over"; fi
