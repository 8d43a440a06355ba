#include "game/dungeon/map_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/state/fields.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kCyan = 0x00FFFF;

// A walled floor 3 with the party at (3, 5) facing east. What the map shows
// is captured while it waits for its key.
class FloorMapView : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        g.FloorMap(x, y, WestBoundary) = 1;
        g.FloorMap(x, y, SouthBoundary) = 1;
      }
    }
    g.DirectionName(1) = "東"_sj;
    g.GameState(FloorAndFacing) = 301;
    g.GameState(Square) = 305;
    t.con.setWaitHook([this](rt::WaitKind) {
      ++waits;
      pixels.assign(t.con.graphics().pixels().begin(), t.con.graphics().pixels().end());
      for (int row = 0; row < 24; ++row) rows[row] = rt::toUtf8(rt::rowText(t.con.text(), row));
    });
  }

  void visit(int x, int y) { g.AutoMap(x, y, 0) += 100; }  // floor 3: digit 2
  void show(float mode) {
    g.SysWord(MapAsked) = mode;
    t.type("x");
    XMAP(g);
  }
  uint32_t pixel(int x, int y) const { return pixels[y * 640 + x]; }
  // A point inside the west edge, the east edge, the south and the north
  // edge of square (x, y).
  uint32_t westEdge(int x, int y) const { return pixel(16 * x + 19, 18 * (21 - y) + 8); }
  uint32_t eastEdge(int x, int y) const { return pixel(16 * x + 34, 18 * (21 - y) + 1); }
  uint32_t southEdge(int x, int y) const { return pixel(16 * x + 22, 18 * (21 - y) + 17); }
  uint32_t northEdge(int x, int y) const { return pixel(16 * x + 22, 18 * (21 - y)); }
  uint32_t dot(int x, int y) const { return pixel(16 * x + 27, 18 * (21 - y) + 9); }

  GameFixture t;
  Game& g = t.g;
  int waits = 0;
  std::vector<uint32_t> pixels;
  std::string rows[24];
};

TEST_F(FloorMapView, AFloorWithoutAMapShowsNothingAndDoesNotWait) {
  g.FloorHeader(MapRule) = 2;
  g.SysWord(MapAsked) = 1;
  XMAP(g);
  EXPECT_EQ(waits, 0);
}

TEST_F(FloorMapView, ModeZeroShowsOnlyWhereThePartyIs) {
  t.con.LOCATE(0, 2);
  t.con.PRINT(std::string("KEPT"));
  show(0);
  EXPECT_EQ(waits, 1);
  EXPECT_EQ(rows[2], "KEPT");
  EXPECT_EQ(rows[16], std::string(34, ' ') + "地下 3 階");
  EXPECT_EQ(rows[18], std::string(34, ' ') + "北に 5");
  EXPECT_EQ(rows[19], std::string(34, ' ') + "東に 3");
  EXPECT_EQ(rows[20], std::string(42, ' ') + "の所にいます");
  EXPECT_EQ(rows[22], std::string(34, ' ') + "東を向いています");
  EXPECT_EQ(rows[23], std::string(51, ' ') + "Hit Any Key");
  EXPECT_EQ(t.con.text().cell(51, 23).fg, 4);
  EXPECT_EQ(rt::rowText(t.con.text(), 16), "");  // cleared on the way out
}

TEST_F(FloorMapView, ModeOneDrawsOnlyTheVisitedSquares) {
  visit(3, 5);
  visit(4, 5);
  g.FloorMap(4, 5, WestBoundary) = 8;  // open looking east only
  g.FloorMap(9, 9, SquareLayer) = 7;   // stairs up, not visited
  show(1);
  EXPECT_EQ(eastEdge(3, 5), kBlack);
  EXPECT_EQ(westEdge(4, 5), kWhite);
  EXPECT_EQ(westEdge(3, 5), kWhite);
  EXPECT_EQ(dot(4, 5), kWhite);
  EXPECT_EQ(westEdge(9, 9), kBlack);
  EXPECT_EQ(rows[12].substr(20, 3), "   ");
  EXPECT_EQ(pixel(16 * 3 + 27, 18 * 16 + 9), kCyan);  // the party
  EXPECT_EQ(rows[8].substr(54), "地下 3 階");
  EXPECT_EQ(rows[1].substr(0, 8), "   0 1 2");
  EXPECT_EQ(rows[2].substr(0, 2), "19");
  EXPECT_EQ(rows[21].substr(43), " 0");
}

TEST_F(FloorMapView, ModeTwoDrawsTheWholeFloorAndDotsTheVisitedSquares) {
  visit(8, 9);
  g.FloorMap(9, 9, SquareLayer) = 7;
  g.FloorMap(10, 9, SquareLayer) = 108;  // stairs down with a parameter
  show(2);
  EXPECT_EQ(westEdge(9, 9), kWhite);
  EXPECT_EQ(dot(9, 9), kBlack);
  EXPECT_EQ(dot(8, 9), kWhite);
  EXPECT_EQ(rows[12].substr(21, 3), "U D");
}

TEST_F(FloorMapView, DoorsAreMarkedOnTheSideTheyOpenFrom) {
  g.FloorMap(6, 2, WestBoundary) = 2;   // both ways between (5, 2) and (6, 2)
  g.FloorMap(6, 3, WestBoundary) = 4;   // from the west square only
  g.FloorMap(6, 4, SouthBoundary) = 6;  // from the south square (6, 3) only
  show(2);
  const int top2 = 18 * 19;
  const int top3 = 18 * 18;
  EXPECT_EQ(pixel(16 * 5 + 32, top2 + 8), kWhite);  // the east door mark of (5, 2)
  EXPECT_EQ(pixel(16 * 5 + 33, top2 + 8), kBlack);  // an outline
  EXPECT_EQ(pixel(16 * 6 + 20, top2 + 3), kWhite);  // the west door mark of (6, 2)
  EXPECT_EQ(pixel(16 * 5 + 32, top3 + 3), kWhite);
  EXPECT_EQ(pixel(16 * 6 + 21, top3 + 3), kBlack);
  EXPECT_EQ(pixel(16 * 6 + 27, top3 + 2), kWhite);  // north door mark of (6, 3)
  EXPECT_EQ(pixel(16 * 6 + 27, 18 * 17 + 15), kBlack);
}

TEST_F(FloorMapView, TheMapWrapsAtTheFloorEdges) {
  g.FloorMap(0, 7, WestBoundary) = 0;    // east of (19, 7)
  g.FloorMap(12, 0, SouthBoundary) = 0;  // north of (12, 19)
  show(2);
  EXPECT_EQ(eastEdge(19, 7), kBlack);
  EXPECT_EQ(eastEdge(19, 8), kWhite);
  EXPECT_EQ(westEdge(0, 7), kBlack);
  EXPECT_EQ(northEdge(12, 19), kBlack);
  EXPECT_EQ(southEdge(12, 0), kBlack);
  EXPECT_EQ(northEdge(11, 19), kWhite);
}

}  // namespace
}  // namespace kestrun::game
