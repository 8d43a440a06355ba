#include <gtest/gtest.h>

#include "game/character/party_members.h"
#include "spell_scene.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

// --- healing ------------------------------------------------------------------

TEST(HealingSpell, NeverRaisesHitPointsAboveTheMaximum) {
  SpellScene s;
  s.spell(1, 1, 2, 20, 3);  // 3 dice of 20: at least 3
  s.g.CharRec(1, HitPoints) = 29;
  s.cast(1, 0, 1);
  EXPECT_EQ(s.g.CharRec(1, HitPoints), 30);
  EXPECT_EQ(s.row(16), "M1 は HP が 1 だけ回復した");
}

TEST(HealingSpell, NinetyNineFacesHealEverythingAndScopeThreeEveryMember) {
  SpellScene s;
  s.spell(1, 1, 3, 99, 1);
  s.cast(1, 0, 0);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(s.g.CharRec(c, HitPoints), 30);
}

// --- cures ----------------------------------------------------------------------

TEST(CureSpell, ACureWithoutItsConditionChangesNothingAndSaysNothing) {
  SpellScene s;
  s.spell(5, 2, 2, 1, 0);        // poison
  s.g.CharRec(1, Status) = 101;  // paralysed, not poisoned
  s.cast(5, 0, 1);
  EXPECT_EQ(s.g.CharRec(1, Status), 101);
  EXPECT_EQ(s.row(16), "");

  s.g.CharRec(1, Status) = 1101;
  s.cast(5, 0, 1);
  EXPECT_EQ(s.g.CharRec(1, Status), 101);
  EXPECT_EQ(s.row(16), "M1 は回復した");
}

TEST(CureSpell, EachStrengthCuresItsOwnAilments) {
  struct Case {
    int a;
    float before;
    float after;
  };
  const Case cases[] = {
      {2, 1101, 1001},    // paralysis only
      {3, 10101, 101},    // stone, the ailments below it stay
      {3, 10000, 1},      // a bare stone is simply well, not an empty slot
      {4, 1011, 1001},    // sleep
      {5, 1111, 1001},    // sleep or paralysis, poison stays
      {6, 1101, 1},       // anything
      {1, 12001, 12001},  // beyond a cure below 8
  };
  for (const Case& c : cases) {
    SpellScene s;
    s.spell(5, 2, 2, c.a, 0);
    s.g.CharRec(1, Status) = c.before;
    s.cast(5, 0, 1);
    EXPECT_EQ(s.g.CharRec(1, Status), c.after) << "a = " << c.a << ", status " << c.before;
  }
}

TEST(CureSpell, FullRecoveryAndTheRevivalsAreRefusedOrLimitedInBattle) {
  SpellScene s;
  s.spell(5, 2, 2, 8, 0);
  s.g.CharRec(1, Status) = status::Dead;
  s.castInBattle(5, 0, 1);
  EXPECT_EQ(s.g.CharRec(1, Status), status::Dead);

  s.spell(6, 2, 2, 7, 0);
  s.g.CharRec(2, Status) = 101;
  s.castInBattle(6, 0, 2);
  EXPECT_EQ(s.g.CharRec(2, Status), 1);
  EXPECT_EQ(s.g.CharRec(2, HitPoints), 30);
}

TEST(Revival, ImpossibleWhenTheCastersFaithIsOneOrLess) {
  for (int seed = 1; seed <= 20; ++seed) {
    SpellScene s;
    s.con.random().RANDOMIZE(seed);
    s.spell(10, 2, 2, 9, 0);
    setStat(s.g, 0, Faith, 1);
    setStat(s.g, 1, Health, 18);
    s.g.CharRec(1, Status) = status::Dead;
    s.cast(10, 0, 1);
    EXPECT_EQ(s.g.CharRec(1, Status), status::Spirit) << "seed " << seed;
  }
}

TEST(Revival, SucceedsWithOneHitPointOrAllAndCostsAPointOfHealth) {
  SpellScene s;
  s.spell(10, 2, 2, 8, 0);
  setStat(s.g, 0, Faith, 40);  // 80 + Health beats any draw of 60
  s.g.CharRec(1, Status) = status::Dead;
  s.g.CharRec(1, HitPoints) = 0;
  s.cast(10, 0, 1);
  EXPECT_EQ(s.g.CharRec(1, Status), 1);
  EXPECT_EQ(s.g.CharRec(1, HitPoints), 1);
  EXPECT_EQ(statOf(s.g, 1, Health), 9);
  EXPECT_EQ(statOf(s.g, 1, Strength), 10);
  EXPECT_EQ(s.row(16), "M1 は回復した");

  // A spirit rises only to the stronger spell, with every hit point; with
  // Strength unused both halves of the pair lose the point.
  s.g.Setting(FirstStatUsed + Strength) = 0;
  s.spell(11, 2, 2, 9, 0);
  s.g.CharRec(2, Status) = status::Spirit;
  s.cast(10, 0, 2);
  EXPECT_EQ(s.g.CharRec(2, Status), status::Spirit);
  s.cast(11, 0, 2);
  EXPECT_EQ(s.g.CharRec(2, Status), 1);
  EXPECT_EQ(s.g.CharRec(2, HitPoints), 30);
  EXPECT_EQ(statOf(s.g, 2, Strength), 9);
  EXPECT_EQ(statOf(s.g, 2, Health), 9);
}

TEST(Revival, AFailedSpiritIsLostAndLeavesTheParty) {
  SpellScene s(3);
  s.spell(11, 2, 2, 9, 0);
  setStat(s.g, 0, Faith, 1);
  s.g.CharRec(1, Status) = status::Spirit;
  s.g.CharRec(1, LevelAndFloor) = 2005;
  s.g.BattleParty(2, BattleArmourClass) = 7;  // the third member's row
  s.cast(11, 0, 1);
  EXPECT_EQ(s.g.CharRec(1, Status), status::Lost);
  EXPECT_EQ(s.g.CharRec(1, LevelAndFloor), 0);
  EXPECT_EQ(s.row(16), "M1 は復活に失敗した !");
  ASSERT_EQ(partySize(s.g), 2);
  EXPECT_EQ(memberSlot(s.g, 2), 2);
  EXPECT_EQ(s.g.BattleParty(1, BattleArmourClass), 7);  // his row moved up
  EXPECT_EQ(s.g.BattleParty(2, BattleArmourClass), 0);
}

// --- armour and battle bonuses ---------------------------------------------------------

TEST(ArmourSpell, LastingProtectionOnlyOnceAndNotOverAStrongerOne) {
  SpellScene s;
  s.spell(3, 3, 3, 2, 2);
  s.g.CharRec(2, ArmourModifier) = 5;
  s.cast(3, 1, 0);
  EXPECT_EQ(s.g.CharRec(0, ArmourModifier), 2);
  EXPECT_EQ(s.g.CharRec(2, ArmourModifier), 5);
  EXPECT_EQ(s.g.GameState(ProtectionEffect), 1002);
  EXPECT_EQ(s.row(16), "パーティー は AC が  2  低下した");

  // Running already: refused in the camp.
  s.g.CharRec(0, ArmourModifier) = 0;
  s.cast(3, 1, 0);
  EXPECT_EQ(s.g.CharRec(0, ArmourModifier), 0);
}

TEST(ArmourSpell, ForOneBattleLowersTheBattleRowAndIsRefusedInTheCamp) {
  SpellScene s;
  s.spell(45, 10, 2, 3, 1);
  s.g.BattleParty(1, BattleArmourClass) = 8;
  s.cast(45, 0, 1);
  EXPECT_EQ(s.g.BattleParty(1, BattleArmourClass), 8);
  s.castInBattle(45, 0, 1);
  EXPECT_EQ(s.g.BattleParty(1, BattleArmourClass), 5);
  EXPECT_EQ(s.row(10), "M1 は AC が  3  低下した");
}

TEST(StatBoost, RaisesTheStatAndItsUnusedPartnerAndAgilityAddsInitiative) {
  SpellScene s;
  s.spell(11, 4, 2, 3, 6);  // Dexterity + 3
  s.g.Setting(FirstStatUsed + Agility) = 0;
  s.castInBattle(11, 0, 1);
  EXPECT_EQ(s.g.BattleParty(1, FirstStatBonus + Dexterity), 3);
  EXPECT_EQ(s.g.BattleParty(1, FirstBattleStat + Dexterity), 3);
  EXPECT_EQ(s.g.BattleParty(1, FirstStatBonus + Agility), 3);
  EXPECT_EQ(s.g.BattleParty(1, FirstBattleStat + Agility), 3);
  EXPECT_EQ(s.g.Initiative(0, 1), 6);
  s.g.StatName(Dexterity) = "器用"_sj;
  s.castInBattle(11, 0, 2);
  EXPECT_EQ(s.row(10), "M2 は 器用度が 3 だけ増加した");

  SpellScene t;
  t.spell(11, 4, 2, 2, 1);  // Strength, partner used
  t.castInBattle(11, 0, 1);
  EXPECT_EQ(t.g.BattleParty(1, FirstBattleStat + Strength), 2);
  EXPECT_EQ(t.g.BattleParty(1, FirstBattleStat + Health), 0);
  EXPECT_EQ(t.g.Initiative(0, 1), 0);
}

TEST(BattleBonuses, HitWeaponAndSpellShield) {
  SpellScene s;
  s.spell(6, 5, 3, 10, 0);
  s.spell(57, 12, 2, 2, 0);
  s.spell(47, 13, 2, 0, 0);
  s.cast(6, 0, 0);  // a battle spell in the camp does nothing
  EXPECT_EQ(s.g.BattleParty(0, HitBonus), 0);
  s.castInBattle(6, 0, 0);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(s.g.BattleParty(row, HitBonus), 10);
  s.castInBattle(57, 0, 2);
  EXPECT_EQ(s.g.BattleParty(2, DamageBonus), 2);
  s.g.BattleParty(1, SpellResistance) = 70;
  s.castInBattle(47, 0, 1);
  s.castInBattle(47, 0, 1);
  EXPECT_EQ(s.g.BattleParty(1, SpellResistance), 90);
  EXPECT_EQ(s.row(10), "M1 は呪文への抵抗力が増した");
}

// --- the dungeon's lasting effects ------------------------------------------------

TEST(LastingEffects, LightIdentificationAndMovementWriteTheirWords) {
  SpellScene s;
  s.spell(2, 16, 1, 500, 3);
  s.spell(23, 16, 2, 200, 3);
  s.spell(18, 13, 0, 2, 0);
  s.spell(19, 13, 0, 1, 0);
  s.spell(58, 16, 1, 2, 0);
  s.spell(59, 16, 2, 1, 0);
  s.cast(2, 2, 0);
  EXPECT_EQ(s.g.GameState(LightEffect), 2013);
  s.cast(23, 2, 0);
  EXPECT_EQ(s.g.GameState(TimedEffect), 23200);
  s.cast(19, 1, 0);  // strength 1 only in battle
  EXPECT_EQ(s.g.GameState(IdentifyEffect), 0);
  s.cast(18, 1, 0);
  EXPECT_EQ(s.g.GameState(IdentifyEffect), 1002);
  s.cast(58, 0, 0);
  s.cast(59, 0, 0);
  EXPECT_EQ(s.g.GameState(LevitationEffect), 2);
  EXPECT_EQ(s.g.GameState(InvisibilityEffect), 1);
  s.g.GameState(LevitationEffect) = 0;
  s.castInBattle(58, 0, 0);
  EXPECT_EQ(s.g.GameState(LevitationEffect), 0);
}

// --- lost levels -------------------------------------------------------------------

TEST(LevelRestore, GivesBackTheDrainedLevelsOnceWithMoreHitPoints) {
  SpellScene s;
  s.spell(20, 18, 2, 0, 0);
  s.g.ClassTable(0, HitPointDice) = 1008;  // d8 per level, d10 first
  s.g.CharRec(1, LevelAndFloor) = 2003;
  s.g.BattleParty(1, LevelsLost) = 1003;  // 3 recorded, 1 of them a cast
  s.castInBattle(20, 0, 1);
  EXPECT_EQ(s.row(10), "M1 のレベル回復はできなかった");
  EXPECT_EQ(levelOf(s.g, 1), 3);

  s.cast(20, 0, 1);
  EXPECT_EQ(s.row(16), "M1 は失ったレベルを回復した");
  EXPECT_EQ(levelOf(s.g, 1), 5);
  EXPECT_EQ(floorLeftOn(s.g, 1), 2);
  EXPECT_GE(s.g.CharRec(1, MaxHitPoints), 31);
  EXPECT_EQ(s.g.CharRec(1, HitPoints) - 10, s.g.CharRec(1, MaxHitPoints) - 30);

  s.cast(20, 0, 1);
  EXPECT_EQ(levelOf(s.g, 1), 5);
  EXPECT_EQ(s.row(16), "M1 のレベル回復はできなかった");
}

}  // namespace
}  // namespace kestrun::game
