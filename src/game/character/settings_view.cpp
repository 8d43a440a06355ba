#include "game/character/settings_view.h"

#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kLabelColumn = 21;
constexpr int kValueColumn = 41;

void label(Game& g, int row, const std::string& text) {
  g.con.LOCATE(kLabelColumn, row);
  g.con.PRINT(text);
}

void value(Game& g, int row, const std::string& text) {
  g.con.LOCATE(kValueColumn, row);
  g.con.PRINT(text);
}

const std::string& choose(bool condition, const std::string& yes, const std::string& no) {
  return condition ? yes : no;
}

void waitForKeyAt(Game& g, int column) {
  g.con.LOCATE(column, 23);
  g.con.PRINT("Hit Any Key");
  g.KeyAnswer = g.con.waitKey();
}

void showAlignmentRule(Game& g) {
  if (g.Setting(AlignmentsUsed) == 0) {
    label(g, 7, "善悪の性格"_sj);
    value(g, 7, "使いません"_sj);
    return;
  }
  label(g, 7, "善悪の性格のキャラクターの混在"_sj);
  g.con.LOCATE(55, 7);
  g.con.PRINT(choose(g.Setting(MixedAlignments) == 1, "可能"_sj, "不可能"_sj));
}

void showStatLimit(Game& g) {
  label(g, 9, "能力値         "_sj);
  g.con.LOCATE(kValueColumn, 9);
  if (g.Setting(CreationStatLimit) < 40) {
    g.con.PRINT(g.Setting(CreationStatLimit));
  } else {
    g.con.PRINT("種族固有の能力値 ＋"_sj);
    g.con.PRINT(rt::toSingle(g.Setting(CreationStatLimit) - 50.0));
  }
  g.con.PRINT(" まで"_sj);
}

void showGeneralRules(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  con.COLOR(6);
  label(g, 1, "地下迷宮"_sj);
  value(g, 1, "地下"_sj);
  con.PRINT(g.Setting(DeepestFloor));
  con.PRINT("階まで"_sj);
  label(g, 3, "パーティの人数"_sj);
  con.LOCATE(kValueColumn, 3);
  con.PRINT(g.Setting(PartySize));
  con.PRINT(" 人"_sj);
  con.LOCATE(27, 5);
  con.PRINT("( 前衛 "_sj);
  con.PRINT(g.Setting(FrontRank));
  con.PRINT(" 人      後衛 "_sj);
  con.PRINT(rt::toSingle(g.Setting(PartySize) - g.Setting(FrontRank)));
  con.PRINT(" 人 )"_sj);
  showAlignmentRule(g);
  showStatLimit(g);
  label(g, 11, "ＡＣ"_sj);
  value(g, 11, choose(g.Setting(ArmourAffectsHits) == 1, "命中率に影響"_sj, "ダメージに影響"_sj));
  label(g, 13, "武器の射程"_sj);
  value(g, 13, choose(g.Setting(WeaponRange) == 1, "あり"_sj, "なし"_sj));
  label(g, 15, "アイテムの重量"_sj);
  value(g, 15, choose(g.Setting(ItemWeight) == 1, "あり"_sj, "なし"_sj));
  label(g, 17, "クラスの変更"_sj);
  value(g, 17, choose(g.Setting(ClassChangeBarred) == 0, "可能"_sj, "不可能"_sj));
  label(g, 19, "呪文の種類"_sj);
  value(g, 19, "系統に分かれて"_sj + choose(g.Setting(SpellSchools) == 1, "いる"_sj, "いない"_sj));
  label(g, 21, "モンスターの解呪"_sj);
  value(g, 21,
        "経験値を"_sj + choose(g.Setting(DispelExperience) == 0, "得られない"_sj, "得られる"_sj));
  waitForKeyAt(g, 33);
}

void showClassHeader(Game& g) {
  rt::Console& con = g.con;
  static const char* const lines[] = {
      "    　　    戦  神　魔　盗　　  　    必要能力値",
      "            闘　聖　法　族",
      "名称        技　呪　呪　技    　体 健 知 信 敏 器 幸 魅",
      "  　        能  文　文  能  　  力 康 識 仰 捷 用 運 力",
  };
  con.CLS();
  con.COLOR(7);
  con.LOCATE(1, 0);
  con.PRINT("選択可能なクラス"_sj);
  con.COLOR(6);
  for (int i = 0; i < 4; ++i) {
    con.LOCATE(5, 2 + i);
    con.PRINT(rt::toShiftJis(lines[i]));
  }
  if (g.Setting(AlignmentsUsed) == 0) return;
  con.LOCATE(64, 3);
  con.PRINT("選択可能な性格"_sj);
  con.LOCATE(65, 5);
  con.PRINT("善　中立　悪"_sj);
}

void showClassLine(Game& g, int c, int n) {
  rt::Console& con = g.con;
  const int row = n + 6;
  con.LOCATE(0, row);
  con.PRINT_USING("##", {static_cast<int16_t>(n)});
  con.LOCATE(4, row);
  con.PRINT(g.ClassName(c));
  for (int skill = 0; skill < 4; ++skill) {
    if (digit(g.ClassTable(c, ClassSkills), 4 - skill) != 1) continue;
    con.LOCATE(17 + 4 * skill, row);
    con.PRINT("Ｏ"_sj);
  }
  for (int s = 1; s <= StatCount; ++s) {
    con.COLOR(g.Setting(FirstStatUsed + s - 1) == 1 ? 6 : 2);
    con.LOCATE(3 * s + 34, row);
    if (g.ClassTable(c, FirstMinimumStat + s - 1) > 0) {
      con.PRINT_USING("##", {g.ClassTable(c, FirstMinimumStat + s - 1)});
    } else {
      con.PRINT("＊"_sj);
    }
  }
  con.COLOR(6);
  if (g.Setting(AlignmentsUsed) == 0) return;
  for (int a = 1; a <= 3; ++a) {
    if (g.ClassTable(c, FirstAlignmentBar + a - 1) != 0) continue;
    con.LOCATE(5 * a + 60, row);
    con.PRINT("Ｏ"_sj);
  }
}

void showClasses(Game& g) {
  showClassHeader(g);
  int listed = 0;
  for (int c = 0; c < 15; ++c) {
    if (rt::MOD(g.ClassTable(c, ClassSkills), 10) != 0) showClassLine(g, c, ++listed);
  }
  waitForKeyAt(g, 29);
}

}  // namespace

void SETUMEI(Game& g) {
  showGeneralRules(g);
  showClasses(g);
}

}  // namespace kestrun::game
