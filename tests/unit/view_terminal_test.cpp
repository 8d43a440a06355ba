#include <gtest/gtest.h>

#include <string>

#include "frontends/tty/tty_frame.h"
#include "game/dungeon/view3d.h"
#include "game/state/fields.h"
#include "game_fixture.h"

namespace kestrun::game {
namespace {

constexpr uint8_t kBrightWhite = 15;
constexpr uint8_t kDarkGrey = 8;
const std::string kFullBlock = "\u28FF";
const std::string kBlank = " ";

// The view as an 80 x 24 terminal shows it: a door ahead, an opening on the
// left onto a dark square, a wall on the right.
class ViewInTheTerminal : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        g.FloorMap(x, y, WestBoundary) = 1;
        g.FloorMap(x, y, SouthBoundary) = 1;
      }
    }
    g.GameState(MemberCount) = 1;
    g.GameState(FirstMember) = 1;
    g.CharRec(0, Status) = 1;
    g.GameState(FloorAndFacing) = 100;
    g.GameState(Square) = 505;
    g.FloorMap(5, 6, SouthBoundary) = 2;
    g.FloorMap(5, 5, WestBoundary) = 0;
    g.FloorMap(4, 5, SquareLayer) = 6;
    MAP3D(g);
    frame = fe::buildFrame(t.con.text(), t.con.graphics());
  }
  const fe::TerminalCell& cell(int column, int row) const { return frame[row * 80 + column]; }

  GameFixture t;
  Game& g = t.g;
  fe::TerminalFrame frame;
};

TEST_F(ViewInTheTerminal, WallAndDoorEdgesAreUnbrokenWhiteLines) {
  // The wall box's left edge (x 176) and the door's left edge (x 224).
  for (int row = 4; row <= 19; ++row) {
    EXPECT_NE(cell(22, row).glyph, kBlank) << row;
    EXPECT_EQ(cell(22, row).fg, kBrightWhite) << row;
  }
  for (int row = 7; row <= 19; ++row) EXPECT_EQ(cell(28, row).fg, kBrightWhite) << row;
  // The right side wall's far edge (x 608).
  for (int row = 2; row <= 21; ++row) EXPECT_NE(cell(76, row).glyph, kBlank) << row;
  EXPECT_EQ(cell(40, 12).glyph, kBlank);  // inside the door
}

TEST_F(ViewInTheTerminal, ADarkSquareIsBlackInsideAThinGreyOutline) {
  for (int row = 6; row <= 17; ++row) {
    for (int column = 8; column <= 17; ++column) {
      EXPECT_EQ(cell(column, row).glyph, kBlank) << column << "," << row;
      EXPECT_EQ(cell(column, row).bg, fe::kAnsiBlack) << column << "," << row;
    }
  }
  // Its outline: every drawn cell of the area is grey, and there are some.
  for (int row = 4; row <= 19; row += 5) {
    int drawn = 0;
    for (int column = 3; column <= 20; ++column) {
      if (cell(column, row).glyph == kBlank) continue;
      ++drawn;
      EXPECT_EQ(cell(column, row).fg, kDarkGrey) << column << "," << row;
      EXPECT_NE(cell(column, row).glyph, kFullBlock) << column << "," << row;
    }
    EXPECT_GT(drawn, 0) << row;
  }
}

}  // namespace
}  // namespace kestrun::game
