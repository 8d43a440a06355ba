#include "game/spells/miracle.h"

#include <gtest/gtest.h>

#include <set>

#include "game/character/party_members.h"
#include "spell_scene.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

struct Miracles : SpellScene {
  Miracles() {
    g.ClassTable(0, ClassSkills) = 10001;
    g.ClassTable(1, ClassSkills) = 1001;
    g.SysWord(SpellCasterTarget) = 0;
  }
  // Miracle spell 19 of mode, range and offer size.
  void miracleSpell(double mode, double range, double size) { spell(19, 15, mode, range, size); }
  int choose(const std::string& keys = "") {
    type(keys);
    g.SysWord(MiracleSpell) = 19;
    MRCH(g);
    return static_cast<int>(g.SysWord(MiracleEffect));
  }
  void perform(int effect, int position) {
    g.SysWord(MiracleEffect) = static_cast<float>(effect);
    g.SysWord(MiracleTarget) = static_cast<float>(position);
    MIRACLE(g);
  }
};

// --- the choice -------------------------------------------------------------------

TEST(MiracleChoice, ModeTwoIsTheRangeItselfAndModeOneADraw) {
  Miracles m;
  m.miracleSpell(2, 4, 0);
  EXPECT_EQ(m.choose(), 4);
  m.miracleSpell(1, 3, 0);
  for (int n = 0; n < 20; ++n) {
    const int e = m.choose();
    EXPECT_GE(e, 1);
    EXPECT_LE(e, 3);
  }
}

TEST(MiracleChoice, AnOfferAsLargeAsItsRangeIsTheFirstEffectsInOrder) {
  Miracles m;
  m.miracleSpell(3, 4, 4);
  EXPECT_EQ(m.choose("3{Enter}"), 3);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(m.g.SysWord(FirstOfferedEffect + i), i + 1);
  EXPECT_EQ(m.g.SysWord(FirstOfferedEffect + 4), 0);
  EXPECT_EQ(m.row(11), "1  モンスターをすべて消滅させる");
  EXPECT_EQ(m.row(14), "4  全員のＨＰをもとに戻す");
}

TEST(MiracleChoice, ADrawnOfferNeverRepeatsNorOffersUnusedStatsOrClasses) {
  Miracles m;
  for (int s = 1; s < 8; ++s) m.g.Setting(FirstStatUsed + s) = 0;  // only Strength
  m.miracleSpell(3, 36, 5);
  for (int seed = 1; seed <= 30; ++seed) {
    m.con.random().RANDOMIZE(seed);
    const int chosen = m.choose("9{Enter}5{Enter}");  // 9 is out of range: asked again
    std::set<int> offered;
    for (int i = 0; i < 5; ++i) {
      const int e = static_cast<int>(m.g.SysWord(FirstOfferedEffect + i));
      offered.insert(e);
      EXPECT_TRUE(e <= 11 || e >= 34 || e == 19 || e == 20) << e;
    }
    EXPECT_EQ(offered.size(), 5u);
    EXPECT_EQ(chosen, m.g.SysWord(FirstOfferedEffect + 4));
  }
}

TEST(MiracleChoice, AnOfferLargerThanItsEffectsIsCutDown) {
  Miracles m;
  m.miracleSpell(3, 2, 5);
  EXPECT_GE(m.choose("2{Enter}"), 1);
  EXPECT_EQ(m.g.SysWord(FirstOfferedEffect + 2), 0);
}

TEST(MiracleChoice, AnOfferHoldsOneToFiveEffects) {
  // Five words hold the offer; a size of 0 still offers one effect.
  Miracles m;
  m.miracleSpell(3, 10, 9);
  m.choose("5{Enter}");
  for (int i = 0; i < 5; ++i) EXPECT_NE(m.g.SysWord(FirstOfferedEffect + i), 0);
  EXPECT_EQ(m.row(16), "");
  EXPECT_EQ(m.row(9), "1 - 5");
  m.miracleSpell(3, 10, 0);
  const int only = m.choose("1{Enter}");
  EXPECT_EQ(m.g.SysWord(FirstOfferedEffect), only);
  EXPECT_EQ(m.g.SysWord(FirstOfferedEffect + 1), 0);
}

TEST(MiracleChoice, ADrawNeverReachesTheDeathOrLossOfAMember) {
  // Effects 37 and 38 would strike the wearer of an item whose power draws
  // them, so a range above 36 draws as 36 does.
  Miracles m;
  m.miracleSpell(1, 99, 0);
  for (int n = 0; n < 200; ++n) EXPECT_LE(m.choose(), 36);
}

// --- effects on everybody ---------------------------------------------------------

TEST(MiracleEffects, MonstersAllDieWithTheirExperienceButOnlyInTheDungeon) {
  Miracles m;
  m.monsters(0, 7, 3, 9);
  m.monsters(1, 8, 2, 9);
  m.g.MonsterTable(7, MonsterExperience) = -29990;
  m.g.SysWord(SpellCasterTarget) = 100;  // member 1 casts
  m.g.GameState(FloorAndFacing) = 0;
  m.perform(1, 0);
  EXPECT_EQ(m.monsterHp(0, 0), 9);

  m.g.GameState(FloorAndFacing) = 200;
  m.perform(1, 0);
  EXPECT_EQ(m.monsterHp(0, 2), 0);
  EXPECT_EQ(m.monsterHp(1, 1), 0);
  EXPECT_EQ(m.g.BattleMonsters(0, 0, MonsterAction), 6);
  EXPECT_EQ(m.g.GroupCount(0), 0);
  EXPECT_EQ(m.g.GroupCount(1), 0);
  EXPECT_EQ(m.g.CharRec(1, Kills), 5);
  EXPECT_EQ(m.g.WorkLong(ExpPool), 3 * 10 + 2 * 30000);
}

TEST(MiracleEffects, HealingCuringAndPointsForTheLiving) {
  Miracles m;
  m.g.CharRec(1, Status) = 1101;
  m.g.CharRec(2, Status) = status::Dead;
  m.g.CharLong(0, HolyPointsMax) = 432;
  m.perform(3, 0);
  m.perform(4, 0);
  m.perform(5, 0);
  EXPECT_EQ(m.g.CharRec(1, Status), 1);
  EXPECT_EQ(m.g.CharRec(1, HitPoints), 30);
  EXPECT_EQ(m.g.CharRec(2, Status), status::Dead);
  EXPECT_EQ(m.g.CharRec(2, HitPoints), 10);
  EXPECT_EQ(m.g.CharLong(0, HolyPoints), 432);
}

TEST(MiracleEffects, HomeOnlyFromTheDungeon) {
  Miracles m;
  m.g.GameState(FloorAndFacing) = 0;
  m.g.SysWord(Outcome) = 0;
  m.perform(9, 0);
  EXPECT_EQ(m.g.SysWord(Outcome), 0);
  m.g.GameState(FloorAndFacing) = 301;
  m.perform(9, 0);
  EXPECT_EQ(m.g.SysWord(Outcome), 2500);
  EXPECT_EQ(m.g.GameState(FloorAndFacing), 0);
}

// --- effects on one member --------------------------------------------------------

TEST(MiracleEffects, RevivalAsksOnlyAmongTheDeadAndTakesTheOnlyOne) {
  Miracles m;
  m.g.CharRec(2, Status) = status::Spirit;
  m.perform(7, 0);  // the only one: no question
  EXPECT_EQ(m.g.CharRec(2, Status), 1);
  EXPECT_EQ(m.g.CharRec(2, HitPoints), 1);

  m.g.CharRec(1, Status) = status::Dead;
  m.g.CharRec(2, Status) = status::Lost;
  m.g.CharRec(0, Status) = status::Dead;
  m.type(
      "3"
      "1");  // the lost cannot be chosen
  m.perform(7, 0);
  EXPECT_EQ(m.g.CharRec(0, Status), 1);
  EXPECT_EQ(m.g.CharRec(2, Status), status::Lost);

  m.perform(7, 2);  // named by the caller
  EXPECT_EQ(m.g.CharRec(1, Status), 1);
}

TEST(MiracleEffects, AMemberNamedByTheCallerIsTakenAsHeIs) {
  Miracles m;
  m.g.CharRec(1, Status) = 15000;  // stoned: the player could not choose him
  m.perform(10, 2);
  EXPECT_EQ(m.g.CharRec(1, MaxHitPoints), 31);
  m.perform(7, 1);  // revival of the living: status 1 and a single hit point
  EXPECT_EQ(m.g.CharRec(0, Status), 1);
  EXPECT_EQ(m.g.CharRec(0, HitPoints), 1);
  m.perform(10, 4);  // beyond the party: nothing
}

TEST(MiracleEffects, YoungerNeverBelowTheFirstDay) {
  Miracles m;
  m.g.CharRec(0, AgeDays) = -31635;
  m.perform(8, 1);
  EXPECT_EQ(m.g.CharRec(0, AgeDays), -32000);
  m.perform(8, 1);
  EXPECT_EQ(m.g.CharRec(0, AgeDays), -32000);
}

TEST(MiracleEffects, AStatGrowsUpToTheRaceCeiling) {
  Miracles m;
  m.g.Setting(PlayStatLimit) = 52;  // race value + 2
  m.g.RaceTable(0, FirstRaceStat + Knowledge) = 11;
  m.perform(13, 1);
  EXPECT_EQ(statOf(m.g, 0, Knowledge), 11);
  m.perform(13, 1);
  m.perform(13, 1);
  m.perform(13, 1);
  EXPECT_EQ(statOf(m.g, 0, Knowledge), 13);
  m.perform(10, 1);
  EXPECT_EQ(m.g.CharRec(0, MaxHitPoints), 31);
}

TEST(MiracleEffects, AClassChangeKeepsOrLosesSpellsAsTheScenarioSays) {
  Miracles m;
  m.g.SpellTable(1, SpellKindAndListing) = 501;
  m.g.SpellTable(1, SpellLevel) = 1001;
  m.g.SpellTable(2, SpellKindAndListing) = 501;
  m.g.SpellTable(2, SpellLevel) = 1001;
  setSpellKnown(m.g, 0, 1, true);
  setSpellKnown(m.g, 0, 2, true);
  m.g.CharRec(0, FirstItemSlot) = 10005;
  m.g.Setting(MiracleOption) = 1;
  m.perform(20, 1);  // class 1
  EXPECT_EQ(classOf(m.g, 0), 1);
  EXPECT_EQ(m.g.CharLong(0, HolyPointsMax), 2);
  EXPECT_EQ(m.g.CharLong(0, HolyPoints), 2);

  m.g.Setting(MiracleOption) = 0;
  m.perform(19, 1);
  EXPECT_EQ(classOf(m.g, 0), 0);
  EXPECT_FALSE(knowsSpell(m.g, 0, 1));
  EXPECT_EQ(m.g.CharRec(0, FirstItemSlot), 0);
  EXPECT_EQ(m.g.CharLong(0, HolyPointsMax), 0);

  m.perform(21, 1);  // class 2 does not exist
  EXPECT_EQ(classOf(m.g, 0), 0);
  m.perform(35, 1);  // two skills: none defined
  EXPECT_EQ(classOf(m.g, 0), 0);
  m.perform(34, 1);  // one skill: 0 or 1
  EXPECT_LE(classOf(m.g, 0), 1);
  m.g.Setting(ClassChangeBarred) = 1;
  const int before = classOf(m.g, 0);
  m.perform(before == 0 ? 20 : 19, 1);
  EXPECT_EQ(classOf(m.g, 0), before);
}

TEST(MiracleEffects, DeathAndLossOfAMemberByPosition) {
  Miracles m;
  m.perform(37, 2);
  EXPECT_EQ(m.g.CharRec(1, Status), status::Dead);
  m.perform(37, 9);  // beyond the party: nothing
  m.g.BattleParty(2, BattleArmourClass) = 4;
  m.g.CharRec(1, LevelAndFloor) = 3005;
  m.perform(38, 2);
  EXPECT_EQ(m.g.CharRec(1, Status), status::Lost);
  EXPECT_EQ(m.g.CharRec(1, LevelAndFloor), 0);
  EXPECT_EQ(m.g.CharRec(1, HitPoints), 0);
  ASSERT_EQ(partySize(m.g), 2);
  EXPECT_EQ(memberSlot(m.g, 2), 2);
  EXPECT_EQ(m.g.BattleParty(1, BattleArmourClass), 4);
}

TEST(MiracleSpell, ASpellOfKindFifteenHandsItsTargetToTheMiracle) {
  SpellScene s;
  s.spell(60, 15, 0, 0, 0);
  s.g.CharRec(2, HitPoints) = 3;
  s.castInBattle(60, 0, 4);  // effect 4: everybody's HP back
  EXPECT_EQ(s.g.CharRec(2, HitPoints), 30);
}

}  // namespace
}  // namespace kestrun::game
