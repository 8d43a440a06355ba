#include "game/town/temple.h"

#include <gtest/gtest.h>

#include <string>

#include "game/state/game.h"
#include "game/state/packed.h"
#include "game_fixture.h"

namespace kestrun::game {
namespace {

// Per level: poison 20, paralysis 40, stone 100, death 150, spirit 400.
void templeCharges(Game& g) {
  const float charges[] = {20, 40, 100, 150, 400};
  for (int n = 0; n < 5; ++n) g.Setting(PoisonCharge + n) = charges[n];
  g.Setting(ItemSlots) = 4;
  g.Setting(UncursePercent) = 80;
  g.SysWord(StatScale) = 18;
}

TEST(TempleFees, SumTheAilmentsTimesTheLevelButChargeTheDeadOnce) {
  GameFixture t;
  Game& g = t.g;
  templeCharges(g);
  g.CharRec(0, LevelAndFloor) = 3;
  auto feeFor = [&g](float code) {
    g.CharRec(0, Status) = code;
    return healingFee(g, 0);
  };
  EXPECT_EQ(feeFor(1001), 60);
  EXPECT_EQ(feeFor(101), 120);
  EXPECT_EQ(feeFor(1101), 180);
  EXPECT_EQ(feeFor(10001), 300);
  EXPECT_EQ(feeFor(11001), 360);
  EXPECT_EQ(feeFor(20000), 450);
  EXPECT_EQ(feeFor(25000), 1200);
}

TEST(TempleFees, RevivalChanceRisesWithHealthAroundSeventyPercent) {
  GameFixture t;
  Game& g = t.g;
  g.SysWord(StatScale) = 18;
  auto chanceWith = [&g](int health) {
    setStat(g, 0, 1, health);
    return revivalChance(g, 0);
  };
  EXPECT_EQ(chanceWith(9), 70);
  EXPECT_EQ(chanceWith(18), 90);
  EXPECT_EQ(chanceWith(10), 72);  // 2.2 points, rounded down
  EXPECT_EQ(chanceWith(3), 56);   // -13.3 rounds down to -14
  EXPECT_EQ(chanceWith(0), 50);
}

// Ann (100 gold) and Bob (1000 gold) are the party; Cy, level 3, lies in
// the temple with `status`.
void templeDay(Game& g, float status) {
  templeCharges(g);
  g.GameState(MemberCount) = 2;
  g.GameState(FirstMember) = 1;
  g.GameState(FirstMember + 1) = 2;
  const std::string names[] = {"Ann", "Bob"};
  for (int c = 0; c < 2; ++c) {
    g.CharName(c) = names[c];
    g.CharRec(c, Status) = 1;
    g.CharRec(c, LevelAndFloor) = 1;
  }
  g.CharLong(0, Gold) = 100;
  g.CharLong(1, Gold) = 1000;
  g.CharName(5) = "Cy";
  g.CharRec(5, Status) = status;
  g.CharRec(5, LevelAndFloor) = 3;
  g.CharRec(5, HitPoints) = 0;
  g.CharRec(5, MaxHitPoints) = 20;
  g.CharRec(6, Status) = 30000;  // lost: never listed
}

// Moves the generator on until its next draw (x 100) is at least `least`.
void nextDrawAtLeast(GameFixture& t, float least) {
  for (;;) {
    rt::Random peek = t.con.random();
    if (peek.RND(1) * 100 >= least) return;
    t.con.random().RND(1);
  }
}

void visit(GameFixture& t, const std::string& keys) {
  t.type(keys);
  EXPECT_THROW(Temple(t.g), rt::ProgramEnd);
}

TEST(TempleRevival, FailureMakesTheDeadASpiritAndASpiritLost) {
  GameFixture t;
  Game& g = t.g;
  templeDay(g, 20000);
  setStat(g, 5, 1, 0);  // Health 0: a chance of 50
  nextDrawAtLeast(t, 50);
  // Ann cannot pay 450, Bob can.
  visit(t, "11{Enter}12");
  EXPECT_EQ(g.CharRec(5, Status), 25000);
  EXPECT_EQ(g.CharLong(0, Gold), 100);
  EXPECT_EQ(g.CharLong(1, Gold), 550);

  g.CharLong(1, Gold) = 2000;
  nextDrawAtLeast(t, 50);
  visit(t, "11{Enter}2");
  EXPECT_EQ(g.CharRec(5, Status), 30000);
  EXPECT_EQ(g.CharLong(1, Gold), 800);
  EXPECT_EQ(g.CharRec(5, HitPoints), 0);
}

TEST(TempleRevival, SuccessRestoresEveryHitPointAndHealingLeavesThemAlone) {
  GameFixture t;
  Game& g = t.g;
  templeDay(g, 20000);
  setStat(g, 5, 1, 99);  // far beyond any draw
  visit(t, "11{Enter}2");
  EXPECT_EQ(g.CharRec(5, Status), 1);
  EXPECT_EQ(g.CharRec(5, HitPoints), 20);

  g.CharRec(5, Status) = 11101;  // stone, poison and paralysis together
  g.CharRec(5, HitPoints) = 7;
  visit(t, "11{Enter}2");
  EXPECT_EQ(g.CharRec(5, Status), 1);
  EXPECT_EQ(g.CharRec(5, HitPoints), 7);
  EXPECT_EQ(g.CharLong(1, Gold), 1000 - 450 - 480);
}

TEST(TempleCurses, RemovingACurseDestroysTheItemForItsFee) {
  GameFixture t;
  Game& g = t.g;
  templeDay(g, 1);
  g.ItemTable(7, ItemPriceLow) = 100;   // fee 80
  g.ItemTable(8, ItemPriceLow) = 5000;  // fee 4000: more than Bob has
  g.CharRec(1, FirstItemSlot) = 10008;
  g.CharRec(1, FirstItemSlot + 1) = 12007;
  g.CharRec(1, FirstItemSlot + 2) = 10008;
  visit(t,
        "22"
        "2{Enter}"
        "1{Enter}");
  EXPECT_EQ(g.CharRec(1, FirstItemSlot), 10008);
  EXPECT_EQ(g.CharRec(1, FirstItemSlot + 1), 10008);
  EXPECT_EQ(g.CharRec(1, FirstItemSlot + 2), 0);
  EXPECT_EQ(g.CharLong(1, Gold), 920);
}

}  // namespace
}  // namespace kestrun::game
