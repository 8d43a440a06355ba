#include "game/battle/monster_actions.h"

#include <gtest/gtest.h>

#include "command_scene.h"
#include "game/battle/monster_rules.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;
namespace mr = monster_rules;

struct Monsters : CommandScene {
  explicit Monsters(int members = 4) : CommandScene(members) {
    fighters(0, 7, 4, 10);
    g.Battle.AliveCount = members;
    g.Battle.TopLevel = 1;
  }
  int kindOf(int group, int place) { return rt::MOD(action(group, place), 10); }
  int targetOf(int group, int place) { return rt::toInt32(rt::INT(action(group, place) / 10)); }
  void seed(int n) { con.random().RANDOMIZE(n); }
};

// --- the rules with numbers ---------------------------------------------------------

TEST(MonsterRules, HighRollsAlwaysMissAndLowRollsAlwaysHit) {
  EXPECT_FALSE(mr::rollHits(96, 500));
  EXPECT_FALSE(mr::rollHits(100, 500));
  EXPECT_TRUE(mr::rollHits(5, -100));
  EXPECT_TRUE(mr::rollHits(1, -100));
  EXPECT_TRUE(mr::rollHits(40, 40));
  EXPECT_FALSE(mr::rollHits(41, 40));
  EXPECT_EQ(mr::hitChance(4, -10, 10), 60);
}

TEST(MonsterRules, GoodArmourTakesDamageOffButNeverBelowNothing) {
  EXPECT_EQ(mr::damageAfterArmour(7, 10), 7);
  EXPECT_EQ(mr::damageAfterArmour(7, 9), 6);
  EXPECT_EQ(mr::damageAfterArmour(7, 5), 2);
  EXPECT_EQ(mr::damageAfterArmour(7, -3), 0);
}

TEST(MonsterRules, BreathFallsWithTheMonstersWounds) {
  EXPECT_EQ(mr::breathDamage(40, 50), 20);
  EXPECT_EQ(mr::breathDamage(9, 50), 4);
  EXPECT_EQ(mr::breathDamage(1, 50), 0);
}

TEST(MonsterRules, VictimsWrapAtTheLastPositionOrTheMembersStanding) {
  EXPECT_EQ(mr::nextVictimAfter(1, 3, 4), 2);
  EXPECT_EQ(mr::nextVictimAfter(3, 3, 4), 1);
  EXPECT_EQ(mr::nextVictimAfter(2, 3, 2), 1);
}

TEST(MonsterRules, HelpNeverComesPastNinePlacesOrAfterEightyEightKills) {
  EXPECT_FALSE(mr::helpCallFails(700 + 88, 8, 0.6 * 10));
  EXPECT_TRUE(mr::helpCallFails(700 + 89, 1, 0));
  EXPECT_TRUE(mr::helpCallFails(700, 9, 0));
  EXPECT_TRUE(mr::helpCallFails(700, 1, 6.5));
}

TEST(MonsterRules, AttackValueWeighsDiceAttacksAndDeadlyTouches) {
  Monsters t;
  t.g.MonsterTable(7, MonsterType) = 304;           // three attacks, die size 4
  t.g.MonsterTable(7, MonsterLevel) = 103;          // three dice
  t.g.MonsterTable(7, MonsterArmour) = 7002;        // bonus 2
  EXPECT_EQ(mr::attackValue(t.g, 7), 12);           // INT((6 + 2) x 3 / 2)
  t.g.MonsterTable(7, MonsterGroupSides) += 10000;  // petrifies
  t.g.MonsterTable(7, MonsterDrain) = 100;          // drains a level
  EXPECT_EQ(mr::attackValue(t.g, 7), 48);
}

TEST(MonsterRules, SpellScoresByClassAndArea) {
  Monsters t;
  t.spell(6, 5, 1, 6, 2);   // holy damage on one
  t.spell(7, 5, 2, 99, 1);  // holy near death on a group
  t.spell(8, 9, 1, 0, 0);
  t.spell(47, 7, 3, 5, 0);  // magic class 7 on everyone
  t.spell(48, 4, 1, 9, 9);  // a magic class monsters never cast
  EXPECT_EQ(mr::spellScore(t.g, 6), 12);
  EXPECT_EQ(mr::spellScore(t.g, 7), 225);
  EXPECT_EQ(mr::spellScore(t.g, 8), 18);
  EXPECT_EQ(mr::spellScore(t.g, 47), 75);
  t.g.MonsterTable(7, MonsterGroupDice) = 1000;  // magic level 1
  EXPECT_FALSE(mr::knowsMonsterSpell(t.g, 7, 48));
  EXPECT_TRUE(mr::knowsMonsterSpell(t.g, 7, 47));
}

TEST(MonsterRules, ChargesAreSpentFromTheirLevelsDigitOrFromThePool) {
  Monsters t;
  t.spell(6, 5, 1, 6, 2);
  t.g.SpellTable(6, SpellLevel) = 3006;  // level 6, three points
  t.g.BattleMonsters(0, 0, HolyChargesHigh) = 23;
  EXPECT_TRUE(mr::hasCharge(t.g, 0, 0, 6));
  mr::spendCharge(t.g, 0, 0, 6);
  mr::spendCharge(t.g, 0, 0, 6);
  EXPECT_EQ(t.g.BattleMonsters(0, 0, HolyChargesHigh), 3);
  EXPECT_FALSE(mr::hasCharge(t.g, 0, 0, 6));
  t.g.Setting(SpellPointMode) = 2;
  t.g.BattleMonsters(0, 0, HolyCharges) = 4;
  mr::spendCharge(t.g, 0, 0, 6);
  EXPECT_EQ(t.g.BattleMonsters(0, 0, HolyCharges), 1);
  EXPECT_FALSE(mr::hasCharge(t.g, 0, 0, 6));
  EXPECT_EQ(mr::chargePlace(9).digit, 4);
}

// --- the choice -----------------------------------------------------------------------

TEST(MonsterChoice, AGroupAttacksTheFrontRankInTurn) {
  Monsters t;
  chooseMonsterActions(t.g);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(t.kindOf(0, i), 0);
  EXPECT_EQ(t.targetOf(0, 0), 1);
  EXPECT_EQ(t.targetOf(0, 1), 2);
  EXPECT_EQ(t.targetOf(0, 2), 3);
  EXPECT_EQ(t.targetOf(0, 3), 1);
  t.g.Battle.AliveCount = 2;
  chooseMonsterActions(t.g);
  EXPECT_EQ(t.targetOf(0, 2), 1);
}

TEST(MonsterChoice, MonstersThatHaveNotNoticedDoNothingOnce) {
  Monsters t;
  t.g.Battle.Surprise = 1;
  chooseMonsterActions(t.g);
  EXPECT_EQ(t.action(0, 0), 6);
  EXPECT_EQ(t.action(2, 8), 6);
  EXPECT_EQ(t.g.Battle.Surprise, 0);
  t.g.Battle.Surprise = 2;
  chooseMonsterActions(t.g);
  EXPECT_EQ(t.kindOf(0, 0), 0);
  EXPECT_EQ(t.g.Battle.Surprise, 0);
}

TEST(MonsterChoice, AGroupOutOfReachWithoutSpellsDoesNothing) {
  Monsters t;
  t.fighters(1, 8, 3, 10);
  t.g.Setting(WeaponRange) = 1;
  t.g.Setting(WeaponReach) = 1;
  chooseMonsterActions(t.g);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(t.action(1, i), 6);
  EXPECT_EQ(t.kindOf(0, 0), 0);
}

TEST(MonsterChoice, TheLowestSpellWinsATieAndIsSpent) {
  Monsters t;
  t.g.MonsterTable(7, MonsterType) = 0;           // no weapons worth using
  t.g.MonsterTable(7, MonsterGroupSides) = 1000;  // holy level 1
  t.spell(9, 5, 1, 4, 2);
  t.spell(10, 5, 1, 2, 4);
  bool cast = false;
  for (int n = 1; n <= 20 && !cast; ++n) {
    t.seed(n);
    t.g.BattleMonsters(0, 0, HolyCharges) = 2;
    chooseMonsterActions(t.g);
    cast = t.kindOf(0, 0) == 1;
  }
  ASSERT_TRUE(cast);
  EXPECT_EQ(t.g.BattleMonsters(0, 0, MonsterSpell), 9);
  EXPECT_GE(t.targetOf(0, 0), 1);
}

// A condition such as "at full strength or RND x 10 > 8" draws only while its
// outcome is still open, in the order it is written: a breathing monster at
// full strength, with no stare, call or flight in it, decides without a draw.
TEST(MonsterChoice, ADrawIsMadeOnlyWhenTheConditionStillDependsOnIt) {
  Monsters t;
  t.g.MonsterTable(7, MonsterGroupBase) = 1000;  // breathes
  t.seed(5);
  const rt::Random untouched = t.con.random();
  chooseMonsterActions(t.g);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(t.kindOf(0, i), 2);
  EXPECT_EQ(t.con.random().seed(), untouched.seed());
}

// --- carrying out ---------------------------------------------------------------------

TEST(MonsterBlows, AMissSaysSoAndAHitTakesHitPoints) {
  Monsters t;
  t.action(0, 0) = 10;
  t.g.MonsterTable(7, MonsterLevel) = 5001;  // level 50: every roll up to 95 hits
  bool hit = false;
  for (int n = 1; n <= 10 && !hit; ++n) {
    t.seed(n);
    t.g.CharRec(0, HitPoints) = 10;
    actMonster(t.g, 0, 0);
    hit = t.g.CharRec(0, HitPoints) < 10;
  }
  ASSERT_TRUE(hit);
  EXPECT_EQ(t.row(8), "Mon7 は M0 を");
  EXPECT_EQ(t.row(10), "1  回攻撃して");
  EXPECT_EQ(t.con.text().cell(24, 8).fg, 3);

  t.g.MonsterTable(7, MonsterLevel) = 1;  // level 0 against armour 10: only 1..5 hit
  bool missed = false;
  for (int n = 1; n <= 10 && !missed; ++n) {
    t.seed(n);
    actMonster(t.g, 0, 0);
    missed = t.row(12) == "はずれた !";
  }
  EXPECT_TRUE(missed);
}

TEST(MonsterBlows, DrainingALevelOneMemberLosesHimForGood) {
  Monsters t;
  t.action(0, 0) = 10;
  t.g.MonsterTable(7, MonsterLevel) = 5001;
  t.g.MonsterTable(7, MonsterDrain) = 100;
  t.g.CharRec(0, LevelAndFloor) = 1;
  t.g.CharLong(0, Experience) = 500;
  t.g.BattleParty(0, FirstBattleStat + Luck) = 0;
  t.g.CharRec(0, HitPoints) = 1000;
  for (int n = 1; n <= 10 && t.g.CharRec(0, Status) != status::Lost; ++n) {
    t.seed(n);
    actMonster(t.g, 0, 0);
  }
  EXPECT_EQ(t.g.CharRec(0, Status), status::Lost);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 0);
  EXPECT_EQ(t.g.CharLong(0, Experience), 0);
  EXPECT_EQ(t.row(14), "M0 は消失した !");
  EXPECT_EQ(t.g.BattleParty(0, LevelsLost), 1);
}

// A level-50 drainer of three levels strikes a level-2 member without Luck
// until a blow lands; with `keyWait` the drain message waits for a key that
// never comes, so the screen shows it.
void drainThreeLevelsFromLevelTwo(Monsters& t, bool keyWait) {
  t.action(0, 0) = 10;
  t.g.MonsterTable(7, MonsterLevel) = 5001;
  t.g.MonsterTable(7, MonsterDrain) = 300;
  t.g.BattleParty(0, FirstBattleStat + Luck) = 0;
  t.g.SysWord(MessageTime) = keyWait ? 10000 : 0;
  for (int n = 1; n <= 10 && t.g.CharRec(0, Status) != status::Lost; ++n) {
    t.g.CharRec(0, LevelAndFloor) = 2;
    t.g.CharRec(0, MaxHitPoints) = 30;
    t.g.CharRec(0, HitPoints) = 1000;
    t.g.BattleParty(0, LevelsLost) = 0;
    t.seed(n);
    try {
      actMonster(t.g, 0, 0);
    } catch (const rt::ProgramEnd&) {
      if (!t.row(14).empty()) return;
    }
  }
}

TEST(MonsterBlows, ADrainSaysTheLevelsOfTheBlowAndTakesWhatTheMemberHas) {
  Monsters shown;
  drainThreeLevelsFromLevelTwo(shown, true);
  EXPECT_EQ(shown.row(14), "M0 はレベルを  3  下げられた");

  Monsters t;
  drainThreeLevelsFromLevelTwo(t, false);
  EXPECT_EQ(t.g.CharRec(0, Status), status::Lost);
  EXPECT_EQ(t.g.BattleParty(0, LevelsLost), 2);
  // Drained to nothing, he still rolls for and loses his hit points (a die
  // of no sides takes 1) before he is lost.
  EXPECT_EQ(t.g.CharRec(0, MaxHitPoints), 29);
}

TEST(MonsterBlows, ADrainWardAndSealedTouchesKeepTheLevels) {
  Monsters t;
  t.action(0, 0) = 10;
  t.g.MonsterTable(7, MonsterLevel) = 5001;
  t.g.MonsterTable(7, MonsterDrain) = 100;
  t.g.BattleParty(0, FirstBattleStat + Luck) = 0;
  t.g.ItemTable(40, ItemBonusStat) = 10000;
  t.g.CharRec(0, FirstItemSlot) = 10040;  // carried, not worn
  t.g.CharRec(0, HitPoints) = 1000;
  for (int n = 1; n <= 5; ++n) {
    t.seed(n);
    actMonster(t.g, 0, 0);
  }
  EXPECT_EQ(levelOf(t.g, 0), 5);
  t.g.CharRec(0, FirstItemSlot) = 0;
  t.g.BattleMonsters(0, 0, MonsterSealed) = 10;
  for (int n = 1; n <= 5; ++n) {
    t.seed(n);
    actMonster(t.g, 0, 0);
  }
  EXPECT_EQ(levelOf(t.g, 0), 5);
}

TEST(MonsterBreath, EveryMemberTakesItsShareHalvedByAWornWard) {
  Monsters t(2);
  t.action(0, 0) = 2;
  t.g.MonsterTable(7, MonsterGroupBase) = 1000;  // fire
  t.g.Setting(BreathPercent) = 50;
  t.monsterHp(0, 0) = 40;
  t.g.CharRec(0, HitPoints) = 50;
  t.g.CharRec(1, HitPoints) = 50;
  for (int p = 0; p < 2; ++p) t.g.BattleParty(p, FirstBattleStat + Luck) = 0;
  t.g.ItemTable(41, ItemPriceHigh) = 10000;
  t.g.CharRec(1, FirstItemSlot) = 11041;
  actMonster(t.g, 0, 0);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 30);
  EXPECT_EQ(t.g.CharRec(1, HitPoints), 40);
  t.g.BattleMonsters(0, 0, MonsterSealed) = 100;
  actMonster(t.g, 0, 0);
  EXPECT_EQ(t.row(11), "しかしブレスは封じられている");
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 30);
}

TEST(MonsterStare, AStareThatFailsStillCostsTheAction) {
  Monsters t;
  t.action(0, 0) = 25;
  t.command(2) = 1;
  t.g.BattleMonsters(0, 0, MonsterSealed) = 1000;
  actMonster(t.g, 0, 0);
  EXPECT_EQ(t.row(12), "しかし　効果は無かった");
  EXPECT_EQ(t.command(2), 0);
  EXPECT_EQ(t.g.CharRec(1, Status), 1);

  t.g.BattleMonsters(0, 0, MonsterSealed) = 0;
  t.g.MonsterTable(7, MonsterHitBase) = 20000;
  t.g.BattleParty(1, FirstBattleStat + Agility) = 0;
  t.g.BattleParty(1, FirstBattleStat + Luck) = 0;
  actMonster(t.g, 0, 0);
  EXPECT_EQ(t.g.CharRec(1, Status), 10001);
  EXPECT_EQ(t.row(12), "M1 は動けなくなった");
}

TEST(MonsterCalls, HelpTakesTheNextPlaceButNeverATenth) {
  Monsters t;
  t.action(0, 0) = 3;
  t.g.MonsterTable(7, MonsterHitBase) = 500;  // five hit points
  t.g.GroupSlots(0, 0) = 4;
  bool came = false;
  for (int n = 1; n <= 20 && !came; ++n) {
    t.seed(n);
    actMonster(t.g, 0, 0);
    came = t.g.GroupCount(0) == 5;
  }
  ASSERT_TRUE(came);
  EXPECT_EQ(t.g.GroupSlots(0, 1), 1);
  EXPECT_EQ(t.monsterHp(0, 4), 5);
  EXPECT_EQ(t.action(0, 4), 6);

  t.g.GroupSlots(0, 0) = 9;
  t.g.GroupSlots(0, 1) = 0;
  for (int n = 1; n <= 20; ++n) {
    t.seed(n);
    actMonster(t.g, 0, 0);
  }
  EXPECT_EQ(t.g.GroupCount(0), 5);
  EXPECT_EQ(t.row(10), "しかし仲間は現れなかった");
}

TEST(MonsterFlight, AThiefTakesTheLastUnwornItemAndTheOthersStayInOrder) {
  Monsters t(1);
  t.action(0, 0) = 4;
  t.g.MonsterTable(7, MonsterType) = 3102;
  t.g.Setting(MonstersSteal) = 1;
  t.g.BattleParty(0, FirstBattleStat + Agility) = 0;
  t.g.CharRec(0, FirstItemSlot) = 10031;
  t.g.CharRec(0, FirstItemSlot + 1) = 10032;
  t.g.CharRec(0, FirstItemSlot + 2) = 11033;
  actMonster(t.g, 0, 0);
  EXPECT_EQ(t.monsterHp(0, 0), 0);
  EXPECT_EQ(t.g.GroupCount(0), 3);
  EXPECT_EQ(t.row(14), "アイテムを盗んでいった");
  EXPECT_EQ(t.g.CharRec(0, FirstItemSlot), 10031);
  EXPECT_EQ(t.g.CharRec(0, FirstItemSlot + 1), 11033);
  EXPECT_EQ(t.g.CharRec(0, FirstItemSlot + 2), 0);
}

TEST(MonsterTurn, SleepersMayOnlyWakeAndHeldMonstersDoNothing) {
  Monsters t;
  t.action(0, 0) = 10;
  t.g.BattleMonsters(0, 0, MonsterState) = 2;
  actMonster(t.g, 0, 0);
  EXPECT_EQ(t.row(8), "");
  t.g.MonsterTable(7, MonsterLevel) = 9901;  // always wakes
  t.g.BattleMonsters(0, 0, MonsterState) = 1;
  actMonster(t.g, 0, 0);
  EXPECT_EQ(t.g.BattleMonsters(0, 0, MonsterState), 0);
  EXPECT_EQ(t.row(8), "");
}

}  // namespace
}  // namespace kestrun::game
