# kestrun-forge play: builds a fresh copy, puts the party on the square asked
# and starts the game there; the source and earlier builds stay untouched and
# the temporary folder goes away.
source "$(dirname "$0")/lib.sh"
FORGE="$(dirname "$KESTRUN")/kestrun-forge"
SOURCE="$TESTS/data/forge-basic"
export TMPDIR="$WORK/tmp"
mkdir -p "$TMPDIR"
cp -r "$SOURCE" "$WORK/src"

# Leave the camp (0) and look at the map (V): its text block tells the square.
"$FORGE" play "$WORK/src" --at 1,5,6,west --frontend headless --seed 1 --keys "0V" \
  --dump-screen "$WORK/screen.txt" || fail "play exited $?"
grep -q "地下 1 階" "$WORK/screen.txt" || fail "not on floor 1: $(cat "$WORK/screen.txt")"
grep -q "北に 6" "$WORK/screen.txt" || fail "not at y 6"
grep -q "東に 5" "$WORK/screen.txt" || fail "not at x 5"
grep -q "西を向いています" "$WORK/screen.txt" || fail "not facing west"
[ -z "$(ls -A "$TMPDIR")" ] || fail "the temporary folder was left: $(ls -A "$TMPDIR")"
diff -r "$SOURCE" "$WORK/src" >/dev/null || fail "play changed the source"

# Another try starts from the same fresh state.
"$FORGE" play "$WORK/src" --at 1,3,2 --frontend headless --seed 1 --keys "0V" \
  --dump-screen "$WORK/again.txt" || fail "second play exited $?"
grep -q "地下 1 階" "$WORK/again.txt" && grep -q "北に 2" "$WORK/again.txt" &&
  grep -q "北を向いています" "$WORK/again.txt" || fail "second try not at (3, 2) of floor 1"

# Without --at the party starts where roster.toml saved it (moved to floor 1,
# whose map may be shown, at (3, 4)).
sed -i 's/^floor = 2$/floor = 1/' "$WORK/src/roster.toml"
"$FORGE" play "$WORK/src" --frontend headless --seed 1 --keys "0V" \
  --dump-screen "$WORK/saved.txt" || fail "play without --at exited $?"
grep -q "北に 4" "$WORK/saved.txt" && grep -q "東に 3" "$WORK/saved.txt" ||
  fail "not on the roster's square"

# --party: another roster, here one with characters but no party: the first
# sound characters in town (Cato, brought back to town) form it.
sed -e '/^\[party\]/,/^$/d' -e 's/^left_on_floor = 1$/left_on_floor = 0/' \
  -e 's/^hp = 0$/hp = 20/' "$SOURCE/roster.toml" >"$WORK/party.toml"
"$FORGE" play "$WORK/src" --party "$WORK/party.toml" --at 1,4,2 --frontend headless --seed 1 \
  --keys "0V" --dump-screen "$WORK/party.txt" || fail "play --party exited $?"
grep -q "東に 4" "$WORK/party.txt" && grep -q "北に 2" "$WORK/party.txt" ||
  fail "the formed party is not on (4, 2)"

# --keys-file: the keys of a file follow the typed-ahead ones.
printf '0V' >"$WORK/keys.txt"
"$FORGE" play "$WORK/src" --at 1,3,2,south --frontend headless --seed 1 --keys-file "$WORK/keys.txt" \
  --dump-screen "$WORK/file.txt" || fail "play --keys-file exited $?"
grep -q "南を向いています" "$WORK/file.txt" || fail "--keys-file keys were not typed"

set +e
# A roster with a problem names its line and the character.
sed -e 's/^hp = 20$/hp = "many"/' "$WORK/party.toml" >"$WORK/bad-party.toml"
"$FORGE" play "$WORK/src" --party "$WORK/bad-party.toml" --frontend headless 2>"$WORK/err"
[ $? = 1 ] && grep -q "bad-party.toml:[0-9]*: character 3 \"Cato\" hp" "$WORK/err" ||
  fail "a bad --party roster: $(cat "$WORK/err")"
"$FORGE" play "$WORK/src" --at 2,5 --frontend headless 2>"$WORK/err"
[ $? = 2 ] && grep -q "FLOOR,X,Y" "$WORK/err" || fail "a bad --at was accepted"
"$FORGE" play "$WORK/src" --at 9,1,1 --frontend headless 2>"$WORK/err"
[ $? = 1 ] && grep -q "no floor 9" "$WORK/err" || fail "a floor without a file was accepted"
sed -i 's/^party_size = 6/party_size = "six"/' "$WORK/src/scenario.toml"
"$FORGE" play "$WORK/src" --frontend headless 2>"$WORK/err"
[ $? = 1 ] && grep -q "party_size" "$WORK/err" || fail "a bad source was played"
set -e
[ -z "$(ls -A "$TMPDIR")" ] || fail "a failed try left its folder: $(ls -A "$TMPDIR")"
