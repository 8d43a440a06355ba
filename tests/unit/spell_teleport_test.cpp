#include <gtest/gtest.h>

#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "spell_scene.h"

namespace kestrun::game {
namespace {

// The party on floor 2 at (5, 5) facing north; spell 49 the teleport.
struct Teleport : SpellScene {
  Teleport() { spell(49, 14, 0, 0, 0); }
  void go(const std::string& answers) {
    type(answers);
    cast(49, 0, 0);
  }
};

TEST(Teleport, NothingAtAllForZeroZeroZero) {
  Teleport t;
  t.g.SysWord(Outcome) = 0;
  t.go("0{Enter}0{Enter}0{Enter}");
  EXPECT_EQ(t.g.GameState(FloorAndFacing), 200);
  EXPECT_EQ(t.g.GameState(Square), 505);
  EXPECT_EQ(t.g.SysWord(Outcome), 49);
}

TEST(Teleport, OutOfRangeAnswersAreAskedAgainAndTheSameFloorNeedsNoFile) {
  Teleport t;
  t.go("16{Enter}0{Enter}20{Enter}3{Enter}-4{Enter}");
  EXPECT_EQ(t.g.GameState(Square), 801);
  EXPECT_EQ(t.g.GameState(PreviousSquare), 505);
  EXPECT_EQ(t.g.GameState(FloorAndFacing), 200);
  EXPECT_EQ(t.g.SysWord(Outcome), 1000);
}

TEST(Teleport, OffTheMapOrBelowTheDeepestFloorIsRefused) {
  Teleport t;
  t.go("0{Enter}15{Enter}0{Enter}");
  EXPECT_EQ(t.g.SysWord(Outcome), 8000);
  EXPECT_EQ(t.g.GameState(Square), 505);
  t.go("-4{Enter}0{Enter}0{Enter}");  // floor 6 of 5
  EXPECT_EQ(t.g.SysWord(Outcome), 8000);
  EXPECT_EQ(t.g.GameState(FloorAndFacing), 200);
}

TEST(Teleport, UpToFloorZeroIsTownAndBeyondItTheSky) {
  Teleport t;
  t.go("2{Enter}0{Enter}0{Enter}");
  EXPECT_EQ(t.g.SysWord(Outcome), 2500);
  EXPECT_EQ(t.g.GameState(FloorAndFacing), 0);

  Teleport u;
  u.go("3{Enter}0{Enter}0{Enter}");
  EXPECT_EQ(u.g.SysWord(Outcome), 9000);
  EXPECT_EQ(u.g.GameState(FloorAndFacing), 0);
}

TEST(Teleport, AForbiddenFloorFallsBackToTheFirstOpenOneUpwards) {
  Teleport t;
  t.g.FloorRule(2, RestrictedFloor) = 1;  // floor 3 closed
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) t.g.FloorMap(x, y, SquareLayer) = 1;  // rock
  }
  t.g.FloorMap(7, 7, SquareLayer) = 0;
  t.go("-1{Enter}0{Enter}0{Enter}");
  EXPECT_EQ(t.g.SysWord(Outcome), 2000);
  EXPECT_EQ(t.g.GameState(FloorAndFacing), 200);  // floor 2 is open
  EXPECT_EQ(t.row(16), "移動に失敗した");
  EXPECT_EQ(t.g.GameState(PreviousSquare), 505);
}

TEST(Teleport, AFloorRuleTurnsAwayAPartyWithAMemberOfItsAlignment) {
  Teleport t;
  t.g.FloorRule(1, FloorRuleValue) = 6;  // floor 2: no neutrals
  t.go("0{Enter}1{Enter}0{Enter}");
  EXPECT_EQ(t.g.SysWord(Outcome), 1000);  // all good

  // With floor 1 closed too there is nowhere to fall back to: the party
  // stays where it stood.
  t.g.CharRec(2, Identity) = 200;  // neutral
  t.g.FloorRule(0, RestrictedFloor) = 1;
  t.go("0{Enter}1{Enter}0{Enter}");
  EXPECT_EQ(t.g.SysWord(Outcome), 2000);
  EXPECT_EQ(t.g.GameState(Square), 605);
}

TEST(Teleport, RefusedInBattle) {
  Teleport t;
  t.g.SysWord(Outcome) = 0;
  t.type("1{Enter}0{Enter}0{Enter}");
  t.castInBattle(49, 0, 0);
  EXPECT_EQ(t.g.GameState(FloorAndFacing), 200);
}

TEST(ReturnToTown, ItemsAreLostByChanceAndThePartyIsHome) {
  SpellScene s(2);
  s.spell(9, 14, 100, 0, 0);  // everything carried is lost
  addItem(s.g, 0, 10001);
  addItem(s.g, 0, 10002);
  addItem(s.g, 1, 10003);
  s.castInBattle(9, 0, 0);
  EXPECT_EQ(s.g.SysWord(Outcome), 2500);
  EXPECT_EQ(s.g.GameState(FloorAndFacing), 0);
  // The item that moved up into a lost one's slot is not put at risk again.
  EXPECT_EQ(carriedItemCount(s.g, 0), 1);
  EXPECT_EQ(itemSlot(s.g, 0, 1), 10002);
  EXPECT_EQ(carriedItemCount(s.g, 1), 0);

  SpellScene t(1);
  t.spell(9, 14, 0, 0, 0);
  addItem(t.g, 0, 10001);
  t.cast(9, 0, 0);
  EXPECT_EQ(carriedItemCount(t.g, 0), 1);
  EXPECT_EQ(partySize(t.g), 1);
}

}  // namespace
}  // namespace kestrun::game
