#include <gtest/gtest.h>

#include <sstream>

#include "floor_plan.h"
#include "game/state/fields.h"
#include "party_placement.h"
#include "plan_pictures.h"
#include "roster_report.h"
#include "runtime/sjis.h"

namespace kestrun::forge {
namespace {

using plan::Passage;

struct PlanFixture : ::testing::Test {
  game::ScenarioTables scenario;
  game::FloorTables floor;

  void square(int x, int y, int code, int p0 = 0, int p1 = 0, int p2 = 0, int p3 = 0) {
    floor.FloorMap(x, y, 0) = static_cast<float>(code + 100 * p0);
    floor.FloorMap(x, y, 1) += static_cast<float>(100 * p1);
    floor.FloorMap(x, y, 2) += static_cast<float>(100 * p2);
    floor.FloorMap(x, y, 3) += static_cast<float>(100 * p3);
  }
  plan::FloorPlan make(int number = 2) {
    return plan::makePlan(floor, number, "T", plan::Names(scenario));
  }
};

// The one-way codes open only as seen looking one way, and the plan's arrow
// points that way; hidden walls pass with the door key both ways.
TEST_F(PlanFixture, BoundariesKnowTheirDirections) {
  floor.FloorMap(4, 5, 1) = 8;    // open only looking east
  floor.FloorMap(6, 5, 1) = 5;    // a door seen only looking west
  floor.FloorMap(7, 7, 2) = 10;   // open only looking north
  floor.FloorMap(8, 8, 2) = 203;  // a hidden wall, with a parameter above the code
  floor.FloorMap(9, 9, 1) = 2;
  const plan::FloorPlan p = make();
  const plan::Boundary& east = p.west[4][5];
  EXPECT_EQ(east.forward, Passage::Open);
  EXPECT_EQ(east.backward, Passage::Wall);
  EXPECT_EQ(plan::oneWayDirection(east, false), 1);
  EXPECT_EQ(p.west[6][5].kind(), Passage::Door);
  EXPECT_EQ(plan::oneWayDirection(p.west[6][5], false), 3);
  EXPECT_EQ(plan::oneWayDirection(p.south[7][7], true), 0);
  EXPECT_FALSE(p.south[8][8].isOneWay());
  EXPECT_EQ(p.south[8][8].kind(), Passage::Hidden);
  EXPECT_EQ(p.west[9][9].kind(), Passage::Door);
  EXPECT_TRUE(p.west[0][0].isOpen());
  EXPECT_EQ(p.west[1][1].kind(), Passage::Open);
}

// Each square event is told with where it leads and what it holds.
TEST_F(PlanFixture, SquaresAreDescribedWithTheirParameters) {
  scenario.ItemName(31, 0) = rt::toShiftJis("大鍵");
  scenario.MonsterName(11, 0) = rt::toShiftJis("蛙");
  floor.FloorText(0) = "Beware" + std::string(22, ' ');
  square(1, 1, 8, 0, 3, 4);
  square(2, 1, 7, 0, 5, 6);
  square(3, 1, 9, 0, 7, 8);
  square(4, 1, 9, 3, 7, 8);
  square(5, 1, 23, 11, 31, 0);
  square(6, 1, 16, 1, 2, 3, 31);
  square(7, 1, 24, 31, 1, 2, 3);
  square(8, 1, 19, 1, 9);
  square(9, 1, 2, 1, 3);
  square(10, 1, 77);
  floor.FloorMap(11, 1, 3) = 1;
  const plan::FloorPlan p = make(2);
  auto words = [&](int x) { return p.squares[x][1].description; };
  EXPECT_EQ(words(1), "stairs down to floor 3 at (3, 4)");
  EXPECT_EQ(words(2), "stairs up to floor 1 at (5, 6)");
  EXPECT_EQ(words(3), "teleport to the town");
  EXPECT_EQ(words(4), "teleport to floor 3 (7, 8)");
  EXPECT_EQ(words(5),
            "guardian 蛙 (monster 11) until beaten once on this floor, guarding 大鍵 (item 31)");
  EXPECT_EQ(words(6), "teleport to floor 1 (2, 3) only if the party carries 大鍵 (item 31)");
  EXPECT_EQ(words(7), "vendor of 大鍵 (item 31) for 10203 gold");
  EXPECT_EQ(words(8), "message: text 1 \"Beware\" (facing north, south)");
  EXPECT_EQ(words(9), "elevator between floors 1 and 3");
  EXPECT_EQ(words(10), "code 77: no event");
  EXPECT_EQ(p.squares[5][1].symbol, "G");
  EXPECT_EQ(p.squares[11][1].encounterMark, 1);
  EXPECT_EQ(make(1).squares[2][1].description,
            "stairs up to the town; the party arrives from town here");
}

// The text plan shows the wrap: the line above row 19 repeats the one below
// row 0, and each row's first boundary its last; open outer edges are dashed.
TEST_F(PlanFixture, TextPlanShowsTheWrap) {
  floor.FloorMap(3, 0, 2) = 1;  // a wall on the south side of (3, 0), also north of (3, 19)
  floor.FloorMap(0, 7, 1) = 2;  // a door between (19, 7) and (0, 7)
  floor.FloorMap(5, 5, 0) = 6;
  std::istringstream text(plan::renderText(make()));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  ASSERT_GT(lines.size(), 44u);
  const std::string& top = lines[2];
  const std::string& bottom = lines[42];
  EXPECT_EQ(top, bottom);
  EXPECT_NE(top.find("┄┄┄╶───╴┄┄┄"), std::string::npos) << top;
  const std::string& row7 = lines[2 + 1 + 2 * (19 - 7)];
  EXPECT_EQ(row7.substr(0, 5), "  7 D");
  EXPECT_EQ(row7.substr(row7.size() - 3), "D 7") << row7;
  const std::string& row5 = lines[2 + 1 + 2 * (19 - 5)];
  EXPECT_NE(row5.find("░░░"), std::string::npos) << row5;
}

// Names go into the SVG as text: markup characters are escaped, and a long
// description is wrapped into lines that stay on the picture.
TEST_F(PlanFixture, SvgKeepsNamesAsTextWithinThePicture) {
  scenario.ItemName(5, 0) = "<b>&\"x\"";
  square(2, 2, 11, 5);
  for (int x = 0; x < 20; ++x) square(x, 7, 23, 1, 5, 5, 5);  // long lines, wrapped
  const plan::FloorPlan p = make();
  const std::string svg = plan::renderSvg(p);
  EXPECT_EQ(svg.find("<b>"), std::string::npos);
  EXPECT_NE(svg.find("&lt;b&gt;&amp;&quot;x&quot;"), std::string::npos);
  const plan::PictureSize size = plan::pictureSize(p);
  size_t at = 0;
  while ((at = svg.find("<text x=\"", at)) != std::string::npos) {
    at += 9;
    const int x = std::stoi(svg.substr(at));
    const size_t length = svg.find("textLength=\"", at) + 12;
    EXPECT_LE(x + std::stoi(svg.substr(length)), size.width) << svg.substr(at, 160);
  }
}

TEST_F(PlanFixture, PngWriterReportsAFileItCannotWrite) {
  plan::Raster raster{2, 2, {0, 0xFFFFFF, 0x123456, 0}};
  const std::string problem = plan::writePng("/nonexistent-folder/plan.png", raster);
  EXPECT_NE(problem.find("cannot write /nonexistent-folder/plan.png"), std::string::npos)
      << problem;
}

TEST(TextColumns, FullWidthCharactersTakeTwo) {
  EXPECT_EQ(plan::textColumns("ab"), 2);
  EXPECT_EQ(plan::textColumns("鍵a"), 3);
  EXPECT_EQ(plan::textColumns("ｱ"), 1);
}

TEST(PartySpot, ReadsFloorSquareAndFacing) {
  std::string problem;
  auto spot = parseSpot("2,5,6,west", problem);
  ASSERT_TRUE(spot) << problem;
  EXPECT_EQ(spot->floor, 2);
  EXPECT_EQ(spot->x, 5);
  EXPECT_EQ(spot->y, 6);
  EXPECT_EQ(spot->facing, 3);
  EXPECT_EQ(parseSpot("1,0,19", problem)->facing, 0);
  EXPECT_EQ(parseSpot("1,0,19,2", problem)->facing, 2);
  for (const char* bad :
       {"2,5", "0,1,1", "16,1,1", "1,20,0", "1,-1,0", "1,1,1,up", "1,1,1,4", "a,b,c"}) {
    EXPECT_FALSE(parseSpot(bad, problem)) << bad;
    EXPECT_FALSE(problem.empty()) << bad;
  }
}

struct Placement : ::testing::Test {
  game::RosterTables roster;
  void character(int slot, float status, int level, int leftOn = 0) {
    roster.CharName(slot) = "C" + std::to_string(slot);
    roster.CharRec(slot, game::Status) = status;
    roster.CharRec(slot, game::LevelAndFloor) = static_cast<float>(leftOn * 1000 + level);
  }
};

// A party saved in the dungeon, as the camp's suspend leaves it.
TEST_F(Placement, PutsTheRostersPartyOnTheSquare) {
  character(3, 1, 7);
  character(4, 1001, 2);
  roster.GameState(game::MemberCount) = 2;
  roster.GameState(game::FirstMember) = 5;
  roster.GameState(game::FirstMember + 1) = 4;
  ASSERT_EQ(placeParty(roster, {3, 12, 9, 1}, 6), "");
  EXPECT_EQ(roster.GameState(game::FloorAndFacing), 301);
  EXPECT_EQ(roster.GameState(game::Square), 1209);
  EXPECT_EQ(roster.GameState(game::PreviousSquare), 1209);
  EXPECT_EQ(roster.CharRec(4, game::LevelAndFloor), 3002);
  EXPECT_EQ(roster.CharRec(3, game::LevelAndFloor), 3007);
  EXPECT_EQ(roster.CharRec(3, game::LeftAt), 11209);
  EXPECT_TRUE(isPartyInDungeon(roster));
}

// Without a party the first sound characters in town form one, up to the
// party size; the dead and those left in the dungeon stay out.
TEST_F(Placement, FormsAPartyWhenTheRosterHasNone) {
  character(0, 20000, 1);
  character(1, 1, 1, 2);
  character(2, 1, 3);
  character(5, 1001, 4);
  character(6, 1, 5);
  ASSERT_EQ(placeParty(roster, {1, 0, 0, 0}, 2), "");
  EXPECT_EQ(roster.GameState(game::MemberCount), 2);
  EXPECT_EQ(roster.GameState(game::FirstMember), 3);
  EXPECT_EQ(roster.GameState(game::FirstMember + 1), 6);
  game::RosterTables nobody;
  EXPECT_NE(placeParty(nobody, {1, 0, 0, 0}, 6), "");
  EXPECT_FALSE(isPartyInDungeon(nobody));
}

// Spell points: one pair per level in the scenario's levels, or one pair per
// kind when the scenario pools them.
TEST_F(Placement, RosterPrintoutShowsSpellPoints) {
  character(0, 1, 3);
  roster.CharLong(0, game::HolyPoints) = 102;
  roster.CharLong(0, game::HolyPointsMax) = 203;
  game::ScenarioTables scenario;
  scenario.Setting(game::HolySpellLevels) = 3;
  LoadedRoster loaded{roster, {}, game::RosterVerdict::Sound};
  std::ostringstream byLevel;
  printRosterReport(scenario, loaded, byLevel);
  EXPECT_NE(byLevel.str().find("  holy spell points: 2/3 0/0 1/2 (levels 1 to 3)\n"),
            std::string::npos)
      << byLevel.str();
  EXPECT_EQ(byLevel.str().find("magic spell points"), std::string::npos);
  scenario.Setting(game::SpellPointMode) = 2;
  std::ostringstream pooled;
  printRosterReport(scenario, loaded, pooled);
  EXPECT_NE(pooled.str().find("  holy spell points: 102/203\n"), std::string::npos) << pooled.str();
}

}  // namespace
}  // namespace kestrun::forge
