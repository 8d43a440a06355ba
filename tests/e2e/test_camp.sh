# The camp's keys: looking at a member, reordering, disbanding, searching
# for those left on the square, the spell and trap lists, the settings,
# sharing the gold, suspending and resuming from the town menu, and quitting.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dungeon_lib.sh"
CAMP="D{Enter}7"

# Every key that comes back to the camp: 1 (a member's sheet), 2 (Eve,
# Aldo, Cid), 5, 7, 8 with each setting, 9 (111 gold as 37 each), and
# Esc answered no; then suspend, which keeps the party in the roster.
dungeon walk
build
play keys "${CAMP}1100231250{Enter}7 81500{Enter}22223n4309{Esc}n6y"
check_golden "$WORK/keys.trace" camp-keys.trace
grep -q "誰を見ますか ?" "$WORK/keys.trace" || fail "no member was asked for"
grep -q "3 番目は誰にしますか ?" "$WORK/keys.trace" || fail "no reordering"
grep -q "毒針" "$WORK/keys.trace" || fail "no trap list"
grep -q "(現在は 2 )" "$WORK/keys.trace" || fail "the display mode was not changed"
grep -q "本当に終了してよろしいですか ?" "$WORK/keys.trace" || fail "no quit question"
report="$(roster)"
echo "$report" | grep -q "message time: 500" || fail "the message time was not kept"
echo "$report" | grep -q "party: 3 member(s), on floor 1 at (0, 0) facing north" || fail "the party was not kept"
echo "$report" | sed -n 4,6p | grep -q "1. slot 2 Eve" || fail "the order was not changed: $report"
[ "$(echo "$report" | grep -c "gold 37,")" = 3 ] || fail "the gold was not shared"

# Resuming with the town's key 8: the camp, then the party where it was.
play resume "D{Enter}80nV"
grep -q "８　迷宮内でＳＡＶＥしたところから再開" "$WORK/resume.trace" || fail "no key 8"
shows resume "北に 0"
shows resume "東に 0"

# Quitting from the camp saves nothing more.
play quit "D{Enter}8{Esc}y"
grep -q "本当に終了してよろしいですか ?" "$WORK/quit.trace" || fail "no quit question"
[ "$(head -n 24 "$WORK/quit.txt" | grep -c .)" = 0 ] || fail "the program did not end"

# At (0, 1) the party finds dead Bea and Fay, left there in any facing;
# Fay joins. Saying no to disbanding keeps the party; yes leaves the four
# on the square and the town menu follows.
dungeon walk
build
play search "${ENTER}8z412{Enter}3n3y"
grep -q " 2  人見つかりました" "$WORK/search.trace" || fail "Bea and Fay were not found"
grep -q "本当に解散してよろしいですか ?" "$WORK/search.trace" || fail "no disband question"
shows search "どこへ行きますか ?"
report="$(roster)"
echo "$report" | grep -q "party: none\|party: 0 member" || fail "the party was not disbanded: $(echo "$report" | head -4)"
[ "$(echo "$report" | grep -c "left on floor 1 at (0, 1)")" = 5 ] || fail "the four were not left on the square"

# Nobody left here: the search says so (with a pause to be read). A full
# party cannot search.
sed -i 's/^message_time = 0/message_time = 1000/' "$SRC/roster.toml"
build
play nobody "${ENTER}z4"
grep -q "だれも見つかりません" "$WORK/nobody.trace" || fail "the empty search was not told"
sed -i 's/^party_size = 4/party_size = 3/' "$SRC/scenario.toml"
build
play full "${ENTER}8z4"
grep -q "人見つかりました" "$WORK/full.trace" && fail "a full party searched"
shows full "パーティーは休息しています"

# A party of one: 2 and 9 are red and do nothing.
dungeon walk
sed -i 's/^members = .*/members = ["Aldo"]/' "$SRC/roster.toml"
build
play alone "${CAMP}29"
check_golden "$WORK/alone.txt" camp-alone.txt

# Spells cast from the camp: Cid's brings the party home (the town menu
# follows at once); Eve's, aimed off the floor, ends in rock, and aimed two
# floors above the first, throws the party into the sky: wiped out.
dungeon walk
build
play spell-home "${CAMP}1211{Enter}"
shows spell-home "どこへ行きますか ?"
build
play spell-rock "${CAMP}1311{Enter}0{Enter}-1{Enter}0{Enter} "
grep -q "岩の中にいる !!" "$WORK/spell-rock.trace" || fail "the party was not lost in rock"
[ "$(roster | grep -c "^  lost")" = 3 ] || fail "the party in rock is not lost"
build
play spell-sky "${CAMP}1311{Enter}2{Enter}0{Enter}0{Enter} "
grep -q "空中に飛び出してしまった !" "$WORK/spell-sky.trace" || fail "the party did not fly off"
grep -q "全員倒れてしまった !" "$WORK/spell-sky.trace" || fail "the party was not wiped out"
shows spell-sky "どこへ行きますか ?"
