#include <gtest/gtest.h>

#include "game/character/money.h"
#include "game/dungeon/floor_change.h"
#include "game/dungeon/fountain.h"
#include "game/dungeon/square_event_parts.h"
#include "game/dungeon/square_events.h"
#include "game/state/fields.h"
#include "game_fixture.h"

namespace kestrun::game {
namespace {

TEST(GoldSharing, TheLastMemberTakesWhatRemains) {
  EXPECT_EQ(goldShares(10, 3), (std::vector<int32_t>{3, 3, 4}));
  EXPECT_EQ(goldShares(11, 3), (std::vector<int32_t>{4, 4, 3}));
  EXPECT_EQ(goldShares(7, 1), (std::vector<int32_t>{7}));
  // 2.5 rounds to the even 2.
  EXPECT_EQ(goldShares(5, 2), (std::vector<int32_t>{2, 3}));
}

TEST(GoldSharing, TooMuchGoldIsLeftAsItWas) {
  EXPECT_TRUE(goldShares(2 * 999999999.0 + 1, 2).empty());
  EXPECT_EQ(goldShares(2 * 999999999.0, 2), (std::vector<int32_t>{999999999, 999999999}));
}

TEST(DirectionSets, EachSetNamesItsFacings) {
  const char* expected[15] = {"NESW", "N",  "E",  "S",   "W",   "NE",  "ES", "SW",
                              "NW",   "NS", "EW", "NES", "ESW", "NSW", "NEW"};
  const char letters[] = "NESW";
  for (int set = 0; set < 15; ++set) {
    std::string facings;
    for (int f = 0; f < 4; ++f) {
      if (facesDirectionSet(set, f)) facings += letters[f];
    }
    EXPECT_EQ(facings, expected[set]) << "set " << set;
  }
  EXPECT_FALSE(facesDirectionSet(15, 0));
}

std::string padded(const std::string& text) {
  return text + std::string(28 - text.size(), ' ');
}

TEST(RiddleAnswers, BlanksInTheStoredAnswerAcceptAnything) {
  const std::string stored = padded("KEY");
  EXPECT_TRUE(riddleAnswerMatches(stored, "KEY"));
  EXPECT_TRUE(riddleAnswerMatches(stored, "KEYSTONE"));
  EXPECT_FALSE(riddleAnswerMatches(stored, "KE"));
  EXPECT_FALSE(riddleAnswerMatches(stored, "key"));
  EXPECT_TRUE(riddleAnswerMatches(padded("K Y"), "KAY"));
  EXPECT_FALSE(riddleAnswerMatches(padded("K Y"), "KAZ"));
  EXPECT_TRUE(riddleAnswerMatches(padded(""), ""));
}

TEST(FallDamage, APercentOfTheMaximumHalvedByEvasion) {
  EXPECT_EQ(fallDamage(50, 20, false, 40), 10);
  EXPECT_EQ(fallDamage(50, 20, true, 40), 5);
  EXPECT_EQ(fallDamage(50, 20, false, 4), 4);
  EXPECT_EQ(fallDamage(3, 20, false, 3), 1);
  EXPECT_EQ(fallDamage(3, 20, false, 0), 0);
}

TEST(FloorAlignmentRule, EachCodeTurnsAwayItsAlignments) {
  const char* turnedAway[7] = {"", "NE", "GE", "GN", "E", "G", "N"};
  const char letters[] = "GNE";
  for (int rule = 0; rule <= 6; ++rule) {
    std::string away;
    for (int a = 1; a <= 3; ++a) {
      if (floorTurnsAway(rule, a)) away += letters[a - 1];
    }
    EXPECT_EQ(away, turnedAway[rule]) << "rule " << rule;
  }
}

TEST(FountainRules, TheSignIsRandomOnlyForDirectionThree) {
  EXPECT_EQ(fountainSign(1, 0.9), 1);
  EXPECT_EQ(fountainSign(2, 0.1), -1);
  EXPECT_EQ(fountainSign(3, 0.1), 1);
  EXPECT_EQ(fountainSign(3, 0.9), -1);
}

TEST(FountainRules, AStatStopsAtItsLimitAndAtZero) {
  EXPECT_EQ(changedStat(10, 3, 18), 13);
  EXPECT_EQ(changedStat(16, 5, 18), 18);
  EXPECT_EQ(changedStat(20, 1, 18), 18);
  EXPECT_EQ(changedStat(2, -5, 18), 0);
}

TEST(FountainRules, TheLimitIsPlainOrTheRaceValueMovedBySexAndSetting) {
  GameFixture t;
  Game& g = t.g;
  g.CharRec(0, Identity) = 11000;  // female, race 1
  g.RaceTable(1, FirstRaceStat + Agility) = 12;
  g.Setting(FirstSexAdjustment + 2 * 1 + 1) = 5756;  // digit 0 (stat 4) 6: +1
  g.Setting(PlayStatLimit) = 60;
  EXPECT_EQ(fountainStatLimit(g, 0, Agility), 12 + 1 + 10);
  g.Setting(NoRaces) = 1;
  EXPECT_EQ(fountainStatLimit(g, 0, Agility), 60);
  g.Setting(NoRaces) = 0;
  g.Setting(PlayStatLimit) = 18;
  EXPECT_EQ(fountainStatLimit(g, 0, Agility), 18);
}

TEST(Fountain, EffectsOnOneMember) {
  GameFixture t;
  Game& g = t.g;
  g.CharRec(0, Identity) = 1203;  // neutral class 3
  g.ClassTable(5, ClassSkills) = 10001;
  g.CharRec(0, HitPoints) = 2;
  g.CharRec(0, MaxHitPoints) = 30;
  g.CharLong(0, HolyPointsMax) = 321;
  g.CharLong(0, MagicPointsMax) = 12;
  g.CharRec(0, AgeDays) = -30000;
  applyFountain(g, 0, {9, 0, 1, 5});
  EXPECT_EQ(g.CharRec(0, Identity), 1205);
  applyFountain(g, 0, {11, 0, 1, 3});
  EXPECT_EQ(g.CharRec(0, Identity), 1305);
  applyFountain(g, 0, {10, 2, 2, 0});
  EXPECT_EQ(g.CharRec(0, AgeDays), -30730);
  applyFountain(g, 0, {12, 0, 0, 0});
  EXPECT_EQ(g.CharRec(0, HitPoints), 30);
  applyFountain(g, 0, {13, 0, 0, 0});
  EXPECT_EQ(g.CharLong(0, HolyPoints), 321);
  EXPECT_EQ(g.CharLong(0, MagicPoints), 12);
  applyFountain(g, 0, {14, 0, 1, 2});
  EXPECT_EQ(g.CharRec(0, Status), 101);
  applyFountain(g, 0, {14, 0, 1, 7});
  EXPECT_EQ(g.CharRec(0, Status), 101);
}

}  // namespace
}  // namespace kestrun::game
