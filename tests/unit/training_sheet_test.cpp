#include <gtest/gtest.h>

#include "game/character/sheet.h"
#include "game/state/packed.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;
using rt::rowText;

void fillStatusNames(Game& g) {
  const char* names[] = {"",     "正常", "眠り", "麻痺", "毒",
                         "石化", "死亡", "霊魂", "消失", "迷宮内"};
  for (int i = 0; i < 10; ++i) g.StatusName(i) = rt::toShiftJis(names[i]);
}

// The text of `row` from `column` on.
std::string textFrom(GameFixture& t, int row, int column) {
  const std::string text = rowText(t.con.text(), row);
  return text.size() > static_cast<size_t>(column) ? text.substr(column) : std::string();
}

void look(GameFixture& t, int slot) {
  t.g.SysWord(ActingSlot) = static_cast<float>(slot);
  LOOK(t.g);
}

TEST(CharacterSheet, ShowsCombinedStatesAndNothingForTheLost) {
  GameFixture t;
  Game& g = t.g;
  fillStatusNames(g);
  g.CharName(0) = "A";
  g.CharRec(0, Status) = 1101;  // poisoned and paralysed
  g.CharRec(0, LevelAndFloor) = 1;
  look(t, 0);
  EXPECT_EQ(textFrom(t, 2, 59), "毒  麻痺"_sj);
  EXPECT_EQ(textFrom(t, 0, 59), "街にいる"_sj);

  g.CharRec(0, Status) = status::Lost;
  g.ItemTable(1, ItemRegeneration) = 53;  // regenerates, but the lost show no mark
  g.Setting(ItemSlots) = 8;
  g.CharRec(0, FirstItemSlot) = 1;
  look(t, 0);
  EXPECT_EQ(textFrom(t, 2, 65), "消失"_sj);
  EXPECT_EQ(textFrom(t, 0, 59), "");
  EXPECT_EQ(rowText(t.con.text(), 2).substr(28, 1), " ");

  g.CharRec(0, Status) = 1;
  g.CharRec(0, Kills) = 30001;
  look(t, 0);
  EXPECT_EQ(rowText(t.con.text(), 2).substr(28, 1), "+");
  EXPECT_EQ(textFrom(t, 5, 56), "倒したモンスター  GREAT"_sj);
}

TEST(CharacterSheet, StoresArmourClassOnlyForPartyMembers) {
  GameFixture t;
  Game& g = t.g;
  g.Setting(ItemSlots) = 8;
  g.Setting(ArmourAndTrapDamage) = 2000;         // natural armour: one point per two levels
  g.ClassTable(6, ClassSkills) = 10011;          // combat and thief
  g.ItemTable(2, ItemKindAndArmour) = 4600 + 6;  // kind 6, armour class -4
  for (int c : {0, 1}) {
    g.CharRec(c, Status) = 1;
    g.CharRec(c, Identity) = 6;
    g.CharRec(c, LevelAndFloor) = 7;
  }
  g.GameState(MemberCount) = 1;
  g.GameState(FirstMember) = 2;  // slot 1 marches first
  g.BattleParty(0, BattleArmourClass) = 99;
  look(t, 0);
  EXPECT_EQ(g.BattleParty(0, BattleArmourClass), 99.0f);  // not a member: no battle row touched
  EXPECT_EQ(textFrom(t, 5, 2).substr(0, 9), "ＡＣ   5 "_sj);

  // The sheet counts any equipped item as worn, so no natural armour.
  g.CharRec(1, FirstItemSlot) = 1002;
  look(t, 1);
  EXPECT_EQ(g.BattleParty(0, BattleArmourClass), 6.0f);
}

TEST(ItemBlock, FiveToARowWithTenSlotsAndTheOddOneFirst) {
  GameFixture t;
  Game& g = t.g;
  g.Setting(NoIdentification) = 1;
  for (int i = 1; i <= 10; ++i) g.ItemName(i, 0) = "I" + std::to_string(i);
  g.CharRec(0, Status) = 1;
  for (int j = 0; j < 10; ++j) g.CharRec(0, FirstItemSlot + j) = static_cast<float>(j + 1);
  g.Setting(ItemSlots) = 10;
  IHYJ(g);
  EXPECT_EQ(rowText(t.con.text(), 7),
            " I1              I2              I3              I4              I5");
  EXPECT_EQ(rowText(t.con.text(), 8).substr(0, 4), " I6 ");

  // Nine slots: five on the first row, four below, none on top of another.
  g.Setting(ItemSlots) = 9;
  IHYJ(g);
  EXPECT_EQ(rowText(t.con.text(), 7).substr(65), "I5");
  EXPECT_EQ(rowText(t.con.text(), 8).substr(49), "I9");
  g.Setting(ItemSlots) = 1;
  IHYJ(g);
  EXPECT_EQ(rowText(t.con.text(), 7), std::string(7, ' ') + "I1");
}

}  // namespace
}  // namespace kestrun::game
