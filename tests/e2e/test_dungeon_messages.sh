# Words on the squares: a floor text seen from one direction, a message
# file, a picture, and a riddle that is answered wrong, asked again without
# a step, and answered right; missing files show nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dungeon_lib.sh"

dungeon messages
sed -i 's/^message_time = 0/message_time = 1000/' "$SRC/roster.toml"
build
# The text at (0, 1) is seen facing north: again after turning back to
# it, not while facing east.
play words "${ENTER}8 6 4 8 8 8 LOCK{Enter} KEYSTONE{Enter}V"
check_golden "$WORK/words.trace" dungeon-messages.trace
[ "$(grep -c "北を見よ" "$WORK/words.trace")" = 2 ] || fail "the floor text was not shown twice"
grep -q "「鐘を鳴らす者に道は開く」" "$WORK/words.trace" || fail "the message file was not listed"
[ "$(grep -c "答は何ですか ?" "$WORK/words.trace")" = 2 ] || fail "the riddle was not asked twice"
grep -q "違います" "$WORK/words.trace" || fail "the wrong answer was not refused"
grep -q "正解です" "$WORK/words.trace" || fail "the right answer was not accepted"
shows words "北に 5"
shows words "東に 5"
# The picture is drawn stretched to 120 x 120 at (260, 155) over the view,
# and stays there while the party waits.
build
play picture "${ENTER}8 8 8" --dump-png "$WORK/picture.png"
check_golden "$WORK/picture.png" dungeon-picture.png

# Without their files the message and picture squares are quiet.
dungeon messages
build
rm "$GAME/1C.DAT" "$GAME/1G.BMP"
play missing "${ENTER}8 88"
grep -q "Hit Any Key" "$WORK/missing.txt" && fail "a missing file left its prompt"
shows missing "Aldo"
