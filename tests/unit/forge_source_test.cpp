#include <gtest/gtest.h>

#include "game/state/fields.h"
#include "roster_source.h"
#include "runtime/sjis.h"
#include "scenario_source.h"

namespace kestrun::forge {
namespace {

using rt::toShiftJis;

// Tables as a dump would find them: names, named digits and numbers no
// named key can give back.
game::ScenarioTables oddTables() {
  game::ScenarioTables t;
  t.ScenarioText(0) = toShiftJis("試し");
  t.ScenarioText(6) = toShiftJis("武器");
  t.ScenarioId(0) = 77;
  t.ScenarioId(2) = -3;
  t.InitialStock(0) = 1;
  t.Setting(game::ScrambleKey) = 4321;
  t.Setting(game::ClassChangeResetsStats) = 9;
  t.Setting(game::FirstSexAdjustment) = 5559;
  t.Setting(game::FirstSexAdjustment + 1) = 75555;  // a fifth digit no adjustment uses
  t.ClassName(3) = toShiftJis("Thief");
  t.ClassTable(3, game::ClassSkills) = 11;
  t.ClassTable(3, game::FirstAlignmentBar) = 2;  // neither open nor closed
  t.ClassExpPart(3, 0) = -1;
  t.ClassExpPart(3, 1) = 1500;  // no exp_factor gives these parts back
  t.ClassName(5) = toShiftJis("Samurai");
  t.ClassTable(5, game::ClassSkills) = 10101;
  t.ClassExpPart(5, 0) = 1712;
  t.ClassExpPart(5, 1) = 500;
  for (int i : {5, 6}) {
    t.ItemName(i, 0) = toShiftJis("Twin");  // two items of one name
    t.ItemTable(i, game::ItemKindAndArmour) = 5000;
  }
  t.ItemName(7, 0) = toShiftJis("Odd");
  t.ItemTable(7, game::ItemKindAndArmour) = -12;
  t.ItemTable(7, game::FirstClassBar) = 20011;  // a usability digit of 2
  t.ItemTable(7, game::ItemWeightAndBreak) =
      5 * 100 + 3;  // breaks into item 5: only its number names it
  t.ItemTable(7, game::ItemSpell) = 41;
  t.ItemTable(7, game::ItemPriceLow) = 12345;
  t.InitialStock(7) = 9000;
  t.SpellTable(0, game::SpellEffect) = 4;  // the unused spell row
  t.SpellName(41) = toShiftJis("Fire");
  t.SpellTable(41, game::SpellKindAndListing) = 701;
  t.SpellTable(41, game::SpellLevel) = 3001;
  t.MonsterName(119, 1) = toShiftJis("影");
  t.MonsterTable(119, game::MonsterExperience) = -29000;
  t.MonsterTable(119, game::MonsterArmour) = 10000 + 7500 + 12;
  t.FloorEncounter(14, game::FirstEncounterColumn) = 119;
  t.FloorRule(0, game::FloorRuleValue) = -1;
  t.TreasureTable(29, game::FirstTrapDigits) = 10203;
  t.TrapTable(14, 0) = 7;
  return t;
}

void expectSameTables(const game::ScenarioTables& a, const game::ScenarioTables& b) {
  EXPECT_EQ(a.ScenarioText.raw(), b.ScenarioText.raw());
  EXPECT_EQ(a.ScenarioId.raw(), b.ScenarioId.raw());
  EXPECT_EQ(a.Setting.raw(), b.Setting.raw());
  EXPECT_EQ(a.ClassName.raw(), b.ClassName.raw());
  EXPECT_EQ(a.ClassTable.raw(), b.ClassTable.raw());
  EXPECT_EQ(a.ClassExpPart.raw(), b.ClassExpPart.raw());
  EXPECT_EQ(a.ItemName.raw(), b.ItemName.raw());
  EXPECT_EQ(a.ItemTable.raw(), b.ItemTable.raw());
  EXPECT_EQ(a.InitialStock.raw(), b.InitialStock.raw());
  EXPECT_EQ(a.SpellName.raw(), b.SpellName.raw());
  EXPECT_EQ(a.SpellTable.raw(), b.SpellTable.raw());
  EXPECT_EQ(a.MonsterName.raw(), b.MonsterName.raw());
  EXPECT_EQ(a.MonsterTable.raw(), b.MonsterTable.raw());
  EXPECT_EQ(a.FloorEncounter.raw(), b.FloorEncounter.raw());
  EXPECT_EQ(a.FloorRule.raw(), b.FloorRule.raw());
  EXPECT_EQ(a.TreasureTable.raw(), b.TreasureTable.raw());
  EXPECT_EQ(a.TrapTable.raw(), b.TrapTable.raw());
  EXPECT_EQ(a.RaceTable.raw(), b.RaceTable.raw());
}

TEST(ForgeScenarioSource, DumpedSourceGivesTheSameTablesBack) {
  const game::ScenarioTables tables = oddTables();
  const std::string text = writeScenarioSource(tables, "Z");
  Problems problems;
  auto file = SourceFile::fromText(text, "scenario.toml", problems);
  ASSERT_TRUE(file);
  const ScenarioSource source = readScenarioSource(*file, problems);
  ASSERT_TRUE(problems.empty()) << problems.lines()[0] << "\n" << text;
  EXPECT_EQ(source.letter, "Z");
  expectSameTables(source.tables, tables);

  // Names where they say it all, numbers where a name is shared.
  EXPECT_NE(text.find("exp_factor = 1.7125"), std::string::npos) << text;
  EXPECT_NE(text.find("f18 = -1"), std::string::npos) << text;
  EXPECT_NE(text.find("breaks_into = 5"), std::string::npos) << text;
  EXPECT_NE(text.find("spell = \"Fire\""), std::string::npos) << text;
}

TEST(ForgeRosterSource, DumpedRosterGivesTheSameTablesBack) {
  game::ScenarioTables scenario = oddTables();
  scenario.InitialStock(5) = 3;
  game::RosterTables r = newRoster(scenario).tables;
  r.ShopStock(0) = 10000;
  r.ShopStock(7) = 8999;
  r.CharName(4) = toShiftJis("ミナ");
  r.CharRec(4, game::Status) = 1101;
  r.CharRec(4, game::Identity) = 10305;
  r.CharRec(4, game::LevelAndFloor) = 2009;
  r.CharRec(4, game::ChecksumAndSchools) = 21000;
  r.CharRec(4, game::FirstStatPair) = 11807;
  r.CharRec(4, game::FirstItemSlot) = 11005;
  r.CharRec(4, game::FirstItemSlot + 1) = 25007;  // an item slot with no flags the keys can give
  r.CharRec(4, game::FirstSpellField + 8) = 1;
  r.CharLong(4, game::Experience) = 1'000'000'000;
  r.CharLong(4, game::HolyPointsMax) = -5;
  r.CharRec(9, game::AgeDays) = -40000;  // a nameless record
  r.GameState(game::MemberCount) = 1;
  r.GameState(game::FirstMember) = 5;
  r.GameState(game::FloorAndFacing) = 201;
  r.GameState(game::Square) = 1204;
  r.GameState(game::TimedEffect) = 20305;
  r.AutoMap(3, 4, 0) = 10010;  // floors 2 and 5
  r.AutoMap(19, 0, 2) = 7;     // floor 11, digit 7
  r.AutoMap(0, 19, 1) = -2;    // only raw
  const std::string text = writeRosterSource(r, 3456, scenario, wordsOfTables(scenario));
  Problems problems;
  auto file = SourceFile::fromText(text, "roster.toml", problems);
  ASSERT_TRUE(file);
  const RosterSource source = readRosterSource(*file, scenario, wordsOfTables(scenario), problems);
  ASSERT_TRUE(problems.empty()) << problems.lines()[0] << "\n" << text;
  EXPECT_EQ(source.key, 3456);
  EXPECT_EQ(source.tables.CharName.raw(), r.CharName.raw());
  EXPECT_EQ(source.tables.CharRec.raw(), r.CharRec.raw());
  EXPECT_EQ(source.tables.CharLong.raw(), r.CharLong.raw());
  EXPECT_EQ(source.tables.GameState.raw(), r.GameState.raw());
  EXPECT_EQ(source.tables.AutoMap.raw(), r.AutoMap.raw());
  EXPECT_EQ(source.tables.ShopStock.raw(), r.ShopStock.raw());
  EXPECT_NE(text.find("{ value = 25007 }"), std::string::npos) << text;
}

}  // namespace
}  // namespace kestrun::forge
