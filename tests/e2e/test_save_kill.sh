# Saves that survive a kill: at each of the game's save points the game is
# killed (SIGKILL) at random moments of a session that ends with that save,
# 200 times in all. After every kill the roster is byte for byte the one
# before or the one after the save, the forge finds it sound, the game
# starts on it, and an unfinished roster left behind does not stop the next
# save (kestrun_killsave checks each try). The save points are played on
# the bundled scenario at the same time, as each spends its time waiting
# for the disk.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
KILLSAVE="$(dirname "$KESTRUN")/tests/kestrun_killsave"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
[ -x "$KILLSAVE" ] || { echo "SKIP: kestrun_killsave not built"; exit 77; }
TRIES="${KILLSAVE_TRIES:-50}"
SEED="${KILLSAVE_SEED:-1}"

# The scenario (1), then the new adventurers of tests/data/sample-party
# form a party of two in the party room (1; 2 and the first waiting, twice;
# 0 out).
FORM_PARTY='1{Enter}121{Enter}21{Enter}0'
# NAME ROSTER-DIR KEYS EXPECTED: the session's keys end with the save;
# EXPECTED is in the roster the uninterrupted session leaves. The saves:
# the town's 0; the town's 7, in at the gate; the party resumed in the
# dungeon (8) suspends in the camp (6, yes); a lone wounded fighter resumed
# on a battle square leaves the camp (0), guards twice (5, yes) and falls,
# and the wipe-out's "Hit Any Key" is answered.
SAVE_POINTS=(
  "town sample-party ${FORM_PARTY}0 party: 2 member(s), in town"
  "gate sample-party ${FORM_PARTY}7 party: 2 member(s), on floor 1 at (1, 1)"
  "camp adventure 1{Enter}86y party: 3 member(s), on floor 1 at (7, 13)"
  "wipe battle-weak 1{Enter}805y5y{Enter} party: 0 member(s), in town"
)

# prepare NAME ROSTER-DIR KEYS EXPECTED: builds $WORK/NAME and checks that
# its keys reach the save point meant.
prepare() {
  local name="$1" roster="$2" keys="$3" expected="$4"
  cp -r "$TESTS/../scenarios/sample" "$WORK/$name.src"
  cp "$TESTS/data/$roster/roster.toml" "$WORK/$name.src/"
  "$FORGE" build "$WORK/$name.src" "$WORK/$name" --new-roster >/dev/null || fail "$name: forge build"
  cp -r "$WORK/$name" "$WORK/$name.check"
  "$KESTRUN" --frontend headless --dir "$WORK/$name.check" --seed 1 --keys "$keys" ||
    fail "$name: the uninterrupted session failed"
  "$FORGE" roster "$WORK/$name.check" 1 >"$WORK/$name.roster"
  grep -qF "$expected" "$WORK/$name.roster" || fail "$name: the save did not leave \"$expected\""
}

pids=()
for entry in "${SAVE_POINTS[@]}"; do
  read -r name roster keys expected <<<"$entry"
  prepare "$name" "$roster" "$keys" "$expected"
  "$KILLSAVE" --kestrun "$KESTRUN" --forge "$FORGE" --game "$WORK/$name" --keys "$keys" \
    --tries "$TRIES" --seed "$SEED" --name "$name" >"$WORK/$name.tally" &
  pids+=($!)
  SEED=$((SEED + 1))
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
cat "$WORK"/*.tally
[ "$failed" = 0 ] || fail "a kill left a roster the game cannot go on with (seed ${KILLSAVE_SEED:-1})"

# Every save point was killed in the middle of its save, both before and
# after the new roster took the old one's place.
for entry in "${SAVE_POINTS[@]}"; do
  read -r name _ <<<"$entry"
  grep -Eq "old [1-9]" "$WORK/$name.tally" || fail "$name: no kill kept the old roster"
  grep -Eq "new [1-9]" "$WORK/$name.tally" || fail "$name: no kill left the new roster"
  grep -Eq "leftovers [1-9]" "$WORK/$name.tally" || fail "$name: no kill fell inside the save"
done
awk '{ for (i = 1; i < NF; i++) if ($i == "tries" || $i == "killed" || $i == "old" || $i == "new" || $i == "leftovers")
         sum[$i] += $(i + 1) }
     END { printf "kill test: %d tries (%d killed), old roster %d, new roster %d, unfinished rosters %d\n",
             sum["tries"], sum["killed"], sum["old"], sum["new"], sum["leftovers"] }' "$WORK"/*.tally
