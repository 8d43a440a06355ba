#include "game/battle/trap_list.h"

#include "game/state/fields.h"
#include "game/state/game.h"
#include "runtime/sjis.h"

namespace kestrun::game {

namespace {

constexpr int kTraps = 15;

// What each chest trap does, as the window words it.
constexpr const char* kEffects[kTraps] = {
    "罠の解除を試みた者が毒に侵される",
    "罠の解除を試みた者がダメージを受ける",
    "全員が少しのダメージを受ける",
    "何人かが毒に侵される",
    "何人かがダメージを受ける",
    "モンスターを呼び寄せる",
    "魔法呪文の使い手が麻痺･石化する",
    "神聖呪文の使い手が麻痺･石化する",
    "盗族技能の使い手が麻痺･石化する",
    "どこか別の場所へテレポートされる",
    "何人かがアイテムを失う",
    "何人かが呪文の残りが減少する",
    "罠の解除を試みた者の年齢が増加する",
    "誰か１人の能力値が減少する",
    "誰か１人が霊魂となる",
};

}  // namespace

void WND(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  int row = 3;
  for (int t = 0; t < kTraps; ++t) {
    if (rt::MOD(g.TrapTable(t, TrapExists), 10) != 1) continue;
    con.LOCATE(9, row);
    con.PRINT(g.TrapName(t));
    con.LOCATE(39, row);
    con.PRINT(rt::toShiftJis(kEffects[t]));
    ++row;
  }
  con.LOCATE(29, 22);
  con.PRINT("Hit Any Key");
  g.KeyAnswer = con.waitKey();
}

}  // namespace kestrun::game
