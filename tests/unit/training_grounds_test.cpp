#include <gtest/gtest.h>

#include "game/state/packed.h"
#include "game/town/training.h"
#include "game/town/training_parts.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "runtime/values.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;
using rt::rowText;

// Eight stats of 10 for the one race; a fighter open to all, and a priest
// who needs Faith 12 and casts holy spells from level 1.
void smallGuild(Game& g) {
  for (int i = 0; i < 8; ++i) g.Setting(FirstStatUsed + i) = 1;
  g.Setting(CreationStatLimit) = 30;
  g.Setting(ItemSlots) = 8;
  g.Setting(HolySpellLevels) = 7;
  g.Setting(MagicSpellLevels) = 7;
  g.RaceTable(0, RaceExists) = 1;
  for (int s = 1; s <= 8; ++s) g.RaceTable(0, s) = 10;
  g.ClassTable(0, ClassSkills) = 10001;
  g.ClassTable(1, ClassSkills) = 1001;
  g.ClassTable(1, FirstMinimumStat + 3) = 12;
  g.ClassTable(1, HolyStartLevel) = 1;
  g.SpellTable(1, SpellKindAndListing) = 1001;  // chance 100: always learned
  g.SpellTable(1, SpellLevel) = 1001;
  g.SpellTable(2, SpellKindAndListing) = 1001;
  g.SpellTable(2, SpellLevel) = 2002;
}

void addCharacter(Game& g, int slot, const std::string& name, float status = 1) {
  g.CharName(slot) = name;
  g.CharRec(slot, Status) = status;
  g.CharRec(slot, LevelAndFloor) = 1;
  for (int s = 0; s < 8; ++s) setStat(g, slot, s, 10 + slot);
}

// Plays the training grounds until the key script runs out.
void train(GameFixture& t, const std::string& keys) {
  t.type(keys);
  EXPECT_THROW(TRAIN(t.g), rt::ProgramEnd);
}

int numberAt(GameFixture& t, int column, int row) {
  return rt::toInt32(rt::VAL(rowText(t.con.text(), row).substr(column)));
}

TEST(BonusPoints, NeverRaiseAboveTheCapOrLowerBelowTheRaceBase) {
  int bonus = 0;
  {
    GameFixture t;
    smallGuild(t.g);
    train(t, "1A{Enter}1");
    bonus = numberAt(t, 35, 18);
  }
  ASSERT_GE(bonus, 7);  // at least one less than the number of stats

  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  // Strength and Health up as far as they go, Strength two down again,
  // Knowledge down from its base.
  train(t,
        "1A{Enter}1"
        "1" +
            std::string(25, '1') +
            "0"
            "2" +
            std::string(25, '1') +
            "0"
            "1"
            "22"
            "0"
            "3"
            "2");
  const int strength = std::min(30, 10 + bonus) - 2;
  const int health = 10 + std::min(20, bonus - (strength + 2 - 10));
  EXPECT_EQ(statOf(g, 0, 0), strength);
  EXPECT_EQ(statOf(g, 0, 1), health);
  EXPECT_EQ(statOf(g, 0, 2), 10);
  EXPECT_EQ(numberAt(t, 35, 18), bonus - (strength - 10) - (health - 10));

  // Above 40 the cap is the race value plus the setting minus 50.
  GameFixture capped;
  smallGuild(capped.g);
  capped.g.Setting(CreationStatLimit) = 52;
  train(capped,
        "1A{Enter}1"
        "1" +
            std::string(5, '1'));
  EXPECT_EQ(statOf(capped.g, 0, 0), 12);
}

TEST(Creation, DecliningFreesTheSlotAndAFullRosterTakesNoOne) {
  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  addCharacter(g, 0, "A");
  train(t,
        "1B{Enter}1"
        "0"
        "N{Enter}");
  EXPECT_EQ(g.CharRec(1, Status), 0.0f);
  EXPECT_EQ(g.CharName(1), "");

  // Spend everything, then register as a priest: the level-1 spell is
  // learned and the holy points are the number offered.
  const std::string allUp(20, '1');
  train(t,
        "1B{Enter}1"
        "4" +
            allUp +
            "0"
            "5" +
            allUp +
            "0"
            "0"
            "Y{Enter}"
            "2{Enter}");
  EXPECT_EQ(classOf(g, 1), 1);
  EXPECT_TRUE(knowsSpell(g, 1, 1));
  EXPECT_FALSE(knowsSpell(g, 1, 2));
  EXPECT_EQ(g.CharLong(1, HolyPointsMax), 1);
  EXPECT_EQ(levelOf(g, 1), 1);

  for (int c = 2; c < 20; ++c) addCharacter(g, c, "X");
  createCharacter(g);
  EXPECT_EQ(rowText(t.con.text(), 9), std::string(19, ' ') + "これ以上つくれません"_sj);
  EXPECT_EQ(g.CharName(1), "B");
  for (int c = 2; c < 20; ++c) EXPECT_EQ(g.CharName(c), "X");
  for (int c = 0; c < 20; ++c) EXPECT_EQ(g.CharRec(c, Status), 1.0f);
}

TEST(Creation, RolledStatsAreRolledAgainUntilAClassIsOpen) {
  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  g.Setting(NoRaces) = 1;
  g.Setting(CreationStatLimit) = 18;
  g.ClassTable(1, ClassSkills) = 0;
  g.ClassTable(0, FirstMinimumStat) = 15;  // rolled as 4 + three draws of 0..4: rarely 15
  g.ClassTable(0, FirstMinimumStat + 1) = 15;
  train(t, "1A{Enter}");
  EXPECT_GE(statOf(g, 0, 0), 15);
  EXPECT_GE(statOf(g, 0, 1), 15);
  for (int s = 2; s < 8; ++s) EXPECT_LE(statOf(g, 0, s), 16);
}

TEST(RosterManagement, DeletesOnlyTheLostAndMovesTheOthersUp) {
  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  for (int c = 0; c < 5; ++c) addCharacter(g, c, std::string(1, static_cast<char>('A' + c)));
  g.CharRec(2, Status) = status::Lost;
  g.CharRec(2, FirstStatPair) += 10000;  // the floor flag of row 2 stays with the row
  g.GameState(MemberCount) = 3;
  g.GameState(FirstMember) = 3;
  g.GameState(FirstMember + 1) = 5;
  g.GameState(FirstMember + 2) = 1;

  train(t, "22{Enter}3");
  EXPECT_EQ(rowText(t.con.text(), 22),
            std::string(19, ' ') + "削除できるのは消失したキャラクターだけです !"_sj);
  EXPECT_EQ(g.CharName(1), "B");

  train(t, "23{Enter}3N{Enter}");
  EXPECT_EQ(g.CharName(2), "C");

  train(t, "23{Enter}3Y{Enter}");
  EXPECT_EQ(g.CharName(2), "D");
  EXPECT_EQ(g.CharName(3), "E");
  EXPECT_EQ(g.CharRec(4, Status), 0.0f);
  EXPECT_EQ(g.CharName(4), "");
  EXPECT_EQ(g.CharRec(2, FirstStatPair), 10000 + 1313.0f);
  EXPECT_EQ(g.CharRec(3, FirstStatPair), 1414.0f);
  EXPECT_EQ(g.GameState(MemberCount), 2.0f);
  EXPECT_EQ(g.GameState(FirstMember), 4.0f);
  EXPECT_EQ(g.GameState(FirstMember + 1), 1.0f);
  EXPECT_EQ(g.GameState(FirstMember + 2), 0.0f);
}

TEST(RosterManagement, ExchangedPlacesKeepTheirPartyEntriesAndFloorFlags) {
  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  for (int c = 0; c < 3; ++c) addCharacter(g, c, std::string(1, static_cast<char>('A' + c)));
  g.CharRec(0, FirstStatPair) += 10000;
  g.CharLong(2, Gold) = 77;
  g.GameState(MemberCount) = 2;
  g.GameState(FirstMember) = 1;
  g.GameState(FirstMember + 1) = 3;
  train(t, "21{Enter}43{Enter}");
  EXPECT_EQ(g.CharName(0), "C");
  EXPECT_EQ(g.CharName(2), "A");
  EXPECT_EQ(g.CharLong(0, Gold), 77);
  EXPECT_EQ(g.CharRec(0, FirstStatPair), 10000 + 1212.0f);
  EXPECT_EQ(g.CharRec(2, FirstStatPair), 1010.0f);
  EXPECT_EQ(g.GameState(FirstMember), 3.0f);
  EXPECT_EQ(g.GameState(FirstMember + 1), 1.0f);
}

TEST(RosterManagement, ClassChangeKeepsAShareOfExperienceAndUnequips) {
  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  g.Setting(ClassChangeExperience) = 50;
  addCharacter(g, 0, "A");
  addCharacter(g, 1, "B");
  setStat(g, 0, 3, 12);
  g.CharRec(0, LevelAndFloor) = 5;
  g.CharLong(0, Experience) = 1001;
  g.CharRec(0, FirstItemSlot) = 11005;  // identified and equipped
  setSpellKnown(g, 0, 41, true);
  g.CharLong(0, MagicPoints) = 3;
  g.CharLong(0, MagicPointsMax) = 3;

  // The present class, one whose Faith is not met: asked again; 0 goes back.
  train(t, "22{Enter}51{Enter}2{Enter}0{Enter}");
  EXPECT_EQ(classOf(g, 1), 0);

  train(t, "21{Enter}52{Enter}");
  EXPECT_EQ(classOf(g, 0), 1);
  EXPECT_EQ(g.CharLong(0, Experience), 500);
  EXPECT_EQ(levelOf(g, 0), 1);
  EXPECT_EQ(g.CharRec(0, FirstItemSlot), 10005.0f);
  EXPECT_FALSE(knowsSpell(g, 0, 41));  // spells do not carry over by default
  EXPECT_EQ(g.CharLong(0, MagicPointsMax), 0);
  EXPECT_TRUE(knowsSpell(g, 0, 1));
  EXPECT_EQ(g.CharLong(0, HolyPoints), 2);  // a level-1 holy caster starts with 2
  EXPECT_EQ(g.CharLong(0, HolyPointsMax), 2);

  // Spells carried over: the maximum per level is what is known of it; a
  // maximum of 2 or more gets no starting points, and points now follow it.
  g.Setting(MiracleOption) = 1;
  setStat(g, 1, 3, 12);
  setSpellKnown(g, 1, 2, true);
  setSpellKnown(g, 1, 3, true);
  g.SpellTable(3, SpellKindAndListing) = 1001;
  g.SpellTable(3, SpellLevel) = 2002;
  g.CharLong(1, HolyPoints) = 5;
  train(t, "22{Enter}52{Enter}");
  EXPECT_EQ(g.CharLong(1, HolyPointsMax), 20);
  EXPECT_EQ(g.CharLong(1, HolyPoints), 20);
}

TEST(RosterManagement, TheFifteenthClassIsListedBesideTheOthersAndCanBeChosen) {
  // Row 14 + 10 lies below the screen, so class 15 goes to a second column.
  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  g.ClassTable(14, ClassSkills) = 11111;
  g.ClassName(14) = "ALL";
  addCharacter(g, 0, "A");
  train(t, "21{Enter}5");
  EXPECT_EQ(rowText(t.con.text(), 10).substr(44), "15 ALL");
  train(t, "21{Enter}515{Enter}");
  EXPECT_EQ(classOf(g, 0), 14);
}

TEST(RosterManagement, AClassWhoseUnitsDigitIsZeroIsNeitherListedNorTaken) {
  // Class 3 has skills but no units digit: it is not a class of the
  // scenario, whatever the rest of its field says.
  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  g.ClassTable(3, ClassSkills) = 10;
  g.ClassName(3) = "NONE";
  addCharacter(g, 0, "A");
  train(t, "21{Enter}54{Enter}");
  EXPECT_EQ(rowText(t.con.text(), 13), "");
  EXPECT_EQ(classOf(g, 0), 0);
}

TEST(Names, ACutAtTwelveBytesNeverSplitsADoubleByteCharacter) {
  EXPECT_EQ(nameFromLine("ABCDEFGHIJKLMN"), "ABCDEFGHIJKL");
  EXPECT_EQ(nameFromLine("ABCDEFGHIJK"_sj + "あ"_sj), "ABCDEFGHIJK");
  EXPECT_EQ(nameFromLine("あいうえおかき"_sj), "あいうえおか"_sj);
}

TEST(TrainingOptions, NewGameKeepsStatsWhileDeleteAllEmptiesTheRoster) {
  GameFixture t;
  Game& g = t.g;
  smallGuild(g);
  addCharacter(g, 0, "A");
  g.CharRec(0, FirstStatPair) += 20000;
  g.AutoMap(3, 4, 1) = 5;
  g.InitialStock(7) = 9;
  g.GameState(MemberCount) = 1;
  g.GameState(FirstMember) = 1;
  train(t, "5n{Enter}");
  EXPECT_EQ(g.AutoMap(3, 4, 1), 5.0f);
  train(t, "5Y{Enter}");
  EXPECT_EQ(g.AutoMap(3, 4, 1), 0.0f);
  EXPECT_EQ(g.CharRec(0, FirstStatPair), 1010.0f);
  EXPECT_EQ(g.ShopStock(7), 9.0f);
  EXPECT_EQ(g.GameState(MemberCount), 1.0f);

  g.CharRec(0, FirstStatPair) += 20000;
  train(t, "4Y{Enter}");
  EXPECT_EQ(g.CharRec(0, Status), 0.0f);
  EXPECT_EQ(g.CharName(0), "");
  EXPECT_EQ(g.CharRec(0, FirstStatPair), 10000.0f);
  EXPECT_EQ(g.CharRec(0, AgeDays), -32000.0f);
  EXPECT_EQ(g.GameState(MemberCount), 0.0f);
  EXPECT_EQ(g.GameState(FirstMember), 0.0f);
}

}  // namespace
}  // namespace kestrun::game
