#include "game/character/status_panel.h"

#include "game/character/battle_values.h"
#include "game/character/carried_items.h"
#include "game/character/money.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

bool inTown(const Game& g) {
  return g.GameState(FloorAndFacing) < 100;
}

// The state word of the dead, spirits and the lost (its StatusName index), or
// 0 for everyone else.
int deathWord(float code) {
  if (code == status::Lost) return 8;
  if (code == status::Spirit) return 7;
  if (code == status::Dead) return 6;
  return 0;
}

// The state words of a member in the dungeon, from column 68.
void showState(Game& g, int c, int row) {
  rt::Console& con = g.con;
  const float code = g.CharRec(c, Status);
  con.LOCATE(69, row);
  if (const int word = deathWord(code); word != 0) {
    con.PRINT(g.StatusName(word));
    return;
  }
  const bool poisoned = digit(code, 3) == 1;
  if (poisoned) {
    con.PRINT(g.StatusName(4));
    con.LOCATE(73, row);
  }
  if (code >= status::Petrified) {
    con.PRINT(g.StatusName(5));
    return;
  }
  if (digit(code, 2) == 1) {
    con.PRINT(g.StatusName(3));
  } else if (code == status::Normal) {
    con.PRINT(g.StatusName(1));
  }
  if (poisoned) {
    con.LOCATE(68, row);
    con.PRINT("-");
  }
}

void showMember(Game& g, int p) {
  rt::Console& con = g.con;
  const int c = rt::toInt32(g.GameState(p)) - 1;
  const int row = rt::toInt32(g.SysWord(PanelRow)) + p;
  con.LOCATE(0, row);
  con.PRINT(rt::SPACE(79));
  con.LOCATE(13, row);
  con.PRINT(g.CharName(c));
  if (g.Setting(AlignmentsUsed) == 1) {
    con.LOCATE(31, row);
    con.PRINT(g.AlignmentLetter(alignmentOf(g, c)));
  }
  con.LOCATE(35, row);
  con.PRINT(g.ClassName(classOf(g, c)));
  con.LOCATE(49, row);
  con.PRINT(rt::toSingle(g.BattleParty(p - 1, BattleArmourClass) - g.CharRec(c, ArmourModifier)));
  con.LOCATE(55, row);
  con.PRINT_USING("####@", {g.CharRec(c, HitPoints), std::string(" /")});
  con.LOCATE(61, row);
  con.PRINT(g.CharRec(c, MaxHitPoints));
  if (!inTown(g)) showState(g, c, row);
}

}  // namespace

void HYOJI(Game& g) {
  CCHEC3(g);
  g.con.COLOR(6);
  const int members = rt::toInt32(g.GameState(MemberCount));
  for (int p = 1; p <= members; ++p) showMember(g, p);
}

void HYOJI1(Game& g) {
  if (g.SysWord(DisplayMode) == 2) return;
  rt::Console& con = g.con;
  con.COLOR(6);
  const int members = rt::toInt32(g.GameState(MemberCount));
  for (int p = 1; p <= members; ++p) {
    const int c = rt::toInt32(g.GameState(p)) - 1;
    const int row = 15 + p;
    con.LOCATE(55, row);
    con.PRINT(rt::SPACE(4));
    con.LOCATE(55, row);
    con.PRINT_USING("####", {g.CharRec(c, HitPoints)});
    if (g.CharRec(c, Status) < status::Dead) continue;
    con.LOCATE(69, row);
    con.PRINT(rt::SPACE(8));
    con.LOCATE(69, row);
    if (const int word = deathWord(g.CharRec(c, Status)); word != 0) con.PRINT(g.StatusName(word));
  }
}

void HYOJI2(Game& g) {
  rt::Console& con = g.con;
  const int c = rt::toInt32(g.SysWord(ActingSlot));
  for (int row = 4; row <= 22; ++row) {
    con.LOCATE(0, row);
    con.PRINT(rt::SPACE(80));
  }
  con.LOCATE(0, 23);
  con.PRINT(rt::SPACE(79));
  const float percent = pricePercent(g, c, rt::toInt32(g.SysWord(ItemListMode)));
  int listed = 0;
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const float value = itemSlot(g, c, slot);
    const int item = itemNumber(value);
    if (item == 0) continue;
    ++listed;
    const int row = 3 + slot;
    con.COLOR(7);
    con.LOCATE(24, row);
    con.PRINT_USING("##", {static_cast<int16_t>(slot)});
    con.COLOR(6);
    con.LOCATE(29, row);
    con.PRINT(g.ItemName(item, isIdentified(value) || !identificationUsed(g) ? 0 : 1));
    if (isEquipped(value)) {
      con.LOCATE(28, row);
      con.PRINT("*");
    }
    con.LOCATE(47, row);
    con.PRINT_USING("#########", {rt::toInt32(chargedAmount(itemPrice(g, item), percent))});
  }
  g.SysWord(ListedItems) = static_cast<float>(listed);
}

void HYOJI3(Game& g) {
  rt::Console& con = g.con;
  con.COLOR(7);
  const int members = rt::toInt32(g.GameState(MemberCount));
  for (int p = 1; p <= members; ++p) {
    con.LOCATE(10, rt::toInt32(g.SysWord(PanelRow)) + p);
    con.PRINT_USING("#", {static_cast<int16_t>(p)});
  }
  con.COLOR(6);
}

void HYOJI4(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  con.LOCATE(19, 11);
  con.PRINT("移動先のマップデータファイルがありません"_sj);
  con.LOCATE(23, 13);
  con.PRINT("プログラムを終了します"_sj);
  con.LOCATE(15, 16);
  con.PRINT("ここまでのキャラクターデータをＳＡＶＥしますか ?"_sj);
  con.LOCATE(33, 18);
  con.PRINT("Hit Y - N Key");
}

}  // namespace kestrun::game
