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
  g.ClassTable(kPriest, ClassSkills) = 1001;
  g.ClassTable(kPriest, HolyStartLevel) = 1;
  g.ClassTable(kPriest, HolyLevelStep) = 2;
  g.CharRec(kCaster, Status) = 1;
  g.CharRec(kCaster, Identity) = kPriest;
  g.CharRec(kCaster, LevelAndFloor) = 1;
  g.SysWord(StatScale) = 18;
  setStat(g, kCaster, 3, 9);
  g.Setting(HolySpellLevels) = 3;
  g.Setting(SpellPointMode) = static_cast<float>(pointMode);
  g.SysWord(ActingSlot) = kCaster;
}

// Spell `spell` of `level` with learning chance `chance` and pool cost `cost`.
void defineSpell(Game& g, int spell, int level, int chance, int cost = 1) {
  g.SpellTable(spell, SpellKindAndListing) = static_cast<float>(chance * 10 + 1);
  g.SpellTable(spell, SpellLevel) = static_cast<float>(level + 1000 * cost);
}

void recomputeAt(Game& g, int level, bool pointsOnly) {
  g.SysWord(NewLevel) = static_cast<float>(level);
  g.SysWord(LearningMode) = pointsOnly ? 1 : 0;
  SPM(g);
}

TEST(SpellPoints, PerLevelModeGivesEachOpenLevelItsOwnDigitUpToNine) {
  GameFixture t;
  setUpPriest(t.g, 1);
  recomputeAt(t.g, 5, true);
  // Level 5 opens spell levels 1..3: 6, 4 and 2 points.
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPointsMax), 246);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPoints), 246);
  EXPECT_EQ(t.g.CharLong(kCaster, MagicPointsMax), 0);  // no magic for a priest

  recomputeAt(t.g, 40, true);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPointsMax), 999);  // the fourth level is not in the scenario
}

TEST(SpellPoints, PoolModeWeighsEachLevelsPointsByTheLevel) {
  GameFixture t;
  setUpPriest(t.g, 2);
  t.g.CharLong(kCaster, HolyPoints) = 5;
  t.g.CharLong(kCaster, HolyPointsMax) = 8;
  recomputeAt(t.g, 5, true);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPointsMax), 6 * 1 + 4 * 2 + 2 * 3);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPoints), 5 + 20 - 8);
}

TEST(SpellPoints, ALevelLossLowersTheMaximumAndThePointsNowNeverBelowZero) {
  GameFixture t;
  setUpPriest(t.g, 1);
  t.g.CharLong(kCaster, HolyPoints) = 10;
  t.g.CharLong(kCaster, HolyPointsMax) = 246;
  recomputeAt(t.g, 3, true);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPointsMax), 24);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPoints), 0);
}

TEST(SpellPoints, LearningKeepsEveryLevelsPointsAtLeastAsHighAsBefore) {
  GameFixture t;
  setUpPriest(t.g, 1);
  t.g.CharLong(kCaster, HolyPointsMax) = 380;  // more at levels 2 and 3 than level 3 brings
  t.g.CharLong(kCaster, HolyPoints) = 380;
  recomputeAt(t.g, 3, false);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPointsMax), 384);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPoints), 384);
}

TEST(SpellLearning, LearnsOnlyTheSpellsOfTheLevelsReachedAndOfHisSchool) {
  GameFixture t;
  setUpPriest(t.g, 1);
  defineSpell(t.g, 1, 1, 100);
  defineSpell(t.g, 2, 2, 100);
  defineSpell(t.g, 3, 3, 100);  // level 3 opens at character level 5
  defineSpell(t.g, 4, 1, 100);
  t.g.SpellTable(4, SpellLevel) += 200;  // school 2
  defineSpell(t.g, 5, 1, 100);
  t.g.SpellTable(5, SpellLevel) += 100;  // school 1, his own
  defineSpell(t.g, 6, 1, 0);             // never learned
  defineSpell(t.g, 41, 1, 100);
  t.g.Setting(SpellSchools) = 1;
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
  t.g.Setting(HolySpellLevels) = 1;
  setStat(t.g, kCaster, 3, 1);  // Faith 1: 16 points off every chance
  defineSpell(t.g, 3, 1, 16);
  t.g.Setting(StatChangeMode) = 1;
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
  g.SysWord(SpellKindChosen) = 0;
}

int checkedChoice(Game& g, int entry) {
  g.SysWord(SpellEntry) = static_cast<float>(entry);
  SPK(g);
  return rt::toInt32(g.SysWord(SpellEntry));
}

TEST(SpellChoice, CountsOnlyKnownSpellsAndNeedsPointsOfTheSpellsLevel) {
  GameFixture t;
  setUpPriest(t.g, 1);
  giveSpellBook(t.g);
  t.g.CharLong(kCaster, HolyPoints) = 11;
  EXPECT_EQ(checkedChoice(t.g, 1), 1);
  EXPECT_EQ(checkedChoice(t.g, 2), 3);
  EXPECT_EQ(checkedChoice(t.g, 3), 0);
  t.g.CharLong(kCaster, HolyPoints) = 3;  // level 1 points only
  EXPECT_EQ(checkedChoice(t.g, 1), 1);
  EXPECT_EQ(checkedChoice(t.g, 2), 0);
}

TEST(SpellChoice, PoolModeNeedsTheSpellsCost) {
  GameFixture t;
  setUpPriest(t.g, 2);
  giveSpellBook(t.g);
  t.g.CharLong(kCaster, HolyPoints) = 3;
  EXPECT_EQ(checkedChoice(t.g, 1), 1);
  EXPECT_EQ(checkedChoice(t.g, 2), 0);
  t.g.CharLong(kCaster, HolyPoints) = 4;
  EXPECT_EQ(checkedChoice(t.g, 2), 3);
}

TEST(SpellChoice, ASpellCostingALevelNeedsTheLevelHisClassLearnsItAt) {
  GameFixture t;
  setUpPriest(t.g, 1);
  giveSpellBook(t.g);
  t.g.SpellTable(3, SpellKindAndListing) += 10000;
  t.g.CharLong(kCaster, HolyPoints) = 11;
  t.g.CharRec(kCaster, LevelAndFloor) = 2;  // level 2 spells come at level 3
  EXPECT_EQ(checkedChoice(t.g, 2), 0);
  t.g.CharRec(kCaster, LevelAndFloor) = 3;
  EXPECT_EQ(checkedChoice(t.g, 2), 3);
}

void pay(Game& g, int spell) {
  g.SysWord(SpellCode) = static_cast<float>(spell);
  SPU(g);
}

TEST(SpellCost, PerLevelModeTakesAPointOfTheLevelAndTheSpellsFlags) {
  GameFixture t;
  setUpPriest(t.g, 1);
  giveSpellBook(t.g);
  t.g.CharLong(kCaster, HolyPoints) = 23;
  t.g.CharRec(kCaster, LevelAndFloor) = 5;
  pay(t.g, 3);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPoints), 13);
  EXPECT_TRUE(knowsSpell(t.g, kCaster, 3));
  EXPECT_EQ(t.g.CharRec(kCaster, LevelAndFloor), 5);

  t.g.SpellTable(3, SpellKindAndListing) += 30000;  // costs a level and is forgotten
  pay(t.g, 3);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPoints), 3);
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 3));
  EXPECT_EQ(t.g.CharRec(kCaster, LevelAndFloor), 4);

  t.g.SpellTable(1, SpellKindAndListing) += 20000;  // forgotten only
  pay(t.g, 1);
  EXPECT_FALSE(knowsSpell(t.g, kCaster, 1));
  EXPECT_EQ(t.g.CharRec(kCaster, LevelAndFloor), 4);
}

TEST(SpellCost, PoolModeTakesOnlyTheCost) {
  GameFixture t;
  setUpPriest(t.g, 2);
  giveSpellBook(t.g);
  t.g.SpellTable(3, SpellKindAndListing) += 30000;
  t.g.CharLong(kCaster, HolyPoints) = 20;
  t.g.CharRec(kCaster, LevelAndFloor) = 5;
  pay(t.g, 3);
  EXPECT_EQ(t.g.CharLong(kCaster, HolyPoints), 16);
  EXPECT_TRUE(knowsSpell(t.g, kCaster, 3));
  EXPECT_EQ(t.g.CharRec(kCaster, LevelAndFloor), 5);
}

}  // namespace
}  // namespace kestrun::game
