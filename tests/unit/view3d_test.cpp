#include "game/dungeon/view3d.h"

#include <gtest/gtest.h>

#include <string>

#include "game/state/fields.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kYellow = 0xFFFF00;

constexpr int kNorth = 0, kEast = 1, kSouth = 2, kWest = 3;

// A party of one on floor 1 of a floor walled everywhere; the tests open
// what they need.
class DungeonView : public ::testing::Test {
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
    g.CharRec(0, HitPoints) = 10;
    place(5, 5, kNorth);
  }

  void place(int x, int y, int facing) {
    g.GameState(FloorAndFacing) = static_cast<float>(100 + facing);
    g.GameState(Square) = static_cast<float>(100 * x + y);
  }

  // The boundary on one side of (x, y), in the layer and square that hold it.
  float& side(int x, int y, int direction) {
    switch (direction) {
      case kNorth:
        return g.FloorMap(x, (y + 1) % 20, SouthBoundary);
      case kEast:
        return g.FloorMap((x + 1) % 20, y, WestBoundary);
      case kSouth:
        return g.FloorMap(x, y, SouthBoundary);
      default:
        return g.FloorMap(x, y, WestBoundary);
    }
  }
  float& kind(int x, int y) { return g.FloorMap(x, y, SquareLayer); }

  // Opens the way north from (x, y) for `squares` boundaries.
  void openNorth(int x, int y, int squares) {
    for (int i = 0; i < squares; ++i) side(x, y + i, kNorth) = 0;
  }

  int evaluate(int slot) {
    g.SysWord(ViewSlot) = static_cast<float>(slot);
    CALC(g);
    return static_cast<int>(g.View3D(slot));
  }

  uint32_t pixel(int x, int y) { return g.con.graphics().pixel(x, y); }
  std::string row0() { return rt::toUtf8(rt::rowText(t.con.text(), 0)); }

  GameFixture t;
  Game& g = t.g;
};

using Calc = DungeonView;

// Kinds of the codes 0..17 seen looking north, east, south and west: 0 door,
// 1 one-side or hidden wall, 2 open, 3 wall.
constexpr const char* kKindsByFacing[4] = {
    "230133033323331323",
    "230103332333133323",
    "230133303332333123",
    "230130333233313323",
};

TEST_F(Calc, EveryBoundaryCodeAheadFromEveryFacing) {
  for (int facing = 0; facing < 4; ++facing) {
    place(5, 5, facing);
    for (int code = 0; code < 18; ++code) {
      // The parameter above the two low digits does not change the kind.
      side(5, 5, facing) = static_cast<float>(300 + code);
      EXPECT_EQ(evaluate(0), kKindsByFacing[facing][code] - '0')
          << "facing " << facing << ", code " << code;
    }
  }
}

TEST_F(Calc, SideWallsAreSeenLookingSideways) {
  for (int facing = 0; facing < 4; ++facing) {
    place(5, 5, facing);
    const int left = (facing + 3) % 4;
    const int right = (facing + 1) % 4;
    for (int code = 0; code < 18; ++code) {
      side(5, 5, left) = static_cast<float>(code);
      side(5, 5, right) = static_cast<float>(code);
      EXPECT_EQ(evaluate(3), kKindsByFacing[left][code] - '0') << facing << " " << code;
      EXPECT_EQ(evaluate(4), kKindsByFacing[right][code] - '0') << facing << " " << code;
    }
  }
}

TEST_F(Calc, CodeEightIsOpenLookingEastAndAWallLookingWest) {
  side(5, 5, kEast) = 8;
  place(5, 5, kEast);
  EXPECT_EQ(evaluate(0), 2);
  place(5, 5, kNorth);
  EXPECT_EQ(evaluate(4), 2);
  place(6, 5, kWest);
  EXPECT_EQ(evaluate(0), 3);
  place(6, 5, kSouth);
  EXPECT_EQ(evaluate(4), 3);
}

TEST_F(Calc, SlotsReachDeeperSquaresAndTheirNeighbours) {
  place(5, 5, kEast);
  side(6, 4, kEast) = 2;   // depth 1, right neighbour (south of it), ahead
  kind(7, 4) = 6;          // the square beyond it
  side(7, 5, kNorth) = 0;  // depth 2, left side
  kind(7, 6) = 4;
  EXPECT_EQ(evaluate(7), 0);
  EXPECT_EQ(g.View3D(27), 6);
  EXPECT_EQ(evaluate(13), 2);
  EXPECT_EQ(g.View3D(33), 4);
}

TEST_F(Calc, TheViewWrapsAtTheFloorEdges) {
  place(19, 19, kNorth);
  g.FloorMap(19, 0, SouthBoundary) = 2;  // ahead of (19, 19)
  g.FloorMap(0, 19, WestBoundary) = 0;   // east of (19, 19)
  g.FloorMap(19, 1, SouthBoundary) = 0;  // ahead of (19, 0)
  kind(19, 0) = 6;
  kind(19, 1) = 9;
  EXPECT_EQ(evaluate(0), 0);
  EXPECT_EQ(g.View3D(20), 6);
  EXPECT_EQ(evaluate(4), 2);
  EXPECT_EQ(evaluate(5), 2);
  EXPECT_EQ(g.View3D(25), 9);
}

TEST_F(Calc, TheLightLightsDarkSquaresAsFarAsItReaches) {
  for (int y = 6; y < 10; ++y) kind(5, y) = 6;
  g.GameState(LightEffect) = 21;  // strength 2, one row
  EXPECT_EQ((evaluate(4), g.View3D(24)), 0);
  evaluate(0);
  EXPECT_EQ(g.View3D(20), 30);
  evaluate(5);
  EXPECT_EQ(g.View3D(25), 6);
  g.GameState(LightEffect) = 12;  // strength 1 lights nothing
  evaluate(0);
  EXPECT_EQ(g.View3D(20), 6);
}

TEST_F(Calc, TheSecondLightLightsEverySquareFromTwentyThousand) {
  kind(5, 6) = 4;
  kind(5, 8) = 6;
  g.GameState(TimedEffect) = 22040;  // reach 2 rows
  evaluate(0);
  EXPECT_EQ(g.View3D(20), 30);
  evaluate(9);
  EXPECT_EQ(g.View3D(29), 30);
  evaluate(10);
  EXPECT_EQ(g.View3D(30), 6);
  g.GameState(TimedEffect) = 19999;
  evaluate(0);
  EXPECT_EQ(g.View3D(20), 4);
}

TEST_F(Calc, ASlotOutsideTheViewIsAnError) {
  g.SysWord(ViewSlot) = 20;
  EXPECT_EQ(rt::errorCodeOf([&] { CALC(g); }), 9);
}

using View = DungeonView;

TEST_F(View, ADoorAheadHidesEverythingBehindIt) {
  side(5, 5, kNorth) = 2;
  side(5, 6, kNorth) = 1;
  g.RaceTable(0, DarkVision) = 2;
  MAP3D(g);
  EXPECT_EQ(pixel(300, 71), kWhite);  // the wall box
  EXPECT_EQ(pixel(300, 359), kWhite);
  EXPECT_EQ(pixel(224, 200), kWhite);  // the door box
  EXPECT_EQ(pixel(300, 119), kWhite);
  EXPECT_EQ(pixel(416, 358), kWhite);
  EXPECT_EQ(pixel(32, 200), kWhite);  // the side walls
  EXPECT_EQ(pixel(248, 200), kBlack);
  EXPECT_EQ(pixel(300, 143), kBlack);
}

TEST_F(View, ADarkSquareAheadIsAGreyBoxThatHidesWhatIsBehind) {
  openNorth(5, 5, 3);
  kind(5, 6) = 6;
  g.RaceTable(0, DarkVision) = 2;
  MAP3D(g);
  EXPECT_EQ(pixel(177, 72), kGrey);
  EXPECT_EQ(pixel(463, 358), kGrey);
  EXPECT_EQ(pixel(248, 200), kGrey);  // no depth-1 walls through it
  EXPECT_EQ(pixel(300, 71), kBlack);  // no wall box
  EXPECT_EQ(pixel(32, 200), kWhite);
}

TEST_F(View, ADarkSideSquareIsFilledWithinItsOutline) {
  side(5, 5, kWest) = 0;
  kind(4, 5) = 6;
  MAP3D(g);
  EXPECT_EQ(pixel(100, 200), kGrey);
  EXPECT_EQ(pixel(175, 72), kGrey);
  EXPECT_EQ(pixel(33, 22), kGrey);
  EXPECT_EQ(pixel(32, 200), kBlack);  // no wall line
  EXPECT_EQ(pixel(20, 200), kBlack);  // outside the outline
  EXPECT_EQ(pixel(100, 150), kGrey);  // the left front slot is not drawn over it
}

TEST_F(View, WithoutSightOrLightOnlyTwoDepthsAreSeen) {
  openNorth(5, 5, 3);
  MAP3D(g);
  EXPECT_EQ(pixel(248, 200), kWhite);  // depth 1 side wall ends
  EXPECT_EQ(pixel(284, 200), kBlack);  // depth 2 not drawn
  t.con.graphics().clear();
  g.RaceTable(0, DarkVision) = 1;
  MAP3D(g);
  EXPECT_EQ(pixel(284, 200), kWhite);
  EXPECT_EQ(pixel(302, 215), kBlack);  // depth 3 needs sight 2
  t.con.graphics().clear();
  g.RaceTable(0, DarkVision) = 0;
  g.GameState(LightEffect) = 13;  // a light reaching three rows
  MAP3D(g);
  EXPECT_EQ(pixel(302, 215), kWhite);
  EXPECT_EQ(pixel(338, 215), kWhite);
}

TEST_F(View, OnlyTheSightOfAbleMembersCounts) {
  openNorth(5, 5, 3);
  g.GameState(MemberCount) = 2;
  g.GameState(FirstMember + 1) = 2;
  g.CharRec(1, Status) = 20000;
  g.CharRec(1, Identity) = 1000;  // race 1
  g.RaceTable(1, DarkVision) = 2;
  MAP3D(g);
  EXPECT_EQ(pixel(284, 200), kBlack);
  g.CharRec(1, Status) = 1001;  // poisoned but able
  MAP3D(g);
  EXPECT_EQ(pixel(302, 215), kWhite);
}

TEST_F(View, NothingBeyondAWallAheadEvenWhenTheSquaresBehindItAreOpen) {
  openNorth(5, 6, 2);
  g.RaceTable(0, DarkVision) = 2;
  MAP3D(g);
  EXPECT_EQ(pixel(300, 71), kWhite);
  EXPECT_EQ(pixel(302, 215), kBlack);
  EXPECT_EQ(pixel(284, 200), kBlack);
}

TEST_F(View, AOneWayBoundaryIsAnOpeningFromOneSideOnly) {
  side(5, 5, kEast) = 8;
  place(5, 5, kEast);
  MAP3D(g);
  EXPECT_EQ(pixel(300, 71), kBlack);
  EXPECT_EQ(pixel(300, 143), kWhite);
  t.con.graphics().clear();
  place(6, 5, kWest);
  MAP3D(g);
  EXPECT_EQ(pixel(300, 71), kWhite);
  EXPECT_EQ(pixel(300, 143), kBlack);
}

TEST_F(View, TheViewWrapsAroundTheFloor) {
  place(19, 0, kEast);
  g.FloorMap(0, 0, WestBoundary) = 0;
  g.FloorMap(1, 0, WestBoundary) = 2;
  MAP3D(g);
  EXPECT_EQ(pixel(300, 71), kBlack);
  EXPECT_EQ(pixel(300, 143), kWhite);
  EXPECT_EQ(pixel(272, 200), kWhite);  // the door at depth 1
}

TEST_F(View, ALeftFrontWallSeenThroughTheSidePathIsItsOuterHalf) {
  side(5, 5, kWest) = 0;
  side(4, 5, kNorth) = 0;
  side(4, 6, kNorth) = 2;  // a door
  MAP3D(g);
  EXPECT_EQ(pixel(104, 200), kWhite);
  EXPECT_EQ(pixel(150, 143), kWhite);
  EXPECT_EQ(pixel(150, 287), kWhite);
  EXPECT_EQ(pixel(128, 250), kWhite);  // door side
  EXPECT_EQ(pixel(150, 167), kWhite);  // door top
  EXPECT_EQ(pixel(210, 143), kBlack);  // no centre half
  EXPECT_EQ(pixel(200, 167), kBlack);
}

TEST_F(View, ALeftFrontWallSeenThroughTheCentrePathIsItsInnerHalf) {
  openNorth(5, 5, 2);
  side(5, 6, kWest) = 0;
  MAP3D(g);
  EXPECT_EQ(pixel(210, 143), kWhite);
  EXPECT_EQ(pixel(210, 287), kWhite);
  EXPECT_EQ(pixel(248, 143), kWhite);
  EXPECT_EQ(pixel(150, 143), kBlack);
  EXPECT_EQ(pixel(104, 200), kBlack);
}

TEST_F(View, ARightFrontDarkSquareSeenThroughBothPathsIsFilledWhole) {
  openNorth(5, 5, 1);
  side(5, 5, kEast) = 0;
  side(6, 5, kNorth) = 0;
  side(5, 6, kEast) = 0;
  side(6, 6, kNorth) = 0;
  kind(6, 7) = 6;
  MAP3D(g);
  EXPECT_EQ(pixel(400, 200), kGrey);
  EXPECT_EQ(pixel(500, 200), kGrey);
  EXPECT_EQ(pixel(464, 200), kGrey);
  side(5, 5, kEast) = 1;  // now through the centre path only
  t.con.graphics().clear();
  MAP3D(g);
  EXPECT_EQ(pixel(400, 200), kGrey);
  EXPECT_EQ(pixel(464, 200), kWhite);  // the side wall of the party's square
  EXPECT_EQ(pixel(500, 200), kBlack);
}

TEST_F(View, ALightWhoseCasterFellEndsBeforeTheViewIsDrawn) {
  g.GameState(MemberCount) = 2;
  g.GameState(FirstMember + 1) = 4;  // slot 3
  g.CharRec(3, Status) = 20000;
  g.CharRec(0, ArmourModifier) = -2;
  g.CharRec(3, ArmourModifier) = -2;
  g.GameState(LightEffect) = 3023;
  g.GameState(ProtectionEffect) = 3002;
  g.GameState(IdentifyEffect) = 1;  // cast by slot 0, who is able
  MAP3D(g);
  EXPECT_EQ(g.GameState(LightEffect), 0);
  EXPECT_EQ(g.GameState(ProtectionEffect), 0);
  EXPECT_EQ(g.CharRec(0, ArmourModifier), 0);
  EXPECT_EQ(g.CharRec(3, ArmourModifier), 0);
  EXPECT_EQ(g.GameState(IdentifyEffect), 1);
  EXPECT_EQ(row0(), std::string(38, ' ') + "識別");
}

TEST_F(View, AnEffectWordOfZeroIsNoEffectOfSlotZero) {
  g.CharRec(0, Status) = 20000;
  g.GameState(MemberCount) = 2;
  g.GameState(FirstMember + 1) = 2;
  g.CharRec(1, Status) = 1;
  g.CharRec(1, ArmourModifier) = -3;
  MAP3D(g);
  EXPECT_EQ(g.CharRec(1, ArmourModifier), -3);
}

TEST_F(View, TheSecondLightKeepsTheLightLabel) {
  g.GameState(TimedEffect) = 21005;
  g.GameState(LevitationEffect) = 1;
  g.GameState(InvisibilityEffect) = 1;
  MAP3D(g);
  EXPECT_EQ(row0(), std::string(20, ' ') + "照明" + std::string(23, ' ') + "浮遊" +
                        std::string(5, ' ') + "透明");
  EXPECT_EQ(t.con.text().cell(20, 0).fg, 6);
}

TEST_F(View, DisplayModeOneFramesTheMessagesBelowTheView) {
  openNorth(5, 5, 1);
  g.Setting(PartySize) = 6;
  g.SysWord(DisplayMode) = 1;
  MAP3D(g);
  EXPECT_EQ(pixel(62, 286), kYellow);
  EXPECT_EQ(pixel(639, 395), kYellow);
  EXPECT_EQ(pixel(248, 287), kBlack);  // the view is covered inside the frame
  EXPECT_EQ(pixel(248, 250), kWhite);
  g.SysWord(DisplayMode) = 0;
  t.con.graphics().clear();
  MAP3D(g);
  EXPECT_EQ(pixel(62, 286), kBlack);
}

}  // namespace
}  // namespace kestrun::game
