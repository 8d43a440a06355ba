#include "game/town/castle.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "game/state/packed.h"
#include "game/town/castle_parts.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

constexpr int kFighter = 0;
constexpr int kThief = 3;
constexpr int kFighterThief = 6;
constexpr int kQuestItem = 7;

std::string screenRow(GameFixture& t, int row) {
  return rt::toUtf8(rt::rowText(t.con.text(), row));
}

// A scenario of eight stats, a plain stat limit of 18, fighters needing
// 1000 experience for level 2 and twice as much for each level after it,
// and a roster of young level-1 fighters with every stat at 10.
void setUpCastle(Game& g, int members) {
  const char* const statNames[] = {"体力", "健康", "知識", "信仰", "敏捷", "器用", "幸運", "魅力"};
  for (int s = 0; s < 8; ++s) {
    g.Setting(FirstStatUsed + s) = 1;
    g.StatName(s) = rt::toShiftJis(statNames[s]);
  }
  g.Setting(CreationStatLimit) = 18;
  g.Setting(ItemSlots) = 4;
  g.Setting(LinearLevel) = 10;
  g.SysWord(StatScale) = 18;
  g.RaceTable(0, LifeSpan) = 60;
  g.ClassTable(kFighter, ClassSkills) = 10001;
  g.ClassTable(kFighter, ClassExpBase) = 1000;
  g.ClassTable(kFighter, HitPointDice) = 108;  // 1d8 per level, 1d1 at the first
  g.ClassExpFactor(kFighter) = 2;
  g.ClassName(kFighter) = "FIGHTER";
  g.ItemName(kQuestItem, 0) = "KEY";
  g.Setting(QuestItem) = kQuestItem;
  for (int c = 0; c < members; ++c) {
    g.CharName(c) = std::string(1, static_cast<char>('A' + c));
    g.CharRec(c, Status) = 1;
    g.CharRec(c, Identity) = kFighter;
    g.CharRec(c, LevelAndFloor) = 1;
    g.CharRec(c, HitPoints) = 8;
    g.CharRec(c, MaxHitPoints) = 8;
    g.CharRec(c, AgeDays) = -32000;
    for (int s = 0; s < 8; ++s) setStat(g, c, s, 10);
    joinParty(g, c);
  }
}

TEST(CastleQuest, EachSlotIsLookedAtOnceAndEveryMemberRewarded) {
  GameFixture t;
  setUpCastle(t.g, 2);
  addItem(t.g, 0, 10000 + kQuestItem);
  addItem(t.g, 0, kQuestItem);  // a second copy, not identified
  addItem(t.g, 0, 3);
  addItem(t.g, 0, 11000 + kQuestItem);
  t.g.Setting(QuestRewardExperience) = 2;
  t.g.Setting(QuestRewardGold) = 5;
  t.g.CharLong(1, Gold) = 999990000;
  t.type("Y0");
  Castle(t.g);
  // The second copy moved up into the emptied first slot after it had been
  // looked at, so it stays; the worn copy further on goes.
  EXPECT_EQ(itemSlot(t.g, 0, 1), kQuestItem);
  EXPECT_EQ(itemSlot(t.g, 0, 2), 3);
  EXPECT_EQ(carriedItemCount(t.g, 0), 2);
  EXPECT_EQ(t.g.CharLong(0, Experience), 20000);
  EXPECT_EQ(t.g.CharLong(1, Experience), 20000);
  EXPECT_EQ(t.g.CharLong(0, Gold), 50000);
  EXPECT_EQ(t.g.CharLong(1, Gold), 1000000000);
}

TEST(CastleQuest, AnUnidentifiedItemOrARefusalKeepsTheItem) {
  GameFixture t;
  setUpCastle(t.g, 2);
  addItem(t.g, 1, kQuestItem);
  t.g.Setting(QuestRewardExperience) = 2;
  t.type("x0");  // the lord only speaks
  Castle(t.g);
  EXPECT_EQ(carriedItemCount(t.g, 1), 1);

  itemSlot(t.g, 1, 1) = 10000 + kQuestItem;
  t.type("N0");
  Castle(t.g);
  EXPECT_EQ(carriedItemCount(t.g, 1), 1);
  EXPECT_EQ(t.g.CharLong(1, Experience), 0);
}

TEST(CastleJudgement, GainsOneLevelAtATimeUntilTheExperienceRunsShort) {
  GameFixture t;
  setUpCastle(t.g, 1);
  t.g.CharLong(0, Experience) = 2500;
  t.type("xYYN");
  Castle(t.g);
  EXPECT_EQ(levelOf(t.g, 0), 3);
  EXPECT_GE(t.g.CharRec(0, MaxHitPoints), 10);
  EXPECT_LE(t.g.CharRec(0, MaxHitPoints), 24);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), t.g.CharRec(0, MaxHitPoints));
  EXPECT_EQ(screenRow(t, 4), "                             A");
  EXPECT_EQ(screenRow(t, 7), "                                     LEVEL   3");
  EXPECT_EQ(screenRow(t, 9), "                   次のレベルになるには 経験値が  1500  不足です");
}

TEST(CastleJudgement, ExactlyTheThresholdGainsTheLevelAndAFullMaximumStays) {
  GameFixture t;
  setUpCastle(t.g, 1);
  t.g.CharLong(0, Experience) = 1000;
  t.g.CharRec(0, MaxHitPoints) = 9999;
  t.type("xN");
  Castle(t.g);
  EXPECT_EQ(levelOf(t.g, 0), 2);
  EXPECT_EQ(t.g.CharRec(0, MaxHitPoints), 9999);
  EXPECT_EQ(screenRow(t, 4), "                   A は  2  レベルになった");
  EXPECT_EQ(screenRow(t, 6), "");
  // The hit-point die is still rolled, so later draws are the same as for
  // any other member.
  rt::Random oneDie;
  oneDie.RND(1);
  EXPECT_EQ(t.con.random().seed(), oneDie.seed());
}

TEST(CastleJudgement, AMemberPastHisLifeSpanRetiresAndLeavesTheParty) {
  GameFixture t;
  setUpCastle(t.g, 2);
  t.g.CharRec(0, AgeDays) = 46 * 365 - 32000;  // 61 years old
  t.g.BattleParty(1, LevelsLost) = 5;          // levels the second member lost
  t.type("x1x");
  EXPECT_THROW(Castle(t.g), rt::ProgramEnd);
  EXPECT_EQ(t.g.CharRec(0, Status), 30000);
  EXPECT_EQ(partySize(t.g), 1);
  EXPECT_EQ(memberSlot(t.g, 1), 1);
  EXPECT_EQ(t.g.BattleParty(0, LevelsLost), 5);
  EXPECT_EQ(t.g.BattleParty(1, LevelsLost), 0);
}

TEST(LevelUpHitPoints, AddOneDieOrRerollNeverLosingAPoint) {
  GameFixture t;
  setUpCastle(t.g, 1);
  for (int i = 0; i < 200; ++i) {
    t.g.Setting(HitPointMode) = 0;
    const double added = raisedHitPointMaximum(t.g, 0, 2);
    EXPECT_GE(added, 9);
    EXPECT_LE(added, 16);
    t.g.Setting(HitPointMode) = 1;
    t.g.CharRec(0, MaxHitPoints) = 20;  // more than four levels of dice usually give
    const double rerolled = raisedHitPointMaximum(t.g, 0, 4);
    EXPECT_GE(rerolled, 21);
    EXPECT_LE(rerolled, 25);
    t.g.CharRec(0, MaxHitPoints) = 8;
  }
}

TEST(LevelUpHitPoints, AVeryHealthyCharacterStillEndsWhenNoRollCanBeatHisMaximum) {
  GameFixture t;
  setUpCastle(t.g, 1);
  t.g.Setting(HitPointMode) = 1;
  setStat(t.g, 0, 1, 99);
  t.g.CharRec(0, MaxHitPoints) = 100;
  EXPECT_EQ(raisedHitPointMaximum(t.g, 0, 2), 101);
}

TEST(RandomStatChanges, OldAgeLowersEveryStatAndAStatAtZeroLosesTheCharacter) {
  GameFixture t;
  setUpCastle(t.g, 1);
  t.g.Setting(StatChangeRate) = 10;
  t.g.Setting(FirstStatUsed + 7) = 0;           // Charm not used
  t.g.CharRec(0, AgeDays) = 100 * 365 - 32000;  // beyond any class's bias
  setStat(t.g, 0, 0, 1);
  changeStatsAtLevelUp(t.g, 0);
  EXPECT_EQ(t.g.CharRec(0, Status), 30000);
  EXPECT_EQ(statOf(t.g, 0, 0), 0);
  for (int s = 1; s < 7; ++s) EXPECT_EQ(statOf(t.g, 0, s), 9) << s;
  EXPECT_EQ(statOf(t.g, 0, 7), 10);
  EXPECT_EQ(screenRow(t, 7), "                         体力度が減少した");
  EXPECT_EQ(screenRow(t, 13), "                         幸運度が減少した");
  EXPECT_EQ(screenRow(t, 14), "");
}

TEST(RandomStatChanges, AStatAtItsLimitNeverRises) {
  GameFixture t;
  setUpCastle(t.g, 1);
  t.g.Setting(StatChangeRate) = 10;
  t.g.Setting(CreationStatLimit) = 55;  // the race's value + 5
  t.g.RaceTable(0, FirstRaceStat) = 10;
  for (int i = 0; i < 50; ++i) {
    setStat(t.g, 0, 0, 15);
    changeStatsAtLevelUp(t.g, 0);
    EXPECT_LE(statOf(t.g, 0, 0), 15);
  }
  setStat(t.g, 0, 0, 14);
  int rises = 0;
  for (int i = 0; i < 50; ++i) {
    changeStatsAtLevelUp(t.g, 0);
    rises += statOf(t.g, 0, 0) == 15;
    setStat(t.g, 0, 0, 14);
  }
  EXPECT_GT(rises, 0);
}

TEST(RandomStatChanges, ClassSkillsFavourOneStatAndDisfavourAnother) {
  GameFixture t;
  setUpCastle(t.g, 1);
  t.g.ClassTable(kThief, ClassSkills) = 11;
  t.g.ClassTable(kFighterThief, ClassSkills) = 10011;
  t.g.CharRec(0, Identity) = kThief;
  EXPECT_EQ(classBias(t.g, 0, 5), -10);  // Dexterity
  EXPECT_EQ(classBias(t.g, 0, 3), 10);   // Faith
  EXPECT_EQ(classBias(t.g, 0, 0), 0);
  t.g.CharRec(0, Identity) = kFighterThief;
  EXPECT_EQ(classBias(t.g, 0, 0), -10);  // the fighter's Strength
  EXPECT_EQ(classBias(t.g, 0, 2), 10);
  EXPECT_EQ(classBias(t.g, 0, 5), -10);  // the thief's rule comes first
  t.g.Setting(FirstStatUsed + 5) = 0;    // no Dexterity: Agility stands in
  EXPECT_EQ(classBias(t.g, 0, 4), -10);
}

TEST(PlacedStatPoints, YoungCharactersGainAndOldOnesLoseWithinTheLimits) {
  GameFixture t;
  setUpCastle(t.g, 1);
  t.g.Setting(StatChangeMode) = 2;
  t.g.Setting(StatChangeRate) = 10;
  setStat(t.g, 0, 0, 18);  // at the limit: seven stats can still rise
  bool negative = false;
  for (int i = 0; i < 200; ++i) {
    t.g.CharRec(0, AgeDays) = -32000;
    const int young = placedPoints(t.g, 0);
    EXPECT_GE(young, 0);
    EXPECT_LE(young, 7);
    t.g.CharRec(0, AgeDays) = 40 * 365 - 32000;  // 55 of 60 years
    const int old = placedPoints(t.g, 0);
    EXPECT_GE(old, -4);
    negative = negative || old < 0;
  }
  EXPECT_TRUE(negative);
  t.g.Setting(StatChangeRate) = 99;
  for (int i = 0; i < 50; ++i) EXPECT_GE(placedPoints(t.g, 0), -8);
}

TEST(PlacedStatPoints, LoweringCannotBeRefusedAndEachStatChangesOnce) {
  GameFixture t;
  setUpCastle(t.g, 1);
  t.type("01192");  // 0 and 9 are ignored, and so is stat 1 the second time
  placeStatPoints(t.g, 0, -2);
  EXPECT_EQ(statOf(t.g, 0, 0), 9);
  EXPECT_EQ(statOf(t.g, 0, 1), 9);
  EXPECT_EQ(statOf(t.g, 0, 2), 10);
  EXPECT_EQ(screenRow(t, 8), "");
  EXPECT_EQ(screenRow(t, 21), "                       どの能力値を下げますか ?");
}

TEST(PlacedStatPoints, RaisingStopsAtTheLimitAndMayBeGivenUp) {
  GameFixture t;
  setUpCastle(t.g, 1);
  setStat(t.g, 0, 0, 18);
  t.type("130N4");  // stat 1 is at the limit; "N" goes back to the question
  placeStatPoints(t.g, 0, 2);
  EXPECT_EQ(statOf(t.g, 0, 0), 18);
  EXPECT_EQ(statOf(t.g, 0, 2), 11);
  EXPECT_EQ(statOf(t.g, 0, 3), 11);

  t.type("50Y");
  placeStatPoints(t.g, 0, 2);
  EXPECT_EQ(statOf(t.g, 0, 4), 11);
  EXPECT_EQ(screenRow(t, 8), "                   能力値の上昇  1 ポイント");
}

TEST(PlacedStatPoints, LoweringAStatFromOneLosesTheCharacterAtOnce) {
  GameFixture t;
  setUpCastle(t.g, 1);
  setStat(t.g, 0, 3, 1);
  t.type("4");
  placeStatPoints(t.g, 0, -3);
  EXPECT_EQ(t.g.CharRec(0, Status), 30000);
  EXPECT_EQ(statOf(t.g, 0, 3), 0);
}

}  // namespace
}  // namespace kestrun::game
