# Saves that find no room: the game runs under a file size limit smaller
# than the roster, so the roster's write fails part way. The old roster
# stays byte for byte, the half-written new one is removed, the game stops
# on the run-time error screen with the disk-full code (67), and the next
# session, with room again, saves as usual.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
[ -x "$FORGE" ] || { echo "SKIP: kestrun-forge not built"; exit 77; }
# In 1024-byte blocks: half of a roster of the bundled scenario.
LIMIT=8

# prepare ROSTER-DIR: the bundled scenario with the party of tests/data/ROSTER-DIR.
prepare() {
  rm -rf "$WORK/src" "$WORK/game"
  cp -r "$TESTS/../scenarios/sample" "$WORK/src"
  cp "$TESTS/data/$1/roster.toml" "$WORK/src/"
  "$FORGE" build "$WORK/src" "$WORK/game" --new-roster >/dev/null || fail "forge build"
  cp "$WORK/game/1-C.DAT" "$WORK/old-roster"
  [ "$(stat -c %s "$WORK/old-roster")" -gt $((LIMIT * 1024)) ] || fail "the roster fits the limit"
}

# save_without_room NAME KEYS: a session under the limit whose last keys
# save; the screen goes to a pipe, which the limit does not cover.
save_without_room() {
  local name="$1" keys="$2"
  set +e
  (
    ulimit -f "$LIMIT"
    exec "$KESTRUN" --frontend headless --dir "$WORK/game" --seed 1 --keys "$keys" \
      --dump-screen /dev/stdout
  ) | cat >"$WORK/$name.txt"
  STATUS="${PIPESTATUS[0]}"
  set -e
  [ "$STATUS" = 1 ] || fail "$name: exit status $STATUS, not the run-time error's 1"
  cmp -s "$WORK/old-roster" "$WORK/game/1-C.DAT" || fail "$name: the old roster was changed"
  [ ! -e "$WORK/game/1-C.DAT.NEW" ] || fail "$name: the unfinished roster was left behind"
  head -n 24 "$WORK/$name.txt" >"$WORK/$name.screen"
  grep -q "ウィンドウを閉じてください" "$WORK/$name.screen" || fail "$name: no error screen"
  grep -Eq ' 67 +[0-9]+( |$)' "$WORK/$name.screen" || fail "$name: no disk-full code on the screen"
}

# In the dungeon: the camp's suspend (6, yes) of the party resumed there.
prepare adventure
save_without_room camp-suspend '1{Enter}86y'
set +e
"$KESTRUN" --frontend headless --dir "$WORK/game" --seed 1 --keys '1{Enter}86y'
STATUS=$?
set -e
[ "$STATUS" = 0 ] || fail "the save with room again: exit status $STATUS"
cmp -s "$WORK/old-roster" "$WORK/game/1-C.DAT" && fail "the save with room again changed nothing"
"$FORGE" roster "$WORK/game" 1 | grep -q ': sound$' || fail "the roster saved with room is not sound"

# Into the dungeon at the gate: two members join (party room 2, twice),
# then the town's 7 saves the party on the stairs.
prepare sample-party
save_without_room gate '1{Enter}121{Enter}21{Enter}07'
grep -q ': sound$' <("$FORGE" roster "$WORK/game" 1) || fail "the old roster is not sound"
