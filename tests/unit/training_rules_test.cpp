#include <gtest/gtest.h>

#include <cmath>

#include "game/character/levels.h"
#include "game/character/stat_rules.h"
#include "game/state/packed.h"
#include "game_fixture.h"

namespace kestrun::game {
namespace {

void useStats(Game& g, std::initializer_list<int> used) {
  for (int i = 0; i < 8; ++i) g.Setting(FirstStatUsed + i) = 0;
  for (int i : used) g.Setting(FirstStatUsed + i) = 1;
}

TEST(SexAdjustments, TakeOneDigitPerStatFromTheSexsFields) {
  GameFixture t;
  Game& g = t.g;
  useStats(g, {0, 1, 2, 3, 4, 5, 6, 7});
  g.Setting(FirstSexAdjustment) = 5678;      // male, stats 0..3: digit i is stat i
  g.Setting(FirstSexAdjustment + 1) = 1234;  // male, stats 4..7
  g.Setting(FirstSexAdjustment + 2) = 9055;  // female, stats 0..3
  g.Setting(FirstSexAdjustment + 3) = 5555;
  g.SysWord(ActingSlot) = 3;
  g.CharRec(3, Identity) = 10000 + 2 * 1000 + 100 + 4;  // female, race 2, good, class 4
  SEI(g);
  EXPECT_EQ(g.SysWord(FirstStatAdjustment), 0.0f);
  EXPECT_EQ(g.SysWord(FirstStatAdjustment + 1), 0.0f);
  EXPECT_EQ(g.SysWord(FirstStatAdjustment + 2), -5.0f);
  EXPECT_EQ(g.SysWord(FirstStatAdjustment + 3), 4.0f);
  EXPECT_EQ(g.SysWord(FirstStatAdjustment + 4), 0.0f);

  g.CharRec(3, Identity) = 2104;  // male
  useStats(g, {0, 5});
  g.SysWord(FirstStatAdjustment + 2) = 99;  // an unused stat keeps what it had
  SEI(g);
  EXPECT_EQ(g.SysWord(FirstStatAdjustment), 3.0f);       // 5678: digit 0 is 8
  EXPECT_EQ(g.SysWord(FirstStatAdjustment + 5), -2.0f);  // 1234: digit 1 is 3
  EXPECT_EQ(g.SysWord(FirstStatAdjustment + 2), 99.0f);
}

TEST(UnusedStats, FollowTheirPairPartnerAndKeepTheFloorFlag) {
  GameFixture t;
  Game& g = t.g;
  useStats(g, {0, 3, 4, 5});
  g.SysWord(ActingSlot) = 2;
  g.CharRec(2, FirstStatPair) = 10000 + 1207;  // floor flag, strength 12, health 7
  g.CharRec(2, FirstStatPair + 1) = 915;       // knowledge 9, faith 15
  g.CharRec(2, FirstStatPair + 2) = 1011;
  g.CharRec(2, FirstStatPair + 3) = 1716;  // both unused
  NCHEC(g);
  EXPECT_EQ(g.CharRec(2, FirstStatPair), 11212.0f);
  EXPECT_EQ(g.CharRec(2, FirstStatPair + 1), 1515.0f);
  EXPECT_EQ(g.CharRec(2, FirstStatPair + 2), 1011.0f);
  EXPECT_EQ(statOf(g, 2, 6), statOf(g, 2, 7));
}

TEST(ExperienceTable, GrowsByTheFactorThenByAConstantStep) {
  GameFixture t;
  Game& g = t.g;
  g.ClassTable(3, ClassExpBase) = 1000;
  g.ClassExpFactor(3) = 1.5f;
  g.Setting(LinearLevel) = 4;
  EXPECT_EQ(experienceTableValue(g, 3, 2), 1000);
  EXPECT_EQ(experienceTableValue(g, 3, 3), 1500);
  EXPECT_EQ(experienceTableValue(g, 3, 5), 3375);  // 1000 x 1.5^3, the last geometric one
  // From level S + 2 on, each level adds the step between levels S + 1 and S.
  const double step = 3375 - 2250;
  EXPECT_EQ(experienceTableValue(g, 3, 6), 3375 + step);
  EXPECT_EQ(experienceTableValue(g, 3, 7), 3375 + 2 * step);
  EXPECT_EQ(experienceTableValue(g, 3, 20), 3375 + 15 * step);

  // Thresholds past the 32-bit range wrap below 1,000,000,000 instead of
  // stopping the game.
  g.ClassTable(3, ClassExpBase) = 900000;
  g.ClassExpFactor(3) = 4;
  g.Setting(LinearLevel) = 12;
  EXPECT_EQ(experienceTableValue(g, 3, 12), std::fmod(900000 * std::pow(4.0, 10), 1e9));
  // An undefined class (no factor) shows zeros, not infinities.
  g.Setting(LinearLevel) = 0;
  EXPECT_EQ(experienceTableValue(g, 5, 9), 0);
}

}  // namespace
}  // namespace kestrun::game
