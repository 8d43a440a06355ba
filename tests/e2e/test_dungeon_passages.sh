# Stairs, the elevator and teleports: between floors, on the same floor,
# home to town, by key item; a floor that turns the party away, a floor
# file that is missing, and a first floor without up stairs.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dungeon_lib.sh"

where() {
  shows "$1" "地下 $2 階"
  shows "$1" "北に $4"
  shows "$1" "東に $3"
}

# Down the stairs at (0, 2) to (0, 2) of floor 2; its elevator takes the
# party back to floor 1, where the elevator stands on the same square. A
# floor outside the elevator's range is asked again.
dungeon stairs lower
build
play elevator "${ENTER}88y83{Enter}1{Enter}V"
check_golden "$WORK/elevator.trace" dungeon-stairs-elevator.trace
where elevator 1 0 3
shows elevator "北を向いています"
[ "$(grep -c "どの階へ行きますか ?" "$WORK/elevator.trace")" = 2 ] || fail "floor 3 was not asked again"

# The elevator to its own floor stays; back up the stairs from floor 2.
build
play up "${ENTER}88y82{Enter}28yV"
where up 1 0 2
shows up "南を向いています"

# Up the stairs of floor 1 is the way home (the town's key 0 saves).
build
play home "D{Enter}70y"
shows home "どこへ行きますか ?"
shows home "７　地下迷宮に入る"
build
play home-saved "D{Enter}70y0"
roster | grep -q "party: 3 member(s), in town" || fail "the party did not come home"
[ "$(roster | grep -c "left on floor")" = 2 ] || fail "members are still marked as in the dungeon"

# A teleport on the same floor, then code 18 from (5, 6) to (9, 9).
dungeon teleports lower
build
play jump "${ENTER}8V"
where jump 1 5 5
build
play jump18 "${ENTER}88V"
where jump18 1 9 9
# To town, and to floor 2.
build
play town "${ENTER}480"
roster | grep -q "in town" || fail "the teleport to floor 0 did not bring the party home"
build
play floor2 "${ENTER}28V"
where floor2 2 3 3

# Eve carries the silver key: code 12 at (2, 0) lets the party stand, code
# 16 at (1, 1) takes it away; without the key it is the other way round.
build
play keep "${ENTER}688V"
where keep 1 2 0
build
play keyed "${ENTER}6848V"
where keyed 1 9 9
sed -i 's/^items = \["銀の鍵"\]/items = []/' "$SRC/roster.toml"
build
play unkeyed "${ENTER}688V"
where unkeyed 1 5 5
build
play unkeyed16 "${ENTER}6848V"
where unkeyed16 1 1 1

# A floor that turns neutral characters away sends the whole party home.
dungeon stairs lower
printf '\n[header]\nalignment_rule = 1\n' >>"$SRC/floor-2.toml"
build
play turned "${ENTER}88y0"
roster | grep -q "party: 3 member(s), in town" || fail "the party was not sent home"

# The floor file below is missing: "N" ends without saving, "Y" saves the
# party on the square it left.
dungeon stairs lower
build
rm "$GAME/D-2F.DAT"
play missing "${ENTER}88y"
shows missing "移動先のマップデータファイルがありません"
shows missing "ここまでのキャラクターデータをＳＡＶＥしますか ?"
build
rm "$GAME/D-2F.DAT"
play missing-yes "${ENTER}88yy"
roster | grep -q "on floor 1 at (0, 2) facing north" || fail "the party was not saved where it stood"
build
rm "$GAME/D-2F.DAT"
play missing-no "${ENTER}88yn"
roster | grep -q "on floor 1 at (0, 0) facing north" || fail "the roster was saved after N"

# A floor file cut short is a damaged file, not a missing one: the error
# is shown with its code and the program waits to be closed (status 1).
build
head -c 3000 "$GAME/D-2F.DAT" >"$WORK/cut" && mv "$WORK/cut" "$GAME/D-2F.DAT"
set +e
"$KESTRUN" --frontend headless --dir "$GAME" --seed 1 --keys "${ENTER}88y" --dump-screen "$WORK/cut.txt"
STATUS=$?
set -e
[ "$STATUS" = 1 ] || fail "cut floor file: status $STATUS"
shows cut "ウィンドウを閉じてください"
shows cut " 54 "

# A first floor without up stairs (its file made as floor 2 and carrying
# floor 1's number) refuses the roster and goes back to the title.
dungeon stairs walk
sed -i 's/^  0 | U /  0 |   /' "$SRC/floor-2.toml"
sed -i '1i floor_number = 1' "$SRC/floor-2.toml"
sed -i 's/^message_time = 0/message_time = 1000/' "$SRC/roster.toml"
build
mv "$GAME/D-2F.DAT" "$GAME/D-1F.DAT"
play refused "D{Enter}7"
grep -q "   ＤＡＴＡが違います" "$WORK/refused.trace" || fail "the entry was not refused"
shows refused "シナリオのファイル名は ?"
