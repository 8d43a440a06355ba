#include <gtest/gtest.h>

#include "command_scene.h"
#include "game/battle/commands.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

struct Commands : CommandScene {
  explicit Commands(int members = 4) : CommandScene(members) {
    fighters(0, 7, 3, 10);
    g.StatusName(2) = "Sleep";
    g.StatusName(6) = "Dead";
  }
  void give(const std::string& keys) {
    type(keys);
    chooseCommands(g);
  }
};

// --- the start of a turn ------------------------------------------------------------

TEST(TurnStart, GroupsAreIdentifiedAgainListedAndTheMudNoted) {
  Commands t;
  t.g.GroupUnknown(0) = 1;
  t.g.Battle.TopKnowledge = 0;
  t.g.BattleMonsters(0, 1, MonsterState) = 1;
  t.g.FloorMap(5, 5, SquareLayer) = 17;
  t.g.GameState(LevitationEffect) = 1;
  startOfTurn(t.g);
  EXPECT_EQ(t.row(1), "1  Unknown              3  (行動可能  2 )");
  EXPECT_EQ(t.g.Battle.MudPenalty, 1);
  t.g.Battle.TopKnowledge = 100;
  t.g.GameState(LevitationEffect) = 2;
  startOfTurn(t.g);
  EXPECT_EQ(t.row(1), "1  Mon7                 3  (行動可能  2 )");
  EXPECT_EQ(t.g.Battle.MudPenalty, 0);
}

// --- the menu's keys ------------------------------------------------------------------

TEST(BattleMenu, KeysWithoutValueFightFromTheFrontAndGuardFromTheBack) {
  Commands t;
  t.give(
      "\n.x\n"
      "y");
  EXPECT_EQ(t.command(1), 1);
  EXPECT_EQ(t.command(2), 1);
  EXPECT_EQ(t.command(3), 1);
  EXPECT_EQ(t.command(4), 5);
  EXPECT_NE(rt::rowText(t.con.text(), 16).find("Fight"), std::string::npos);
  EXPECT_NE(rt::rowText(t.con.text(), 19).find("Guard"), std::string::npos);
}

TEST(BattleMenu, LettersAndDigitsChooseAndRefusedCommandsAreIgnored) {
  Commands t;
  // Member 1 has no spells: S and 2 are ignored until G. Member 4 stands in
  // the back rank: F and 1 are ignored until R.
  t.give(
      "S2G"
      "p"
      "t1"
      "F1R"
      "y");
  EXPECT_EQ(t.command(1), 5);
  EXPECT_EQ(t.command(2), 5);
  EXPECT_EQ(t.command(3), 1);
  EXPECT_EQ(t.command(4), 6);
}

TEST(BattleMenu, RefusedLinesAreShownInRed) {
  Commands t;
  t.g.CharLong(0, MagicPointsMax) = 1;
  t.type("");
  EXPECT_THROW(chooseCommands(t.g), rt::ProgramEnd);
  EXPECT_EQ(t.row(6), "M0 は どうしますか ?");
  EXPECT_EQ(t.con.text().cell(27, 8).fg, 6);   // fight from the front
  EXPECT_EQ(t.con.text().cell(27, 9).fg, 6);   // magic points
  EXPECT_EQ(t.con.text().cell(27, 10).fg, 2);  // no holy points: no dispel
  EXPECT_EQ(t.con.text().cell(27, 11).fg, 2);  // nothing in slot 1
  EXPECT_EQ(t.con.text().cell(27, 14).fg, 6);
  EXPECT_EQ(t.g.SysWord(FirstCommandAllowed + 2), 0);
  EXPECT_EQ(t.g.SysWord(FirstCommandAllowed + 1), 1);
}

TEST(BattleMenu, OneRunnerTakesEveryLaterMemberWithHim) {
  Commands t;
  t.give(
      "g"
      "6"
      "y");
  EXPECT_EQ(t.command(1), 5);
  for (int p = 2; p <= 4; ++p) EXPECT_EQ(t.command(p), 6);
  EXPECT_TRUE(t.g.Battle.RunChosen);
}

TEST(BattleMenu, SevenAndNoStartTheWholePartyAgain) {
  Commands t;
  // 7 at member 3 starts again from member 1; N at the confirmation takes
  // back a run as well.
  t.give(
      "g"
      "f"
      "b"
      "f"
      "f"
      "f"
      "g"
      "n"
      "r"
      "n"
      "f"
      "f"
      "f"
      "g"
      "Y");
  EXPECT_EQ(t.command(1), 1);
  EXPECT_EQ(t.command(2), 1);
  EXPECT_EQ(t.command(3), 1);
  EXPECT_EQ(t.command(4), 5);
  EXPECT_FALSE(t.g.Battle.RunChosen);
}

TEST(BattleMenu, MembersWhoCannotActAreSkippedAndMarked) {
  Commands t;
  t.g.CharRec(1, Status) = 11;  // asleep
  t.g.CharRec(2, Status) = status::Dead;
  t.g.CharRec(2, HitPoints) = 0;
  t.command(2) = 5;
  t.give(
      "f"
      "g"
      "+");
  EXPECT_EQ(t.command(1), 1);
  EXPECT_EQ(t.command(2), 0);
  EXPECT_EQ(t.command(3), 0);
  EXPECT_EQ(t.command(4), 5);
  EXPECT_EQ(t.g.Battle.AliveCount, 3);
  EXPECT_NE(rt::rowText(t.con.text(), 17).find("Sleep"), std::string::npos);
  EXPECT_NE(rt::rowText(t.con.text(), 18).find("Dead"), std::string::npos);
}

TEST(BattleMenu, ASurprisedPartyGivesNoCommands) {
  Commands t;
  t.g.Battle.Surprise = 2;
  t.command(1) = 1;
  t.give("");
  for (int p = 1; p <= 4; ++p) EXPECT_EQ(t.command(p), 0);
}

// --- aiming at the groups ------------------------------------------------------------

TEST(BattleAim, MembersPickingOneGroupAreAimedAtItsMonstersInTurn) {
  Commands t(4);
  t.g.Setting(FrontRank) = 4;
  t.give(
      "ffff"
      "y");
  EXPECT_EQ(t.target(1), 0);
  EXPECT_EQ(t.target(2), 1);
  EXPECT_EQ(t.target(3), 2);
  EXPECT_EQ(t.target(4), 0);
}

TEST(BattleAim, SeveralGroupsAreAskedAndTheReachRuleCutsTheChoice) {
  Commands t(4);
  t.fighters(1, 8, 2, 10);
  t.fighters(2, 9, 2, 10);
  t.g.Setting(WeaponRange) = 1;
  t.g.Setting(WeaponReach) = 2;
  t.g.CharLong(1, HolyPointsMax) = 1;
  // Member 1 asks for group 3, out of reach: only 1 and 2 are taken.
  t.give(
      "f32"
      "d3"
      "f1"
      "g"
      "y");
  EXPECT_EQ(t.target(1), 10);
  EXPECT_EQ(t.target(2), 20);  // a dispel reaches every group
  EXPECT_EQ(t.target(3), 0);
  EXPECT_EQ(t.command(2), 3);
}

// --- items and spells ------------------------------------------------------------------

TEST(BattleItems, AnItemMustBeWornUnlessItIsOfTheUnwornKind) {
  Commands t(1);
  t.spell(12, 2, 1, 1, 1);  // a holy healing for one member: the user himself
  t.itemCasting(0, 1, 30, 1, 12, false);
  t.itemCasting(0, 2, 31, 6, 0, false);
  t.itemCasting(0, 3, 32, 6, 12, false);
  t.give(
      "u1\n"
      "2\n"
      "3\n"
      "y");
  EXPECT_EQ(t.command(1), 34);
  EXPECT_EQ(t.g.BattleParty(0, CommandSpell), 12);
  EXPECT_EQ(t.target(1), 0);  // roster slot 0, the user
}

TEST(BattleItems, GoingBackAsksTheMemberAgain) {
  Commands t(1);
  t.spell(12, 2, 1, 1, 1);
  t.itemCasting(0, 1, 30, 6, 12, false);
  t.give(
      "u0\n"
      "g"
      "y");
  EXPECT_EQ(t.command(1), 5);
}

TEST(BattleItems, ItemsAreRefusedWhileTheMonstersHaveNotNoticedWhenTheScenarioSaysSo) {
  Commands t(1);
  t.spell(12, 2, 1, 1, 1);
  t.itemCasting(0, 1, 30, 6, 12, false);
  t.g.Battle.Surprise = 1;
  t.g.Setting(SurpriseStopsItems) = 1;
  t.give(
      "u4g"
      "y");
  EXPECT_EQ(t.command(1), 5);
}

TEST(BattleSpells, TargetsFollowTheSpellsClassAndArea) {
  Commands t(3);
  t.spell(3, 2, 2, 1, 1);    // holy healing, not for one: a member is chosen
  t.spell(45, 1, 1, 1, 1);   // magic damage: a monster group
  t.spell(46, 11, 1, 1, 1);  // magic class 11 for one: the caster himself
  for (int c = 0; c < 3; ++c) t.itemCasting(c, 1, 30 + c, 6, c == 0 ? 3 : 44 + c, false);
  t.give(
      "u1\n2"
      "u1\n"
      "u1\n"
      "y");
  EXPECT_EQ(t.target(1), 1);
  EXPECT_EQ(t.target(2), 0);
  EXPECT_EQ(t.target(3), 2);
  EXPECT_EQ(t.g.BattleParty(1, CommandSpell), 45);
  EXPECT_EQ(t.g.GroupAim(0), 1);
  EXPECT_NE(rt::rowText(t.con.text(), 17).find("S45"), std::string::npos);
}

TEST(BattleSpells, AKnownSpellIsCastAtTheMemberChosen) {
  Commands t(2);
  t.spell(3, 2, 2, 1, 1);
  t.g.CharLong(0, HolyPoints) = 1;
  t.g.CharLong(0, HolyPointsMax) = 1;
  setSpellKnown(t.g, 0, 3, true);
  t.give(
      "s9\n1\n2"
      "g"
      "y");
  EXPECT_EQ(t.command(1), 2);
  EXPECT_EQ(t.g.BattleParty(0, CommandSpell), 3);
  EXPECT_EQ(t.target(1), 1);
}

TEST(BattleSpells, SpellsOfTheDungeonAreNotCastInBattle) {
  Commands t(1);
  t.spell(3, 17, 1, 1, 1);
  t.g.CharLong(0, HolyPoints) = 1;
  t.g.CharLong(0, HolyPointsMax) = 1;
  setSpellKnown(t.g, 0, 3, true);
  t.give(
      "s1\n0\n"
      "g"
      "y");
  EXPECT_EQ(t.command(1), 5);
}

}  // namespace
}  // namespace kestrun::game
