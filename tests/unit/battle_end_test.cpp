#include "game/battle/battle_end.h"

#include <gtest/gtest.h>

#include "battle_spoils_fixture.h"
#include "game/battle/fought_room.h"
#include "game/battle/treasure_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace treasure_rules;

TEST(SpoilsRules, SharesRoundDownAndSmallGoldSharesAreTwoToFive) {
  EXPECT_EQ(experienceShare(1000, 3), 333);
  EXPECT_EQ(experienceShare(5, 6), 0);
  rt::Random random;
  EXPECT_EQ(goldShare(60, 2, random), 30);
  for (int n = 0; n < 50; ++n) {
    const double small = goldShare(17, 3, random);
    EXPECT_GE(small, 2);
    EXPECT_LE(small, 5);
  }
}

TEST(SpoilsRules, GoldIsMultipliedByThePartySizeSetting) {
  GameFixture t;
  setUpSpoils(t.g, 1);
  setFixedGold(t.g, kGoldOnly, 4);
  t.g.TreasureTable(kGoldOnly, FirstGoldRoll + 1) = 100 * 100 + 3;  // bonus 3
  t.g.TreasureTable(kGoldOnly, GoldMultiplier) = 2 + 10 + 1000;     // 2 + one die of 1
  t.g.Setting(PartySize) = 4;
  EXPECT_EQ(rollGold(t.g, t.con.random(), kGoldOnly), (4 + 3) * 3 * 4);
  // A part whose chance is 0 adds nothing.
  t.g.TreasureTable(kGoldOnly, FirstGoldRoll + 1) = 3;
  EXPECT_EQ(rollGold(t.g, t.con.random(), kGoldOnly), 0);
}

TEST(SpoilsRules, ThiefFactorAndDifficultyWeight) {
  GameFixture t;
  setUpSpoils(t.g, 3);
  t.g.CharRec(1, Identity) = kThief;
  t.g.CharRec(2, Identity) = kNinja;
  EXPECT_EQ(trapSkillFactor(t.g, 0), 10);
  EXPECT_EQ(trapSkillFactor(t.g, 1), 50);
  EXPECT_EQ(trapSkillFactor(t.g, 2), 45);
  EXPECT_EQ(difficultyWeight(6003), 10);
  EXPECT_EQ(difficultyWeight(4999), 99);
  EXPECT_EQ(difficultyWeight(0), 50);
  EXPECT_TRUE(beatsTrap(10, 50, 400, 9, 10));
  EXPECT_FALSE(beatsTrap(10, 50, 410, 9, 10));
  // Inspection misreads only below the line; a tie reads true.
  EXPECT_FALSE(missesTrap(10, 50, 410, 9, 10));
  EXPECT_TRUE(missesTrap(10, 50, 411, 9, 10));
}

TEST(ChestTrapDraw, AClassWithoutAnAllowedTrapFallsBackToNoTrap) {
  GameFixture t;
  // Trap 3 is allowed by the class but does not exist in the scenario.
  t.g.TreasureTable(kChestClass, FirstTrapDigits) = 10;
  EXPECT_EQ(drawChestTrap(t.g, t.con.random(), kChestClass), kNoTrap);
  t.g.TrapTable(3, TrapExists) = 1;
  EXPECT_TRUE(chestMayCarry(t.g, kChestClass, 3));
  EXPECT_FALSE(chestMayCarry(t.g, kChestClass, 2));
  for (int n = 0; n < 20; ++n) EXPECT_EQ(drawChestTrap(t.g, t.con.random(), kChestClass), 3);
  onlyTrap(t.g, kChestClass, 12);
  EXPECT_EQ(drawChestTrap(t.g, t.con.random(), kChestClass), 12);
}

TEST(ChestTrapDraw, AnUntrappedClassSometimesHasNoTrap) {
  GameFixture t;
  onlyTrap(t.g, kChestClass, 0);
  t.g.TreasureTable(kChestClass, TreasureFirstItem) = 1;
  bool sawTrap = false;
  bool sawNone = false;
  for (int n = 0; n < 200; ++n) {
    const int trap = drawChestTrap(t.g, t.con.random(), kChestClass);
    sawTrap = sawTrap || trap == 0;
    sawNone = sawNone || trap == kNoTrap;
    EXPECT_TRUE(trap == 0 || trap == kNoTrap);
  }
  EXPECT_TRUE(sawTrap);
  EXPECT_TRUE(sawNone);
}

// A floor with one room of code-1 squares x 2..4, y 2..3, walled off on
// the east at x = 5; (6, 2) is also code 1 but behind the wall.
void buildRoom(Game& g) {
  for (int x = 2; x <= 6; ++x) {
    for (int y = 2; y <= 3; ++y) g.FloorMap(x, y, ExtraLayer) = 1;
  }
  for (int y = 2; y <= 3; ++y) g.FloorMap(5, y, WestBoundary) = 1;
  g.FloorMap(5, 2, ExtraLayer) = 0;
  g.FloorMap(5, 3, ExtraLayer) = 0;
  // The room's parameter digits are kept.
  g.FloorMap(2, 2, ExtraLayer) = 301;
}

TEST(FoughtRoom, TheCodeSpreadsOverTheRoomButNotThroughWalls) {
  GameFixture t;
  buildRoom(t.g);
  t.g.GameState(Square) = 403;
  clearFoughtRoom(t.g);
  for (int x = 2; x <= 4; ++x) {
    for (int y = 2; y <= 3; ++y) EXPECT_EQ(rt::MOD(t.g.FloorMap(x, y, ExtraLayer), 100), 2);
  }
  EXPECT_EQ(t.g.FloorMap(2, 2, ExtraLayer), 302);
  EXPECT_EQ(t.g.FloorMap(6, 2, ExtraLayer), 1);
  EXPECT_EQ(t.g.FloorMap(2, 4, ExtraLayer), 0);
}

TEST(FoughtRoom, AMonsterSquareBecomesOrdinaryAndMarksItsRoom) {
  GameFixture t;
  buildRoom(t.g);
  t.g.FloorMap(3, 2, SquareLayer) = 1220;  // monster 12 on a kind-20 square
  t.g.FloorMap(3, 2, WestBoundary) = 4500;
  t.g.FloorMap(3, 2, SouthBoundary) = 701;
  t.g.FloorMap(3, 2, ExtraLayer) = 900;
  t.g.GameState(Square) = 302;
  clearFoughtRoom(t.g);
  EXPECT_EQ(t.g.FloorMap(3, 2, SquareLayer), 0);
  EXPECT_EQ(t.g.FloorMap(3, 2, WestBoundary), 0);
  EXPECT_EQ(t.g.FloorMap(3, 2, SouthBoundary), 1);
  EXPECT_EQ(t.g.FloorMap(3, 2, ExtraLayer), 2);
  EXPECT_EQ(rt::MOD(t.g.FloorMap(4, 3, ExtraLayer), 100), 2);
  // Another square of the room that is no battle square changes nothing.
  GameFixture u;
  buildRoom(u.g);
  u.g.GameState(Square) = 1010;
  clearFoughtRoom(u.g);
  EXPECT_EQ(u.g.FloorMap(3, 3, ExtraLayer), 1);
}

TEST(Victory, ExperienceGoesToThoseAbleToActAndGoldToEveryone) {
  GameFixture t;
  Game& g = t.g;
  setUpSpoils(g, 3);
  setFixedGold(g, kGoldOnly, 3);
  g.CharRec(1, Status) = 11;            // asleep: wakes and shares
  g.CharRec(2, Status) = status::Dead;  // shares the gold only
  g.CharRec(2, HitPoints) = 0;
  g.CharRec(0, Kills) = 30005;
  g.CharLong(2, Gold) = 999'999'990;
  g.WorkLong(ExpPool) = 1001;
  g.SysWord(BattleKind) = 1;
  g.SysWord(Outcome) = 77;
  endBattle(g, BattleEnding::Victory);
  EXPECT_EQ(g.CharLong(0, Experience), 500);
  EXPECT_EQ(g.CharLong(1, Experience), 500);
  EXPECT_EQ(g.CharLong(2, Experience), 0);
  EXPECT_EQ(g.CharRec(1, Status), 1);
  EXPECT_EQ(g.CharRec(0, Kills), 30001);
  // 3 gold x 6 (the party size setting) over two able members.
  EXPECT_EQ(g.CharLong(0, Gold), 9);
  EXPECT_EQ(g.CharLong(1, Gold), 9);
  EXPECT_EQ(g.CharLong(2, Gold), 999'999'999);
  EXPECT_EQ(g.SysWord(Outcome), 0);
  EXPECT_EQ(g.SysWord(BattleKind), 1);
  EXPECT_EQ(rt::rowText(t.con.text(), 11), "");
}

TEST(Victory, NobodyAbleToActMeansNoExperienceAndNoGold) {
  GameFixture t;
  Game& g = t.g;
  setUpSpoils(g, 2);
  setFixedGold(g, kGoldOnly, 3);
  for (int c = 0; c < 2; ++c) g.CharRec(c, Status) = 101;  // paralysed
  g.WorkLong(ExpPool) = 1000;
  g.SysWord(BattleKind) = 1;
  endBattle(g, BattleEnding::Victory);
  EXPECT_EQ(g.CharLong(0, Experience), 0);
  EXPECT_EQ(g.CharLong(0, Gold), 0);
}

TEST(Victory, RunningEffectsOfTheBattleEnd) {
  GameFixture t;
  Game& g = t.g;
  setUpSpoils(g, 1);
  g.GameState(LevitationEffect) = 1;
  g.GameState(InvisibilityEffect) = 2005;
  g.GameState(IdentifyEffect) = 1;
  g.BattleParty(0, SpellsSealed) = 1;
  g.SysWord(BattleKind) = 1;
  endBattle(g, BattleEnding::Victory);
  EXPECT_EQ(g.GameState(LevitationEffect), 0);
  EXPECT_EQ(g.GameState(InvisibilityEffect), 2005);
  EXPECT_EQ(g.GameState(IdentifyEffect), 0);
  EXPECT_EQ(g.BattleParty(0, SpellsSealed), 0);
}

// Members at levels 0, 1 and 3 who lost levels or cast a level-costing
// spell this battle.
void setUpDrained(Game& g) {
  setUpSpoils(g, 3);
  g.ClassTable(kFighter, ClassExpBase) = 1000;
  g.ClassExpFactor(kFighter) = 2;
  g.Setting(LinearLevel) = 10;
  const int levels[] = {0, 1, 3};
  for (int c = 0; c < 3; ++c) {
    g.CharRec(c, LevelAndFloor) = static_cast<float>(levels[c]);
    g.CharLong(c, Experience) = 5000;
    g.BattleParty(c, LevelsLost) = 1;
  }
  g.BattleParty(2, LevelsLost) = 2002;  // two level-costing casts
}

TEST(LevelLoss, ExperienceFallsToTheStartOfThePresentLevel) {
  GameFixture t;
  Game& g = t.g;
  setUpDrained(g);
  endBattle(g, BattleEnding::Fled);
  EXPECT_EQ(partySize(g), 2);  // the member at level 0 is lost
  EXPECT_EQ(g.CharRec(0, Status), status::Lost);
  EXPECT_EQ(g.CharLong(1, Experience), 0);
  EXPECT_EQ(g.CharLong(2, Experience), 2000);
  EXPECT_EQ(levelOf(g, 2), 3);
}

TEST(LevelLoss, DefeatAndTheEndAfterASpellPayNothing) {
  for (BattleEnding ending : {BattleEnding::Defeat, BattleEnding::LeftBySpell}) {
    GameFixture t;
    setUpDrained(t.g);
    t.g.SysWord(Outcome) = 2500;
    t.g.SysWord(BattleChain) = 1;
    endBattle(t.g, ending);
    EXPECT_EQ(t.g.CharLong(1, Experience), 5000);
    EXPECT_EQ(t.g.SysWord(Outcome), 2500);
    EXPECT_EQ(t.g.SysWord(BattleChain), 0);
  }
}

TEST(BattleClosing, BattleBonusesAreClearedAndTheRoomOnlyAfterATalk) {
  GameFixture t;
  Game& g = t.g;
  setUpSpoils(g, 1);
  buildRoom(g);
  g.GameState(Square) = 302;
  g.BattleParty(0, FirstStatBonus + Luck) = 5;
  g.BattleParty(0, HitBonus) = 3;
  endBattle(g, BattleEnding::Negotiated);
  EXPECT_EQ(g.BattleParty(0, FirstStatBonus + Luck), 0);
  EXPECT_EQ(rt::MOD(g.FloorMap(4, 3, ExtraLayer), 100), 2);
  GameFixture u;
  setUpSpoils(u.g, 1);
  buildRoom(u.g);
  u.g.GameState(Square) = 302;
  endBattle(u.g, BattleEnding::Defeat);
  EXPECT_EQ(u.g.FloorMap(4, 3, ExtraLayer), 1);
}

}  // namespace
}  // namespace kestrun::game
