#include "game/town/main_line.h"

#include "game/state/floor_load.h"
#include "game/state/game.h"
#include "game/state/scenario_load.h"
#include "game/town/program_end.h"
#include "game/town/town_menu.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

void startUp(Game& g) {
  g.con.picture().create();
  const double seconds = rt::VAL(rt::RIGHT(rt::TIME(), 2));
  g.con.random().RANDOMIZE(g.seedOverride ? *g.seedOverride : rt::toInt32(seconds));
  g.SysWord(MessageTime) = 777;
}

void fillFixedTexts(Game& g) {
  const char* statuses[] = {"正常", "眠り", "麻痺", "毒", "石化", "死亡", "霊魂", "消失", "迷宮内"};
  for (int i = 0; i < 9; ++i) g.StatusName(i + 1) = rt::toShiftJis(statuses[i]);
  const char* directions[] = {"北", "東", "南", "西"};
  for (int i = 0; i < 4; ++i) g.DirectionName(i) = rt::toShiftJis(directions[i]);
  const char* alignments[] = {"Ｇ", "Ｎ", "Ｅ"};
  for (int i = 0; i < 3; ++i) g.AlignmentLetter(i + 1) = rt::toShiftJis(alignments[i]);
  const char* stats[] = {"体力", "健康", "知識", "信仰", "敏捷", "器用", "幸運", "魅力"};
  for (int i = 0; i < 8; ++i) g.StatName(i) = rt::toShiftJis(stats[i]);
}

void showTitle(Game& g) {
  rt::Console& con = g.con;
  fillFixedTexts(g);
  con.CLS();
  con.COLOR(5);
  con.LOCATE(17, 2);
  con.PRINT("ＶＡＲＮＨＯＬＤ"_sj);
  con.COLOR(6);
  con.LOCATE(34, 6);
  con.PRINT("for WINDOWS 95");
  con.COLOR(7);
  con.LOCATE(63, 3);
  con.PRINT("Ver. 3.1F");
  con.COLOR(4);
  con.LOCATE(65, 5);
  con.PRINT("KESTRUN 2026");
}

// The error handler of the main line. Returns when the game goes back to the
// title screen; the other cases end the program.
void handleError(Game& g, const rt::RuntimeError& error) {
  rt::Console& con = g.con;
  con.files().closeAll();
  if (g.FileContext == 0 || g.FileContext == 1) con.CLS();
  con.LOCATE(19, 11);
  con.PRINT(rt::SPACE(50));
  con.LOCATE(23, 11);
  if (error.code() != rt::err::FileNotFound) closeWithError(g, error);
  if (g.SysWord(FloorReading) == 2) missingFloorDialogue(g);
  con.PRINT("その名のシナリオはありません"_sj);
  con.LOCATE(33, 15);
  con.PRINT("Hit Any Key");
  g.KeyAnswer = con.waitKey();
}

}  // namespace

void runMainLine(Game& g) {
  rt::ModuleScope module("Kestmain");
  startUp(g);
  for (;;) {
    try {
      showTitle(g);
      if (LoadScenario(g)) TownMenu(g);
    } catch (const rt::RuntimeError& error) {
      handleError(g, error);
    }
  }
}

}  // namespace kestrun::game
