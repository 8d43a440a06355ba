#include "game/battle/chest.h"

#include <gtest/gtest.h>

#include "battle_spoils_fixture.h"
#include "game/battle/battle_end.h"
#include "game/battle/chest_parts.h"
#include "game/battle/treasure_rules.h"
#include "game/character/carried_items.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/errors.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

// The beaten monster leaves a chest of class 15 that always carries `trap`,
// 12 gold for the party (2 x the party size setting) and no items.
void setUpChest(Game& g, int members, int trap) {
  setUpSpoils(g, members);
  g.MonsterTable(kBeaten, MonsterGold) = kChestClass * 100;
  setFixedGold(g, kChestClass, 2);
  onlyTrap(g, kChestClass, trap);
  g.TrapName(trap) = "T" + std::to_string(trap);
  g.SysWord(BattleKind) = static_cast<float>(1 + 10 * members);
}

// The chest after a victory, with the keys typed; true when the keys ran
// out before the chest was done.
bool atTheChest(GameFixture& t, const std::string& keys) {
  t.type(keys);
  try {
    chestAndGold(t.g);
  } catch (const rt::ProgramEnd&) {
    return true;
  }
  return false;
}

TEST(Chest, LeavingItForfeitsItemsAndGold) {
  GameFixture t;
  setUpChest(t.g, 2, 0);
  EXPECT_FALSE(atTheChest(t, "0"));
  EXPECT_EQ(t.g.CharLong(0, Gold), 0);
  EXPECT_EQ(t.g.CharRec(0, Status), 1);
  EXPECT_EQ(t.g.SysWord(BattleKind), 1);
}

TEST(Chest, OpeningSpringsTheTrapOnTheOpenerThenGivesTheGold) {
  GameFixture t;
  setUpChest(t.g, 2, 0);
  EXPECT_FALSE(atTheChest(t, "12"));
  EXPECT_EQ(t.g.CharRec(0, Status), 1);
  EXPECT_EQ(t.g.CharRec(1, Status), 1001);
  EXPECT_EQ(t.g.CharLong(0, Gold), 6);
  EXPECT_EQ(t.g.CharLong(1, Gold), 6);
}

TEST(Chest, KeysAboveTheMenuAndMembersUnableToActAreRefused) {
  GameFixture t;
  setUpChest(t.g, 3, 0);
  t.g.CharRec(1, Status) = status::Dead;
  // 4 is no choice without chest spells; member 2 is dead, 7 no member.
  EXPECT_FALSE(atTheChest(t, "41273"));
  EXPECT_EQ(t.g.CharRec(2, Status), 1001);
}

TEST(Chest, NoChestFromALowTreasureClassOrAnEmptyGuardedSquare) {
  GameFixture t;
  setUpSpoils(t.g, 1);
  setFixedGold(t.g, kGoldOnly, 1);
  t.g.SysWord(BattleKind) = 11;
  EXPECT_FALSE(atTheChest(t, ""));
  EXPECT_EQ(t.g.CharLong(0, Gold), 6);
  GameFixture u;
  setUpChest(u.g, 1, 0);
  u.g.FloorMap(5, 5, SquareLayer) = 10;  // a guardian's square holding nothing
  EXPECT_FALSE(atTheChest(u, ""));
  EXPECT_EQ(u.g.CharLong(0, Gold), 12);
}

TEST(Chest, TheRightTrapNamedByAThiefIsDisarmed) {
  GameFixture t;
  setUpChest(t.g, 1, 3);
  onlyTrap(t.g, kChestClass, 3);
  t.g.TrapTable(1, TrapExists) = 1;
  t.g.CharRec(0, Identity) = kThief;
  // Dexterity 20 x 50 always beats 18 x 50 x RND + difficulty 0.
  t.g.BattleParty(0, FirstBattleStat + Dexterity) = 20;
  t.g.Setting(AgeingAndChest) = 5000;
  t.g.BattleParty(0, FirstBattleStat + Luck) = 0;
  // A failure would bring the menu back and run out of keys.
  EXPECT_FALSE(atTheChest(t, "22\n"));
  EXPECT_EQ(t.g.CharRec(0, Status), 1);
  EXPECT_EQ(t.g.CharLong(0, Gold), 12);
}

TEST(Chest, AWrongTrapNamedWithoutLuckSpringsTheRealOne) {
  GameFixture t;
  setUpChest(t.g, 1, 3);
  t.g.TrapTable(1, TrapExists) = 1;
  t.g.BattleParty(0, FirstBattleStat + Luck) = 0;
  // The list: 1 trap 1, 2 trap 3. Trap 1 named; trap 3 poisons the unlucky.
  EXPECT_FALSE(atTheChest(t, "21\n"));
  EXPECT_EQ(t.g.CharRec(0, Status), 1001);
  EXPECT_EQ(t.g.CharLong(0, Gold), 12);
}

TEST(Chest, AWrongTrapNamedDrawsOnlyTheLuckRoll) {
  // The same chest left at once, and left after a lucky wrong guess: the
  // guess costs one draw, so the chest's later draws are not shifted.
  GameFixture left;
  setUpChest(left.g, 1, 3);
  left.g.TrapTable(1, TrapExists) = 1;
  EXPECT_FALSE(atTheChest(left, "0"));
  rt::Random afterOneDraw = left.con.random();
  afterOneDraw.RND(1);

  GameFixture guessed;
  setUpChest(guessed.g, 1, 3);
  guessed.g.TrapTable(1, TrapExists) = 1;
  guessed.g.BattleParty(0, FirstBattleStat + Luck) = 100;  // always beats RND x 100
  EXPECT_FALSE(atTheChest(guessed, "21\n0"));
  EXPECT_EQ(guessed.g.CharRec(0, Status), 1);  // the trap did not go off
  EXPECT_EQ(guessed.con.random().seed(), afterOneDraw.seed());
}

TEST(Chest, EachMemberInspectsOnlyOnceAndReportsBesideHisPlace) {
  GameFixture t;
  setUpChest(t.g, 2, 0);
  t.g.CharRec(0, Identity) = kThief;
  t.g.BattleParty(0, FirstBattleStat + Dexterity) = 40;
  // Inspect by 1, then by 1 again (refused) and 2; leave.
  EXPECT_FALSE(atTheChest(t, "313120"));
  EXPECT_EQ(t.g.SysWord(FirstTrapTried), 1);
  EXPECT_EQ(t.g.SysWord(FirstTrapTried + 1), 1);
  // The thief's true report is left beside his place on the panel.
  EXPECT_EQ(rt::rowText(t.con.text(), 16).substr(67), "T0");
}

TEST(Chest, TheRemoveSpellWorksOnItsOwnChance) {
  GameFixture t;
  setUpChest(t.g, 1, 1);
  t.g.CharRec(0, Identity) = kMage;
  constexpr int kRemove = 45;
  t.g.SpellTable(kRemove, SpellKindAndListing) = 1;
  t.g.SpellTable(kRemove, SpellLevel) = 1;
  t.g.SpellTable(kRemove, SpellEffect) = 18;
  t.g.SpellTable(kRemove, SpellScope) = 100;
  t.g.Setting(SpellPointMode) = 1;
  setSpellKnown(t.g, 0, kRemove, true);
  t.g.CharLong(0, MagicPoints) = 2;
  // Key 4 is the remove spell when there is no identify spell.
  EXPECT_FALSE(atTheChest(t, "4"));
  EXPECT_EQ(t.g.CharLong(0, MagicPoints), 1);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 30);
  EXPECT_EQ(t.g.CharLong(0, Gold), 12);
  // Without points the lone caster is turned back to the menu.
  GameFixture u;
  setUpChest(u.g, 1, 1);
  u.g.SpellTable(kRemove, SpellKindAndListing) = 1;
  u.g.SpellTable(kRemove, SpellEffect) = 18;
  u.g.SpellTable(kRemove, SpellLevel) = 1;
  setSpellKnown(u.g, 0, kRemove, true);
  EXPECT_FALSE(atTheChest(u, "40"));
  EXPECT_EQ(u.g.CharLong(0, Gold), 0);
}

TEST(ChainedBattle, TheMonsterTrapLeavesTheChestAndTheNextVictoryPaysDirectly) {
  GameFixture t;
  Game& g = t.g;
  setUpChest(g, 1, 5);
  g.SysWord(BattleKind) = 1;
  t.type("1");
  endBattle(g, BattleEnding::Victory);
  EXPECT_EQ(g.SysWord(BattleChain), 1);
  EXPECT_EQ(g.CharLong(0, Gold), 0);
  // The chained battle is won: no chest, its gold at once, the flag gone.
  g.SysWord(BattleKind) = 3;
  endBattle(g, BattleEnding::Victory);
  EXPECT_EQ(g.SysWord(BattleChain), 0);
  EXPECT_EQ(g.CharLong(0, Gold), 12);
}

// --- the traps -------------------------------------------------------------------

TEST(ChestTraps, DamageKillsAndTheDeadDoNotDieAgain) {
  GameFixture t;
  setUpSpoils(t.g, 3);
  t.g.CharRec(0, HitPoints) = 3;
  t.g.CharRec(2, Status) = status::Spirit;
  t.g.CharRec(2, HitPoints) = 0;
  springTrap(t.g, 2, 1);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 0);
  EXPECT_EQ(t.g.CharRec(0, Status), status::Dead);
  EXPECT_EQ(t.g.CharRec(1, HitPoints), 27);
  EXPECT_EQ(t.g.CharRec(2, Status), status::Spirit);
  EXPECT_EQ(t.g.CharRec(2, HitPoints), 0);
}

TEST(ChestTraps, PoisonSparesTheLuckyAndTheDead) {
  GameFixture t;
  setUpSpoils(t.g, 3);
  t.g.BattleParty(0, FirstBattleStat + Luck) = 0;
  t.g.BattleParty(1, FirstBattleStat + Luck) = 40;  // 120 beats 90 x RND
  t.g.BattleParty(2, FirstBattleStat + Luck) = 0;
  t.g.CharRec(0, Status) = 101;
  t.g.CharRec(2, Status) = status::Dead;
  springTrap(t.g, 3, 1);
  EXPECT_EQ(t.g.CharRec(0, Status), 1101);
  EXPECT_EQ(t.g.CharRec(1, Status), 1);
  EXPECT_EQ(t.g.CharRec(2, Status), status::Dead);
}

TEST(ChestTraps, CastersStiffenThoseOfOneSkillTurnToStone) {
  GameFixture t;
  setUpSpoils(t.g, 4);
  const int classes[] = {kMage, kMage, kFighter, kPriest};
  for (int c = 0; c < 4; ++c) {
    t.g.CharRec(c, Identity) = static_cast<float>(classes[c]);
    t.g.BattleParty(c, FirstBattleStat + Luck) = 0;
  }
  t.g.ClassTable(kMage + 8, ClassSkills) = 111;  // magic and thief
  t.g.CharRec(1, Identity) = kMage + 8;
  springTrap(t.g, 6, 1);
  EXPECT_EQ(t.g.CharRec(0, Status), 10001);  // petrified
  EXPECT_EQ(t.g.CharRec(1, Status), 101);    // paralysed
  EXPECT_EQ(t.g.CharRec(2, Status), 1);
  EXPECT_EQ(t.g.CharRec(3, Status), 1);
  springTrap(t.g, 7, 1);
  EXPECT_EQ(t.g.CharRec(3, Status), 10001);
}

TEST(ChestTraps, TheMonsterTrapSetsTheChainFlag) {
  GameFixture t;
  setUpSpoils(t.g, 1);
  springTrap(t.g, 5, 1);
  EXPECT_EQ(t.g.SysWord(BattleChain), 1);
}

TEST(ChestTraps, ALostItemLeavesNoGap) {
  GameFixture t;
  setUpSpoils(t.g, 1);
  t.g.BattleParty(0, FirstBattleStat + Luck) = 0;
  t.g.Setting(ItemSlots) = 2;
  itemSlot(t.g, 0, 1) = 1005;  // worn
  itemSlot(t.g, 0, 2) = 6;
  for (int n = 0; n < 2; ++n) springTrap(t.g, 10, 1);
  EXPECT_EQ(carriedItemCount(t.g, 0), 0);
}

TEST(ChestTraps, SpellPointsDropADigitEachAndAgeGrows) {
  GameFixture t;
  setUpSpoils(t.g, 1);
  t.g.BattleParty(0, FirstBattleStat + Luck) = 0;
  t.g.CharLong(0, HolyPoints) = 30201;
  t.g.CharLong(0, MagicPoints) = 9;
  springTrap(t.g, 11, 1);
  EXPECT_EQ(t.g.CharLong(0, HolyPoints), 20100);
  EXPECT_EQ(t.g.CharLong(0, MagicPoints), 8);
  t.g.CharRec(0, AgeDays) = -30000;
  springTrap(t.g, 12, 1);
  EXPECT_GE(t.g.CharRec(0, AgeDays), -30000 + 365);
  EXPECT_LT(t.g.CharRec(0, AgeDays), -30000 + 1365);
}

TEST(ChestTraps, AStatAtZeroStaysThereAndASpiritIsMade) {
  GameFixture t;
  setUpSpoils(t.g, 1);
  for (int n = 0; n < 40; ++n) springTrap(t.g, 13, 1);
  for (int k = 0; k < StatPairCount; ++k) EXPECT_EQ(t.g.CharRec(0, FirstStatPair + k), 0);
  t.g.CharRec(0, FirstStatPair) = 1010;
  for (int n = 0; n < 40; ++n) springTrap(t.g, 13, 1);
  EXPECT_GE(t.g.CharRec(0, FirstStatPair), 0);
  springTrap(t.g, 14, 1);
  EXPECT_EQ(t.g.CharRec(0, Status), status::Spirit);
}

TEST(ChestTraps, TheTeleportLandsOnTheNearestOpenFloorAbove) {
  GameFixture t;
  setUpSpoils(t.g, 1);
  t.g.GameState(FloorAndFacing) = 101;
  t.g.FloorRule(0, RestrictedFloor) = 1;
  springTrap(t.g, 9, 1);
  EXPECT_EQ(t.g.GameState(FloorAndFacing), 101);
  EXPECT_EQ(t.g.GameState(Square), 505);
  t.g.FloorRule(0, RestrictedFloor) = 0;
  springTrap(t.g, 9, 1);
  EXPECT_EQ(t.g.GameState(PreviousSquare), t.g.GameState(Square));
  EXPECT_EQ(t.g.GameState(PreviousFloorAndFacing), 101);
}

}  // namespace
}  // namespace kestrun::game
