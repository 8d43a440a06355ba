#include <gtest/gtest.h>

#include "game/spells/learning.h"
#include "game/state/packed.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

constexpr int kPriest = 1;  // casts holy spells only
constexpr int kCaster = 0;  // roster slot

// A priest whose holy spell levels open at character level 1 and every two
// levels after it, in a scenario of three holy spell levels; Faith at half
// the stat scale, so that the chances are the spells' own.
void setUpPriest(Game& g, int pointMode) {
  g.ClassTable(kPriest, 0) = 1001;
  g.ClassTable(kPriest, 13) = 1;
  g.ClassTable(kPriest, 14) = 2;
  g.CharRec(kCaster, 0) = 1;
  g.CharRec(kCaster, 1) = kPriest;
  g.CharRec(kCaster, 2) = 1;
  g.SysWord(23) = 18;
  setStat(g, kCaster, 3, 9);
  g.Setting(44) = 3;
  g.Setting(39) = static_cast<float>(pointMode);
  g.SysWord(1) = kCaster;
}

// Spell `spell` of `level` with learning chance `chance` and pool cost `cost`.
void defineSpell(Game& g, int spell, int level, int chance, int cost = 1) {
  g.SpellTable(spell, 0) = static_cast<float>(chance * 10 + 1);
  g.SpellTable(spell, 1) = static_cast<float>(level + 1000 * cost);
}

void recomputeAt(Game& g, int level, bool pointsOnly) {
  g.SysWord(11) = static_cast<float>(level);
  g.SysWord(20) = pointsOnly ? 1 : 0;
  SPM(g);
}

TEST(SpellPoints, PerLevelModeGivesEachOpenLevelItsOwnDigitUpToNine) {
  GameFixture t;
  setUpPriest(t.g, 1);
  recomputeAt(t.g, 5, true);
  // Level 5 opens spell levels 1..3: 6, 4 and 2 points.
  EXPECT_EQ(t.g.CharLong(kCaster, 3), 246);
  EXPECT_EQ(t.g.CharLong(kCaster, 2), 246);
  EXPECT_EQ(t.g.CharLong(kCaster, 5), 0);  // no magic for a priest

  recomputeAt(t.g, 40, true);
  EXPECT_EQ(t.g.CharLong(kCaster, 3), 999);  // the fourth level is not in the scenario
}

TEST(SpellPoints, PoolModeWeighsEachLevelsPointsByTheLevel) {
  GameFixture t;
  setUpPriest(t.g, 2);
  t.g.CharLong(kCaster, 2) = 5;
  t.g.CharLong(kCaster, 3) = 8;
  recomputeAt(t.g, 5, true);
  EXPECT_EQ(t.g.CharLong(kCaster, 3), 6 * 1 + 4 * 2 + 2 * 3);
  EXPECT_EQ(t.g.CharLong(kCaster, 2), 5 + 20 - 8);
}

TEST(SpellPoints, ALevelLossLowersTheMaximumAndThePointsNowNeverBelowZero) {
  GameFixture t;
  setUpPriest(t.g, 1);
  t.g.CharLong(kCaster, 2) = 10;
  t.g.CharLong(kCaster, 3) = 246;
  recomputeAt(t.g, 3, true);
  EXPECT_EQ(t.g.CharLong(kCaster, 3), 24);
  EXPECT_EQ(t.g.CharLong(kCaster, 2), 0);
}

TEST(SpellPoints, LearningKeepsEveryLevelsPointsAtLeastAsHighAsBefore) {
  GameFixture t;
  setUpPriest(t.g, 1);
  t.g.CharLong(kCaster, 3) = 380;  // more at levels 2 and 3 than level 3 brings
  t.g.CharLong(kCaster, 2) = 380;
  recomputeAt(t.g, 3, false);
  EXPECT_EQ(t.g.CharLong(kCaster, 3), 384);
  EXPECT_EQ(t.g.CharLong(kCaster, 2), 384);
}

TEST(SpellLearning, LearnsOnlyTheSpellsOfTheLevelsReachedAndOfHisSchool) {
  GameFixture t;
  setUpPriest(t.g, 1);
  defineSpell(t.g, 1, 1, 100);
  defineSpell(t.g, 2, 2, 100);
  defineSpell(t.g, 3, 3, 100);  // level 3 opens at character level 5
  defineSpell(t.g, 4, 1, 100);
  t.g.SpellTable(4, 1) += 200;  // school 2
  defineSpell(t.g, 5, 1, 100);
  t.g.SpellTable(5, 1) += 100;  // school 1, his own
  defineSpell(t.g, 6, 1, 0);    // never learned
  defineSpell(t.g, 41, 1, 100);
  t.g.Setting(72) = 1;
  recomputeAt(t.g, 3, false);
  EXPECT_TRUE(knowsSpell(t.g, kCaster, 1));
  EXPECT_TRUE(knowsSpell(t.g, kCaster, 2));
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 3));
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 4));
  EXPECT_TRUE(knowsSpell(t.g, kCaster, 5));
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 6));
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 41));
  EXPECT_EQ(rt::toUtf8(rt::rowText(t.con.text(), 19)),
            "                       新しい呪文を習得した");
}

TEST(SpellLearning, TheScenariosHighestSpellLevelAndTheFaithBonusBoundTheLearning) {
  GameFixture t;
  setUpPriest(t.g, 1);
  defineSpell(t.g, 1, 1, 116);
  defineSpell(t.g, 2, 2, 116);
  t.g.Setting(44) = 1;
  setStat(t.g, kCaster, 3, 1);  // Faith 1: 16 points off every chance
  defineSpell(t.g, 3, 1, 16);
  t.g.Setting(57) = 1;
  recomputeAt(t.g, 9, false);
  EXPECT_TRUE(knowsSpell(t.g, kCaster, 1));
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 2));
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 3));
  EXPECT_EQ(rt::toUtf8(rt::rowText(t.con.text(), 17)),
            "                       新しい呪文を習得した");
}

TEST(SpellLearning, ASpellAlreadyKnownStillTakesItsDraw) {
  GameFixture known;
  GameFixture unknown;
  for (GameFixture* t : {&known, &unknown}) {
    setUpPriest(t->g, 1);
    defineSpell(t->g, 1, 1, 50);
  }
  setSpellKnown(known.g, kCaster, 1, true);
  recomputeAt(known.g, 1, false);
  recomputeAt(unknown.g, 1, false);
  EXPECT_EQ(known.con.random().RND(1), unknown.con.random().RND(1));
  EXPECT_EQ(rt::rowText(known.con.text(), 19), "");  // nothing new was learned
}

// The priest knows spells 1 (level 1) and 3 (level 2); spell 2 is listed but
// unknown.
void giveSpellBook(Game& g) {
  defineSpell(g, 1, 1, 50, 1);
  defineSpell(g, 2, 1, 50, 1);
  defineSpell(g, 3, 2, 50, 4);
  setSpellKnown(g, kCaster, 1, true);
  setSpellKnown(g, kCaster, 3, true);
  g.SysWord(18) = 0;
}

int checkedChoice(Game& g, int entry) {
  g.SysWord(20) = static_cast<float>(entry);
  SPK(g);
  return rt::toInt32(g.SysWord(20));
}

TEST(SpellChoice, CountsOnlyKnownSpellsAndNeedsPointsOfTheSpellsLevel) {
  GameFixture t;
  setUpPriest(t.g, 1);
  giveSpellBook(t.g);
  t.g.CharLong(kCaster, 2) = 11;
  EXPECT_EQ(checkedChoice(t.g, 1), 1);
  EXPECT_EQ(checkedChoice(t.g, 2), 3);
  EXPECT_EQ(checkedChoice(t.g, 3), 0);
  t.g.CharLong(kCaster, 2) = 3;  // level 1 points only
  EXPECT_EQ(checkedChoice(t.g, 1), 1);
  EXPECT_EQ(checkedChoice(t.g, 2), 0);
}

TEST(SpellChoice, PoolModeNeedsTheSpellsCost) {
  GameFixture t;
  setUpPriest(t.g, 2);
  giveSpellBook(t.g);
  t.g.CharLong(kCaster, 2) = 3;
  EXPECT_EQ(checkedChoice(t.g, 1), 1);
  EXPECT_EQ(checkedChoice(t.g, 2), 0);
  t.g.CharLong(kCaster, 2) = 4;
  EXPECT_EQ(checkedChoice(t.g, 2), 3);
}

TEST(SpellChoice, ASpellCostingALevelNeedsTheLevelHisClassLearnsItAt) {
  GameFixture t;
  setUpPriest(t.g, 1);
  giveSpellBook(t.g);
  t.g.SpellTable(3, 0) += 10000;
  t.g.CharLong(kCaster, 2) = 11;
  t.g.CharRec(kCaster, 2) = 2;  // level 2 spells come at level 3
  EXPECT_EQ(checkedChoice(t.g, 2), 0);
  t.g.CharRec(kCaster, 2) = 3;
  EXPECT_EQ(checkedChoice(t.g, 2), 3);
}

void pay(Game& g, int spell) {
  g.SysWord(11) = static_cast<float>(spell);
  SPU(g);
}

TEST(SpellCost, PerLevelModeTakesAPointOfTheLevelAndTheSpellsFlags) {
  GameFixture t;
  setUpPriest(t.g, 1);
  giveSpellBook(t.g);
  t.g.CharLong(kCaster, 2) = 23;
  t.g.CharRec(kCaster, 2) = 5;
  pay(t.g, 3);
  EXPECT_EQ(t.g.CharLong(kCaster, 2), 13);
  EXPECT_TRUE(knowsSpell(t.g, kCaster, 3));
  EXPECT_EQ(t.g.CharRec(kCaster, 2), 5);

  t.g.SpellTable(3, 0) += 30000;  // costs a level and is forgotten
  pay(t.g, 3);
  EXPECT_EQ(t.g.CharLong(kCaster, 2), 3);
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 3));
  EXPECT_EQ(t.g.CharRec(kCaster, 2), 4);

  t.g.SpellTable(1, 0) += 20000;  // forgotten only
  pay(t.g, 1);
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 1));
  EXPECT_EQ(t.g.CharRec(kCaster, 2), 4);
}

TEST(SpellCost, PoolModeTakesOnlyTheCost) {
  GameFixture t;
  setUpPriest(t.g, 2);
  giveSpellBook(t.g);
  t.g.SpellTable(3, 0) += 30000;
  t.g.CharLong(kCaster, 2) = 20;
  t.g.CharRec(kCaster, 2) = 5;
  pay(t.g, 3);
  EXPECT_EQ(t.g.CharLong(kCaster, 2), 16);
  EXPECT_TRUE(knowsSpell(t.g, kCaster, 3));
  EXPECT_EQ(t.g.CharRec(kCaster, 2), 5);
}

}  // namespace
}  // namespace kestrun::game
