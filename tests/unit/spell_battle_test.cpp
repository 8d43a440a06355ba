#include <gtest/gtest.h>

#include "spell_scene.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

// Monster 7 in groups 0 and 1, three of them each; monster 8 in group 2.
struct Battle : SpellScene {
  Battle() {
    monsters(0, 7, 3, 20);
    monsters(1, 7, 3, 20);
    monsters(2, 8, 2, 20);
    g.MonsterTable(7, MonsterExperience) = -29900;  // 100 experience
    g.MonsterTable(8, MonsterExperience) = -29950;
  }
  int living(int group) {
    int n = 0;
    for (int place = 0; place < 9; ++place) n += monsterHp(group, place) > 0 ? 1 : 0;
    return n;
  }
};

// --- announcements and the checks before the effect ------------------------------

TEST(SpellAnnouncement, NamesCasterAndSpellInTheCastersColour) {
  Battle b;
  b.spell(7, 6, 1, 1, 1);
  b.castInBattle(7, 0, 0);
  EXPECT_EQ(b.row(8), "M0 は S7 を唱えた");
  EXPECT_EQ(b.con.text().cell(24, 8).fg, 5);

  b.g.GroupUnknown(1) = 1;
  b.monsterCasts(7, 1, 0, 1);
  EXPECT_EQ(b.row(8), "Unknown は S7 を唱えた");
  EXPECT_EQ(b.con.text().cell(24, 8).fg, 3);
  EXPECT_EQ(b.row(10), "M0 は 1 のダメージ");
}

TEST(SpellAnnouncement, SealedAndStolenSpellsHaveNoEffect) {
  Battle b;
  b.spell(7, 6, 1, 10, 5);
  b.g.BattleMonsters(0, 1, MonsterSealed) = 1001;
  b.monsterCasts(7, 0, 1, 1);
  EXPECT_EQ(b.row(10), "しかし呪文は封じられている");
  b.g.BattleMonsters(0, 1, MonsterSealed) = 2;
  b.monsterCasts(7, 0, 1, 1);
  EXPECT_EQ(b.row(10), "しかし呪文は失われている");
  b.g.BattleParty(0, SpellsSealed) = 1;
  b.castInBattle(7, 0, 0);
  EXPECT_EQ(b.row(10), "しかし呪文は失われている");
  EXPECT_EQ(b.g.CharRec(0, HitPoints), 10);
  EXPECT_EQ(b.monsterHp(0, 0), 20);
}

TEST(SpellAnnouncement, AMonstersHealingDoesNotLandOnTheParty) {
  Battle b;
  b.spell(1, 1, 3, 99, 1);
  b.monsterCasts(1, 0, 0, 0);
  EXPECT_EQ(b.g.CharRec(0, HitPoints), 10);
  EXPECT_EQ(b.row(8), "Mon7 は S1 を唱えた");
}

TEST(SpellAnnouncement, AMonstersHitBoostLandsOnTheMembersItNames) {
  Battle b;
  b.spell(5, 5, 1, 4, 0);
  b.monsterCasts(5, 0, 0, 2);
  EXPECT_EQ(b.g.BattleParty(1, HitBonus), 4);
  EXPECT_EQ(b.g.BattleParty(0, HitBonus), 0);
  EXPECT_EQ(b.row(10), "M1 は攻撃の命中率が増した");
  EXPECT_EQ(b.con.text().cell(24, 10).fg, 3);
  // Scope 2 names no member either; such a spell reaches the whole party.
  b.spell(5, 5, 2, 4, 0);
  b.monsterCasts(5, 0, 0, 0);
  EXPECT_EQ(b.g.BattleParty(0, HitBonus), 4);
  EXPECT_EQ(b.g.BattleParty(1, HitBonus), 8);
  EXPECT_EQ(b.g.BattleParty(2, HitBonus), 4);
}

// --- scopes and kills -----------------------------------------------------------------

TEST(SpellScope, OneMonsterItsGroupOrEveryGroup) {
  Battle b;
  b.spell(7, 6, 1, 1, 1);
  b.spell(8, 6, 2, 1, 1);
  b.spell(9, 6, 3, 1, 1);
  b.castInBattle(7, 0, 12);  // group 1, place 2
  EXPECT_EQ(b.monsterHp(1, 2), 19);
  EXPECT_EQ(b.monsterHp(1, 1), 20);
  b.castInBattle(8, 0, 10);
  EXPECT_EQ(b.monsterHp(1, 0), 19);
  EXPECT_EQ(b.monsterHp(1, 2), 18);
  EXPECT_EQ(b.monsterHp(0, 0), 20);
  b.castInBattle(9, 0, 0);
  EXPECT_EQ(b.monsterHp(0, 0), 19);
  EXPECT_EQ(b.monsterHp(2, 1), 19);
  EXPECT_EQ(b.monsterHp(1, 2), 17);
}

TEST(SpellKills, KillCountExperienceAndGroupsAreKept) {
  Battle b;
  b.spell(7, 6, 2, 30, 2);  // at least 2, at most 60
  for (int place = 0; place < 3; ++place) b.monsterHp(0, place) = 1;
  b.castInBattle(7, 0, 0);
  EXPECT_EQ(b.living(0), 0);
  EXPECT_EQ(b.g.GroupCount(0), 0);
  EXPECT_EQ(b.g.GroupKills(0), 703);
  EXPECT_EQ(b.g.WorkLong(ExpPool), 300);
  EXPECT_EQ(b.g.CharRec(0, Kills), 3);
  EXPECT_EQ(b.row(10), "Mon7 は倒れた");

  b.g.CharRec(0, Kills) = 30001;  // held there
  b.monsterHp(1, 0) = 1;
  b.castInBattle(7, 0, 10);
  EXPECT_EQ(b.g.CharRec(0, Kills), 30001);
}

TEST(SpellResistance, AMonsterSureToResistTakesNothing) {
  Battle b;
  b.spell(7, 6, 2, 5, 1);
  for (int place = 0; place < 3; ++place)
    b.g.BattleMonsters(0, place, MonsterSpellResistance) = 100;
  b.castInBattle(7, 0, 0);
  EXPECT_EQ(b.living(0), 3);
  EXPECT_EQ(b.monsterHp(0, 2), 20);
  EXPECT_EQ(b.row(10), "Mon7 は呪文に抵抗した");
}

// --- damage --------------------------------------------------------------------------

TEST(DamageSpell, NinetyNineFacesLeaveTheVictimOneToBHitPoints) {
  for (int seed = 1; seed <= 10; ++seed) {
    Battle b;
    b.con.random().RANDOMIZE(seed);
    b.spell(7, 6, 1, 99, 4);
    b.castInBattle(7, 0, 0);
    EXPECT_GE(b.monsterHp(0, 0), 1);
    EXPECT_LE(b.monsterHp(0, 0), 4);
  }
}

TEST(ElementalDamage, FireOnAColdResistantMonsterHurtsMore) {
  Battle b;
  b.spell(41, 1, 1, 1, 10);                   // exactly 10
  b.g.MonsterTable(7, MonsterDrain) = 10000;  // resists cold
  b.castInBattle(41, 0, 0);
  EXPECT_EQ(b.monsterHp(0, 0), 8);
  EXPECT_EQ(b.row(10), "Mon7 は 12 のダメージ");
}

TEST(ElementalDamage, RadiationComesFromTheCastersStatAndLevelFractionAndAll) {
  Battle b;
  b.spell(51, 4, 1, 2, 30);  // Knowledge 10 x level 5 x 30 %
  b.castInBattle(51, 0, 0);
  EXPECT_EQ(b.monsterHp(0, 0), 5);
  b.spell(51, 4, 1, 2, 31);  // 15.5: not rounded down
  b.castInBattle(51, 0, 1);
  EXPECT_EQ(b.monsterHp(0, 1), 4.5f);
  EXPECT_EQ(b.row(10), "Mon7 は 15.5 のダメージ");
}

TEST(ElementalDamage, OnMembersResistanceAndWornWardsCutIt) {
  Battle b;
  b.spell(41, 1, 1, 1, 9);  // exactly 9
  b.g.CharRec(0, HitPoints) = 30;
  b.g.ItemTable(3, ItemPriceHigh) = 10000;    // wards off fire
  b.g.ItemTable(4, ItemBonusStat) = 1000;     // wards off spells
  b.g.CharRec(0, FirstItemSlot) = 11003;      // worn
  b.g.CharRec(0, FirstItemSlot + 1) = 10004;  // carried
  for (int seed = 1; seed <= 10; ++seed) {
    b.con.random().RANDOMIZE(seed);
    b.g.CharRec(0, HitPoints) = 30;
    b.monsterCasts(41, 0, 0, 1);
    const float taken = 30 - b.g.CharRec(0, HitPoints);
    // 9 x 2/3 = 6 by the ward, 4 when he resists too.
    EXPECT_TRUE(taken == 6 || taken == 4) << taken;
  }
}

TEST(DamageOnMembers, NeverMoreThanTheHitPointsAndTheDeadAreLeftAlone) {
  Battle b;
  b.spell(7, 6, 3, 50, 5);
  b.g.CharRec(2, Status) = status::Spirit;
  b.monsterCasts(7, 0, 0, 0);
  EXPECT_EQ(b.g.CharRec(0, HitPoints), 0);
  EXPECT_EQ(b.g.CharRec(0, Status), status::Dead);
  EXPECT_EQ(b.g.CharRec(2, Status), status::Spirit);
  EXPECT_EQ(b.row(10), "M1 は死んだ");
}

// A damage spell on a member rolls its dice first and draws for the
// member's resistance after them.
TEST(DamageOnMembers, TheDiceComeBeforeTheResistanceDraw) {
  Battle b;
  b.spell(7, 6, 1, 20, 1);                 // one die of 20 faces
  b.g.ItemTable(4, ItemBonusStat) = 1000;  // wards off spells: resists half the time
  b.g.CharRec(0, FirstItemSlot) = 10004;
  int resisted = 0;
  for (int seed = 1; seed <= 12; ++seed) {
    b.con.random().RANDOMIZE(seed);
    rt::Random draws = b.con.random();
    const double rolled = rt::INT(draws.RND(1) * 20 + 1);
    const bool resists = 50 > draws.RND(1) * 100;
    resisted += resists ? 1 : 0;
    b.g.CharRec(0, HitPoints) = 30;
    b.g.CharRec(0, Status) = status::Normal;
    b.monsterCasts(7, 0, 0, 1);
    EXPECT_EQ(30 - b.g.CharRec(0, HitPoints), resists ? rt::INT(rolled * 2 / 3) : rolled) << seed;
  }
  EXPECT_GT(resisted, 0);
  EXPECT_LT(resisted, 12);
}

// --- drain -----------------------------------------------------------------------------

TEST(DrainSpell, TheCasterGainsAtMostWhatHeMisses) {
  Battle b;
  b.spell(12, 7, 1, 1, 8);  // exactly 8
  b.g.CharRec(0, HitPoints) = 27;
  b.castInBattle(12, 0, 0);
  EXPECT_EQ(b.monsterHp(0, 0), 12);
  EXPECT_EQ(b.g.CharRec(0, HitPoints), 30);
  EXPECT_EQ(b.row(10), "M0 は HP が 3 だけ回復した");

  b.monsterHp(1, 0) = 5;
  b.g.BattleMonsters(1, 0, MonsterMaxHitPoints) = 9;
  b.g.CharRec(1, HitPoints) = 30;
  b.monsterCasts(12, 1, 0, 2);
  EXPECT_TRUE(b.g.CharRec(1, HitPoints) == 30 || b.g.CharRec(1, HitPoints) == 22);
  if (b.g.CharRec(1, HitPoints) == 22) {
    EXPECT_EQ(b.monsterHp(1, 0), 9);
  }
}

// --- disabling spells ------------------------------------------------------------------

TEST(DisablingSpells, ParalysisSleepAndStoneOnMonsters) {
  int paralysed = 0;
  for (int seed = 1; seed <= 40; ++seed) {
    Battle b;
    b.con.random().RANDOMIZE(seed);
    b.spell(13, 8, 1, 0, 0);
    b.castInBattle(13, 0, 0);
    const float state = b.g.BattleMonsters(0, 0, MonsterState);
    EXPECT_TRUE(state == 0 || state == 1);
    paralysed += state == 1 ? 1 : 0;
  }
  // Level 0 monsters against a level 5 caster escape only by the base 25 %.
  EXPECT_GT(paralysed, 20);
  EXPECT_LT(paralysed, 40);
}

TEST(DisablingSpells, ChangeStateWithAFourOrMoreDrawsTheState) {
  bool slept = false;
  bool stoned = false;
  for (int seed = 1; seed <= 60; ++seed) {
    Battle b;
    b.con.random().RANDOMIZE(seed);
    b.spell(63, 7, 1, 5, 100);  // (20 - 0) x 100 never falls below a draw of 1000
    b.castInBattle(63, 0, 0);
    const std::string said = b.row(10);
    const float state = b.g.BattleMonsters(0, 0, MonsterState);
    if (said == "Mon7 は眠ってしまった") {
      slept = true;
      EXPECT_EQ(state, 1);
    } else {
      EXPECT_EQ(state, 2) << said;
      stoned = stoned || said == "Mon7 は石化してしまった";
    }
  }
  EXPECT_TRUE(slept);
  EXPECT_TRUE(stoned);

  Battle immune;
  immune.spell(42, 7, 1, 1, 100);
  immune.g.MonsterTable(7, MonsterImmunity) = 10000;
  immune.castInBattle(42, 0, 0);
  EXPECT_EQ(immune.g.BattleMonsters(0, 0, MonsterState), 0);
}

TEST(DisablingSpells, OnMembersSleepParalysisAndStoneKeepTheOtherDigits) {
  for (int a = 1; a <= 3; ++a) {
    bool took = false;
    for (int seed = 1; seed <= 30 && !took; ++seed) {
      Battle b;
      b.con.random().RANDOMIZE(seed);
      b.g.CharRec(0, LevelAndFloor) = 0;  // no edge over the monster
      setStat(b.g, 0, Strength, 0);
      b.g.CharRec(0, Status) = 1001;
      b.spell(63, 7, 1, a, 0);
      b.monsterCasts(63, 0, 0, 1);
      const float st = b.g.CharRec(0, Status);
      if (st == 1001) continue;
      took = true;
      const float expected[] = {1011, 1101, 11001};
      EXPECT_EQ(st, expected[a - 1]) << "a = " << a;
    }
    EXPECT_TRUE(took) << "a = " << a;
  }
}

TEST(KillSpells, AMembersFloorFlagsDoNotHelpHimEscape) {
  // The level contest weighs the Strength digits alone; the floor flags
  // above them in the same field would otherwise win every contest.
  Battle b;
  b.spell(9, 9, 1, 0, 0);
  b.g.MonsterTable(7, MonsterLevel) = 100;  // level 1
  b.g.CharRec(0, LevelAndFloor) = 1;
  int slain = 0;
  for (int n = 1; n <= 20; ++n) {
    bool dead[2];
    for (bool flagged : {false, true}) {
      b.g.CharRec(0, Status) = status::Normal;
      b.g.CharRec(0, HitPoints) = 10;
      b.g.CharRec(0, FloorFlags) = flagged ? 11010 : 1010;
      rt::Random& random = b.con.random();
      random.RANDOMIZE(static_cast<int32_t>(random.seed() ^ (n * 7919u)));  // the same seed twice
      b.monsterCasts(9, 0, 0, 1);
      dead[flagged] = b.g.CharRec(0, Status) == status::Dead;
    }
    EXPECT_EQ(dead[0], dead[1]) << n;
    slain += dead[0];
  }
  EXPECT_GT(slain, 0);
}

TEST(KillSpells, FamilyOfTheSpellIsSpared) {
  Battle b;
  b.spell(53, 6, 2, 3, 0);  // family 3 unaffected
  b.g.MonsterTable(7, MonsterType) = 3000;
  b.castInBattle(53, 0, 0);
  EXPECT_EQ(b.living(0), 3);
}

TEST(Banish, ByFamilyWithResistanceOrByLevel) {
  Battle b;
  b.spell(52, 5, 3, 1, 4);  // family 4
  b.g.MonsterTable(8, MonsterType) = 4000;
  b.castInBattle(52, 0, 0);
  EXPECT_EQ(b.living(0), 3);
  EXPECT_EQ(b.living(2), 0);
  EXPECT_EQ(b.row(10), "Mon8 は消滅した");
  EXPECT_EQ(b.g.WorkLong(ExpPool), 100);

  b.spell(54, 5, 3, 2, 2);  // level 2 and below
  b.g.MonsterTable(7, MonsterLevel) = 300;
  b.castInBattle(54, 0, 0);
  EXPECT_EQ(b.living(0), 3);
  b.g.MonsterTable(7, MonsterLevel) = 200;
  b.castInBattle(54, 0, 0);
  EXPECT_EQ(b.living(0), 0);
  EXPECT_EQ(b.living(1), 0);
}

// --- seals, theft, resistance and armour -----------------------------------------

TEST(SealSpells, AbilitiesBySpellStrengthAndTheStareDropsHigherDigits) {
  struct Case {
    int a;
    float before;
    float after;
  };
  const Case cases[] = {{1, 0, 1100}, {2, 1, 1011}, {3, 0, 110}, {4, 52101, 1101}, {6, 0, 10}};
  for (const Case& c : cases) {
    bool took = false;
    for (int seed = 1; seed <= 20 && !took; ++seed) {
      Battle b;
      b.con.random().RANDOMIZE(seed);
      b.spell(54, 8, 1, c.a, 0);
      b.g.BattleMonsters(0, 0, MonsterSealed) = c.before;
      b.castInBattle(54, 0, 0);
      if (b.g.BattleMonsters(0, 0, MonsterSealed) == c.before) continue;
      took = true;
      EXPECT_EQ(b.g.BattleMonsters(0, 0, MonsterSealed), c.after) << "a = " << c.a;
    }
    EXPECT_TRUE(took);
  }
}

TEST(StealSpells, PerLevelDigitsAddUpToTheCastersMaximum) {
  for (int seed = 1; seed <= 20; ++seed) {
    Battle b;
    b.con.random().RANDOMIZE(seed);
    b.spell(16, 11, 1, 0, 0);
    b.g.CharLong(0, HolyPoints) = 201;
    b.g.CharLong(0, HolyPointsMax) = 333;
    b.g.BattleMonsters(0, 0, HolyCharges) = 222;     // levels 1..3
    b.g.BattleMonsters(0, 0, MagicChargesHigh) = 5;  // magic level 5
    b.castInBattle(16, 0, 0);
    if (b.g.BattleMonsters(0, 0, HolyCharges) != 0) continue;  // it escaped
    EXPECT_EQ(b.g.CharLong(0, HolyPoints), 323);
    EXPECT_EQ(b.g.CharLong(0, MagicPoints), 0);  // no room at all
    EXPECT_EQ(b.g.BattleMonsters(0, 0, MagicChargesHigh), 0);
    EXPECT_EQ(digit(b.g.BattleMonsters(0, 0, MonsterSealed), 0), 2);
    EXPECT_EQ(b.row(10), "Mon7 から呪文を奪い取った");
    return;
  }
  FAIL() << "the monster always escaped";
}

TEST(StealSpells, PoolModeTakesThePoolUpToTheMaximum) {
  Battle b;
  b.g.Setting(SpellPointMode) = 2;
  b.g.MonsterTable(7, MonsterLevel) = 0;
  for (int seed = 1; seed <= 20; ++seed) {
    b.con.random().RANDOMIZE(seed);
    b.spell(16, 11, 1, 0, 0);
    b.g.CharLong(0, MagicPoints) = 5;
    b.g.CharLong(0, MagicPointsMax) = 12;
    b.g.BattleMonsters(0, 0, MagicCharges) = 9;
    b.castInBattle(16, 0, 0);
    if (b.g.BattleMonsters(0, 0, MagicCharges) != 0) continue;
    EXPECT_EQ(b.g.CharLong(0, MagicPoints), 12);
    return;
  }
  FAIL() << "the monster always escaped";
}

TEST(StealSpells, AMonsterTakesOnlyTheLevelsItsKindHolds) {
  for (int seed = 1; seed <= 40; ++seed) {
    Battle b;
    b.con.random().RANDOMIZE(seed);
    b.spell(16, 11, 1, 0, 0);
    b.g.MonsterTable(7, MonsterGroupSides) = 2000;  // two holy levels
    b.g.BattleMonsters(0, 1, HolyCharges) = 8;
    b.g.CharLong(1, HolyPoints) = 555;
    b.g.BattleParty(1, FirstBattleStat + Knowledge) = 0;
    b.monsterCasts(16, 0, 1, 2);
    if (b.g.CharLong(1, HolyPoints) != 0) continue;  // resisted
    EXPECT_EQ(b.g.BattleMonsters(0, 1, HolyCharges), 59);
    EXPECT_EQ(b.row(10), "M1 は呪文を奪い取られた");
    return;
  }
  FAIL() << "the member always resisted";
}

TEST(MonsterResistance, LoweredNeverBelowZeroAndArmourRaised) {
  Battle b;
  b.spell(17, 12, 1, 20, 0);
  b.g.BattleMonsters(0, 0, MonsterSpellResistance) = 15;
  b.castInBattle(17, 0, 0);
  EXPECT_EQ(b.g.BattleMonsters(0, 0, MonsterSpellResistance), 0);
  EXPECT_EQ(b.row(10), "Mon7 は呪文抵抗力を減らされた");
  b.spell(55, 9, 2, 3, 0);
  b.castInBattle(55, 0, 0);
  EXPECT_EQ(b.g.BattleMonsters(0, 2, MonsterArmourClass), 3);
}

}  // namespace
}  // namespace kestrun::game
