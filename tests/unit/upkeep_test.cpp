#include "game/character/upkeep.h"

#include <gtest/gtest.h>

#include "game/character/party_members.h"
#include "game/state/fields.h"
#include "game_fixture.h"

namespace kestrun::game {
namespace {

constexpr int kHerb = 5;   // heals 3 a step
constexpr int kCurse = 6;  // drains 4 a step

// A party of `members` sound characters named A, B, ... with 40 of 50 hit
// points, Health and Luck 1, four item slots; item 0 does nothing.
void setUpParty(Game& g, int members) {
  g.Setting(ItemSlots) = 4;
  g.SysWord(StatScale) = 18;
  g.SysWord(DisplayMode) = 0;
  g.ItemTable(0, ItemRegeneration) = 50;
  g.ItemTable(kHerb, ItemRegeneration) = 53;
  g.ItemTable(kCurse, ItemRegeneration) = 46;
  for (int c = 0; c < members; ++c) {
    g.CharName(c) = std::string(1, static_cast<char>('A' + c));
    g.CharRec(c, Status) = 1;
    g.CharRec(c, HitPoints) = 40;
    g.CharRec(c, MaxHitPoints) = 50;
    g.CharRec(c, FirstStatPair) = 101;
    g.CharRec(c, FirstStatPair + 3) = 100;
    joinParty(g, c);
  }
}

std::vector<int> order(const Game& g) {
  std::vector<int> slots;
  for (int p = 1; p <= partySize(g); ++p) slots.push_back(memberSlot(g, p));
  return slots;
}

TEST(StepUpkeepRules, PoisonTakesATenthOrTwoThirdsOfItAndAtLeastOne) {
  EXPECT_EQ(poisonDamage(50, 3, 10), 5);
  EXPECT_EQ(poisonDamage(50, 30, 10), 3);
  EXPECT_EQ(poisonDamage(9, 3, 10), 1);
  EXPECT_EQ(poisonDamage(9, 30, 10), 1);
  EXPECT_EQ(weakLine(50), 11);
  EXPECT_EQ(weakLine(49), 10);
}

TEST(StepUpkeepRules, RegenerationSumsEverySlotEquippedOrNot) {
  GameFixture t;
  setUpParty(t.g, 1);
  t.g.CharRec(0, FirstItemSlot) = kHerb;
  t.g.CharRec(0, FirstItemSlot + 1) = 1000 + kCurse;
  t.g.CharRec(0, FirstItemSlot + 2) = kHerb;
  const Regeneration r = regenerationOf(t.g, 0);
  EXPECT_EQ(r.plus, 6);
  EXPECT_EQ(r.minus, -4);
}

TEST(StepUpkeep, AHealingItemKeepsPoisonAwayOnlyBelowAFifth) {
  GameFixture t;
  setUpParty(t.g, 2);
  for (int c = 0; c < 2; ++c) {
    t.g.CharRec(c, Status) = 1001;
    t.g.CharRec(c, FirstItemSlot) = kHerb;
  }
  t.g.CharRec(0, HitPoints) = 10;
  t.g.CharRec(1, HitPoints) = 11;
  CCHEC(t.g);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 10);
  EXPECT_LT(t.g.CharRec(1, HitPoints), 11);
  // The healing itself is only recorded for the battle.
  EXPECT_EQ(t.g.BattleParty(0, RegenerationTotal), 3);
}

TEST(StepUpkeep, ADrainWorksOnlyWhileAFifthIsLeft) {
  GameFixture t;
  setUpParty(t.g, 2);
  for (int c = 0; c < 2; ++c) t.g.CharRec(c, FirstItemSlot) = kCurse;
  t.g.CharRec(0, HitPoints) = 11;
  t.g.CharRec(1, HitPoints) = 10;
  CCHEC(t.g);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 7);
  EXPECT_EQ(t.g.CharRec(1, HitPoints), 10);
}

TEST(StepUpkeep, PoisonBelowZeroKillsAndTheDeadMoveBack) {
  GameFixture t;
  setUpParty(t.g, 2);
  t.g.CharRec(0, Status) = 1001;
  t.g.CharRec(0, MaxHitPoints) = 200;
  t.g.CharRec(0, HitPoints) = 3;
  t.g.CharRec(0, FirstStatPair) = 0;
  t.g.CharRec(0, FirstStatPair + 3) = 0;
  CCHEC(t.g);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 0);
  EXPECT_EQ(t.g.CharRec(0, Status), 20000);
  EXPECT_EQ(order(t.g), (std::vector<int>{1, 0}));
}

TEST(PartyCleanUp, TheLostLeaveWithTheirPlaceInTheMarchingOrder) {
  GameFixture t;
  setUpParty(t.g, 3);
  for (int p = 0; p < 3; ++p) {
    t.g.BattleOrder(p) = t.g.GameState(p + 1);
    t.g.BattleParty(p, BattleArmourClass) = static_cast<float>(p + 1);
  }
  t.g.CharRec(1, Status) = 30000;
  t.g.CharRec(1, LevelAndFloor) = 2005;
  CCHEC2(t.g);
  EXPECT_EQ(order(t.g), (std::vector<int>{0, 2}));
  EXPECT_EQ(t.g.BattleOrder(1), 3);
  EXPECT_EQ(t.g.BattleOrder(2), 0);
  EXPECT_EQ(t.g.BattleParty(1, BattleArmourClass), 3);
  EXPECT_EQ(t.g.BattleParty(2, BattleArmourClass), 0);
  EXPECT_EQ(t.g.CharRec(1, LevelAndFloor), 0);
  EXPECT_EQ(t.g.CharRec(1, HitPoints), 0);
}

TEST(PartyCleanUp, DeadGoBehindTheLivingAndTheDisabledBehindTheWell) {
  GameFixture t;
  setUpParty(t.g, 5);
  t.g.CharRec(0, Status) = 20000;  // dead
  t.g.CharRec(1, Status) = 101;    // paralysed
  t.g.CharRec(2, Status) = 1;
  t.g.CharRec(3, Status) = 25000;  // spirit
  t.g.CharRec(4, Status) = 1001;   // poisoned but well
  for (int p = 0; p < 5; ++p) t.g.BattleParty(p, BattleArmourClass) = static_cast<float>(p);
  CCHEC2(t.g);
  EXPECT_EQ(order(t.g), (std::vector<int>{2, 4, 1, 0, 3}));
  // Each battle row went with its member.
  EXPECT_EQ(t.g.BattleParty(0, BattleArmourClass), 2);
  EXPECT_EQ(t.g.BattleParty(4, BattleArmourClass), 3);
}

TEST(PartyCleanUp, MembersOfEqualStandingKeepTheirOrder) {
  GameFixture t;
  setUpParty(t.g, 4);
  t.g.CharRec(0, Status) = 20000;
  t.g.CharRec(1, Status) = 20000;
  CCHEC2(t.g);
  EXPECT_EQ(order(t.g), (std::vector<int>{2, 3, 0, 1}));
}

TEST(OrderRestoration, EveryMemberReturnsToHisPlaceWithHisRow) {
  GameFixture t;
  setUpParty(t.g, 4);
  const float recorded[] = {3, 4, 1, 2};
  for (int p = 0; p < 4; ++p) {
    t.g.BattleOrder(p) = recorded[p];
    t.g.BattleParty(p, BattleArmourClass) = t.g.GameState(p + 1);
  }
  CCHEC4(t.g);
  EXPECT_EQ(order(t.g), (std::vector<int>{2, 3, 0, 1}));
  for (int p = 0; p < 4; ++p) EXPECT_EQ(t.g.BattleParty(p, BattleArmourClass), recorded[p]);
}

}  // namespace
}  // namespace kestrun::game
