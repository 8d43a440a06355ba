# Pits, rockfalls and poison, a party wiped out, and a party in rock; the
# members stay where they fell for a later party to find.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/dungeon_lib.sh"

# Each trap waits for a key; pit and rockfall take a fifth of the maximum
# (half for those who evade), the pool and the mist poison.
dungeon traps
build
play traps "${ENTER}8 8 8 8 "
check_golden "$WORK/traps.trace" dungeon-traps.trace
shows traps "Aldo              Ｇ  戦士           10     19 / 30    -毒"

# With one hit point each the pit kills everybody: each death is told, and
# the party is wiped out. The dead stay on the pit's square.
dungeon traps
sed -i 's/^hp = [0-9]*/hp = 1/' "$SRC/roster.toml"
sed -i 's/^message_time = 0/message_time = 1000/' "$SRC/roster.toml"
build
play wiped "${ENTER}8  "
check_golden "$WORK/wiped.trace" dungeon-wiped-out.trace
[ "$(grep -c " は死んだ" "$WORK/wiped.trace")" -ge 3 ] || fail "the deaths were not told"
grep -q "全員倒れてしまった !" "$WORK/wiped.trace" || fail "no wipe-out"
shows wiped "どこへ行きますか ?"
report="$(roster)"
echo "$report" | grep -q "party: none" || echo "$report" | grep -q "party: 0 member" ||
  fail "the party was not dissolved: $(echo "$report" | head -3)"
[ "$(echo "$report" | grep -c "left on floor 1 at (0, 1) facing north")" = 4 ] ||
  fail "the fallen were not left on the pit (Fay was there before)"
[ "$(echo "$report" | grep -c "^  dead")" = 4 ] || fail "the fallen are not dead"

# Rock makes everyone lost, the dead too.
dungeon squares
sed -i 's/^hp = 30/hp = 0/; s/^name = "Aldo"/&\nstatus = "dead"/' "$SRC/roster.toml"
build
play rock "${ENTER}68 "
grep -q "岩の中にいる !!" "$WORK/rock.trace" || fail "no rock"
shows rock "どこへ行きますか ?"
[ "$(roster | grep -c "^  lost")" = 3 ] || fail "the party in rock is not lost"
[ "$(roster | grep -c "left on floor 1 at (1, 0) facing east")" = 3 ] || fail "the lost were not left in the rock"
