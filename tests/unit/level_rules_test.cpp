#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "game/character/levels.h"
#include "game/state/game.h"
#include "game_fixture.h"

namespace kestrun::game {
namespace {

// The threshold LVCALC gives a character of class 2 at `level`.
int32_t thresholdAt(Game& g, int level) {
  g.CharRec(3, Identity) = 2;
  g.CharRec(3, LevelAndFloor) = static_cast<float>(level);
  g.SysWord(ActingSlot) = 3;
  LVCALC(g);
  return g.WorkLong(0);
}

TEST(ExperienceThreshold, GrowsByTheFactorThenByAConstantStep) {
  GameFixture t;
  Game& g = t.g;
  g.ClassTable(2, ClassExpBase) = 1000;
  g.ClassExpFactor(2) = 1.5f;
  g.Setting(LinearLevel) = 10;
  // Each product is rounded on the way, ties to even: 5062.5 -> 5062,
  // 7593 x 1.5 = 11389.5 -> 11390.
  const std::vector<int32_t> geometric = {1000, 1500,  2250,  3375,  5062,
                                          7593, 11390, 17085, 25628, 38442};
  for (int level = 1; level <= 10; ++level) {
    EXPECT_EQ(thresholdAt(g, level), geometric[level - 1]) << "level " << level;
  }
  const int32_t step = 38442 - 25628;
  EXPECT_EQ(thresholdAt(g, 11), 38442 + step);
  EXPECT_EQ(thresholdAt(g, 12), 38442 + 2 * step);
  EXPECT_EQ(thresholdAt(g, 13), 38442 + 3 * step);
  // The level field's floor digits do not count.
  g.CharRec(3, LevelAndFloor) = 5003;
  LVCALC(g);
  EXPECT_EQ(g.WorkLong(0), 2250);
}

TEST(ExperienceThreshold, FirstLevelNeedsTheBaseAndHugeThresholdsStayUnreachable) {
  GameFixture t;
  Game& g = t.g;
  g.ClassTable(2, ClassExpBase) = 777;
  g.ClassExpFactor(2) = 3;
  g.Setting(LinearLevel) = 0;
  EXPECT_EQ(thresholdAt(g, 1), 777);
  g.Setting(LinearLevel) = 1;
  EXPECT_EQ(thresholdAt(g, 1), 777);

  g.ClassExpFactor(2) = 10;
  g.Setting(LinearLevel) = 30;
  EXPECT_EQ(thresholdAt(g, 20), std::numeric_limits<int32_t>::max());
}

void giveGold(Game& g, int position, int slot, int32_t gold) {
  g.GameState(MemberCount) = static_cast<float>(position);
  g.GameState(position) = static_cast<float>(slot + 1);
  g.CharLong(slot, Gold) = gold;
}

TEST(GoldPooling, MovesAllGoldToOneMemberUnlessItPassesTheCap) {
  GameFixture t;
  Game& g = t.g;
  giveGold(g, 1, 4, 100);
  giveGold(g, 2, 0, 250);
  giveGold(g, 3, 7, 5);
  g.CharLong(1, Gold) = 9999;  // not a member
  g.SysWord(ActingSlot) = 7;
  GTAK(g);
  EXPECT_EQ(g.CharLong(7, Gold), 355);
  EXPECT_EQ(g.CharLong(4, Gold), 0);
  EXPECT_EQ(g.CharLong(0, Gold), 0);
  EXPECT_EQ(g.CharLong(1, Gold), 9999);

  g.CharLong(4, Gold) = 999999645;  // exactly the cap together
  g.SysWord(ActingSlot) = 0;
  GTAK(g);
  EXPECT_EQ(g.CharLong(0, Gold), 1000000000);
  EXPECT_EQ(g.CharLong(4, Gold), 0);

  g.CharLong(4, Gold) = 1;  // one above: nobody's gold moves
  GTAK(g);
  EXPECT_EQ(g.CharLong(0, Gold), 1000000000);
  EXPECT_EQ(g.CharLong(4, Gold), 1);
}

TEST(ItemBreaking, LeavesTheRemainsCarriedAndKeepsOnlyTheIdentifiedMark) {
  GameFixture t;
  Game& g = t.g;
  g.Setting(ItemSlots) = 8;
  g.ItemTable(5, ItemWeightAndBreak) = 704;  // breaks into item 7, weighs 4
  g.ItemTable(6, ItemWeightAndBreak) = 3;    // breaks into nothing
  g.SysWord(ActingSlot) = 2;
  g.CharRec(2, FirstItemSlot) = 11005;     // identified and worn
  g.CharRec(2, FirstItemSlot + 1) = 1005;  // worn, not identified
  g.CharRec(2, FirstItemSlot + 2) = 10006;
  g.CharRec(2, FirstItemSlot + 3) = 6;
  for (int slot = 1; slot <= 4; ++slot) {
    g.SysWord(BreakingSlot) = static_cast<float>(slot);
    ITBR(g);
  }
  EXPECT_EQ(g.CharRec(2, FirstItemSlot), 10007);
  EXPECT_EQ(g.CharRec(2, FirstItemSlot + 1), 7);
  EXPECT_EQ(g.CharRec(2, FirstItemSlot + 2), 10000);
  EXPECT_EQ(g.CharRec(2, FirstItemSlot + 3), 0);

  g.Setting(NoIdentification) = 1;  // nothing needs identifying
  g.CharRec(2, FirstItemSlot + 1) = 1005;
  g.SysWord(BreakingSlot) = 2;
  ITBR(g);
  EXPECT_EQ(g.CharRec(2, FirstItemSlot + 1), 10007);
}

void addMember(Game& g, int slot, float status) {
  const int position = static_cast<int>(g.GameState(MemberCount)) + 1;
  g.GameState(MemberCount) = static_cast<float>(position);
  g.GameState(position) = static_cast<float>(slot + 1);
  g.CharRec(slot, Status) = status;
  g.CharRec(slot, LevelAndFloor) = 3004;  // level 4, left on floor 3
  g.CharRec(slot, LeftAt) = 10503;
  g.CharRec(slot, ArmourModifier) = -2;
}

TEST(ReturnToTown, ClearsTheDungeonStateAndHealsAsTheScenarioSays) {
  GameFixture t;
  Game& g = t.g;
  for (int n = 9; n <= 18; ++n) g.GameState(n) = static_cast<float>(n);
  addMember(g, 0, 1001);   // poisoned
  addMember(g, 1, 20000);  // dead
  addMember(g, 2, 101);    // paralysed
  addMember(g, 3, 1101);   // both
  addMember(g, 4, 1);
  g.Setting(PoisonCharge) = 0;     // poison is healed on the way home
  g.Setting(ParalysisCharge) = 0;  // and so is paralysis
  KIKAN(g);
  for (int n = 9; n <= 18; ++n) EXPECT_EQ(g.GameState(n), 0) << n;
  EXPECT_EQ(g.GameState(MemberCount), 4);
  EXPECT_EQ(g.GameState(FirstMember), 1);
  EXPECT_EQ(g.GameState(FirstMember + 1), 3);
  EXPECT_EQ(g.GameState(FirstMember + 2), 4);
  EXPECT_EQ(g.GameState(FirstMember + 3), 5);
  EXPECT_EQ(g.GameState(FirstMember + 4), 0);
  for (int c : {0, 2, 3, 4}) EXPECT_EQ(g.CharRec(c, Status), 1) << c;
  for (int c = 0; c <= 4; ++c) {
    EXPECT_EQ(g.CharRec(c, LevelAndFloor), 4) << c;
    EXPECT_EQ(g.CharRec(c, LeftAt), 0) << c;
    EXPECT_EQ(g.CharRec(c, ArmourModifier), 0) << c;
  }
  EXPECT_EQ(g.CharRec(1, Status), 20000);
}

TEST(ReturnToTown, AilmentsTheTempleChargesForSendTheMemberOutOfTheParty) {
  GameFixture t;
  Game& g = t.g;
  addMember(g, 0, 1001);
  addMember(g, 1, 1);
  addMember(g, 2, 101);
  addMember(g, 3, 1101);
  g.Setting(PoisonCharge) = 20;    // poison stays
  g.Setting(ParalysisCharge) = 0;  // paralysis goes
  KIKAN(g);
  EXPECT_EQ(g.GameState(MemberCount), 2);
  EXPECT_EQ(g.GameState(FirstMember), 2);
  EXPECT_EQ(g.GameState(FirstMember + 1), 3);
  EXPECT_EQ(g.GameState(FirstMember + 2), 0);
  EXPECT_EQ(g.CharRec(0, Status), 1001);
  EXPECT_EQ(g.CharRec(2, Status), 1);
  EXPECT_EQ(g.CharRec(3, Status), 1001);
  EXPECT_EQ(g.CharRec(0, LevelAndFloor), 4);  // in town all the same
}

}  // namespace
}  // namespace kestrun::game
