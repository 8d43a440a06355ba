#include <gtest/gtest.h>

#include <cmath>

#include "game/character/levels.h"
#include "game/character/stat_rules.h"
#include "game/state/packed.h"
#include "game_fixture.h"

namespace kestrun::game {
namespace {

void useStats(Game& g, std::initializer_list<int> used) {
  for (int i = 0; i < 8; ++i) g.Setting(4 + i) = 0;
  for (int i : used) g.Setting(4 + i) = 1;
}

TEST(SexAdjustments, TakeOneDigitPerStatFromTheSexsFields) {
  GameFixture t;
  Game& g = t.g;
  useStats(g, {0, 1, 2, 3, 4, 5, 6, 7});
  g.Setting(47) = 5678;  // male, stats 0..3: digit i is stat i
  g.Setting(48) = 1234;  // male, stats 4..7
  g.Setting(49) = 9055;  // female, stats 0..3
  g.Setting(50) = 5555;
  g.SysWord(1) = 3;
  g.CharRec(3, 1) = 10000 + 2 * 1000 + 100 + 4;  // female, race 2, good, class 4
  SEI(g);
  EXPECT_EQ(g.SysWord(2), 0.0f);
  EXPECT_EQ(g.SysWord(3), 0.0f);
  EXPECT_EQ(g.SysWord(4), -5.0f);
  EXPECT_EQ(g.SysWord(5), 4.0f);
  EXPECT_EQ(g.SysWord(6), 0.0f);

  g.CharRec(3, 1) = 2104;  // male
  useStats(g, {0, 5});
  g.SysWord(4) = 99;  // an unused stat keeps what it had
  SEI(g);
  EXPECT_EQ(g.SysWord(2), 3.0f);   // 5678: digit 0 is 8
  EXPECT_EQ(g.SysWord(7), -2.0f);  // 1234: digit 1 is 3
  EXPECT_EQ(g.SysWord(4), 99.0f);
}

TEST(UnusedStats, FollowTheirPairPartnerAndKeepTheFloorFlag) {
  GameFixture t;
  Game& g = t.g;
  useStats(g, {0, 3, 4, 5});
  g.SysWord(1) = 2;
  g.CharRec(2, 10) = 10000 + 1207;  // floor flag, strength 12, health 7
  g.CharRec(2, 11) = 915;           // knowledge 9, faith 15
  g.CharRec(2, 12) = 1011;
  g.CharRec(2, 13) = 1716;  // both unused
  NCHEC(g);
  EXPECT_EQ(g.CharRec(2, 10), 11212.0f);
  EXPECT_EQ(g.CharRec(2, 11), 1515.0f);
  EXPECT_EQ(g.CharRec(2, 12), 1011.0f);
  EXPECT_EQ(statOf(g, 2, 6), statOf(g, 2, 7));
}

TEST(ExperienceTable, GrowsByTheFactorThenByAConstantStep) {
  GameFixture t;
  Game& g = t.g;
  g.ClassTable(3, 12) = 1000;
  g.ClassExpFactor(3) = 1.5f;
  g.Setting(58) = 4;
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
  g.ClassTable(3, 12) = 900000;
  g.ClassExpFactor(3) = 4;
  g.Setting(58) = 12;
  EXPECT_EQ(experienceTableValue(g, 3, 12), std::fmod(900000 * std::pow(4.0, 10), 1e9));
  // An undefined class (no factor) shows zeros, not infinities.
  g.Setting(58) = 0;
  EXPECT_EQ(experienceTableValue(g, 5, 9), 0);
}

}  // namespace
}  // namespace kestrun::game
