#include "game/character/carried_items.h"

#include <gtest/gtest.h>

#include "game_fixture.h"

namespace kestrun::game {
namespace {

TEST(CarriedItems, AddingFillsTheFirstFreeSlotAndRemovingClosesTheGap) {
  GameFixture t;
  Game& g = t.g;
  g.Setting(ItemSlots) = 3;
  EXPECT_TRUE(addItem(g, 0, 10005));
  EXPECT_TRUE(addItem(g, 0, 6));
  EXPECT_TRUE(addItem(g, 0, 11007));
  EXPECT_FALSE(addItem(g, 0, 8));
  EXPECT_FALSE(hasRoomForItem(g, 0));
  removeItem(g, 0, 1);
  EXPECT_EQ(itemSlot(g, 0, 1), 6);
  EXPECT_EQ(itemSlot(g, 0, 2), 11007);
  EXPECT_EQ(itemSlot(g, 0, 3), 0);
  EXPECT_EQ(carriedItemCount(g, 0), 2);
  EXPECT_EQ(g.CharRec(0, FirstItemSlot + 3), 0);  // the slot after the last is not touched
}

TEST(CarriedItems, ClassDigitsAndAlignmentCodesDecideWhoMayUseAnItem) {
  GameFixture t;
  Game& g = t.g;
  g.Setting(AlignmentsUsed) = 1;
  g.CharRec(0, Identity) = 107;             // good, class 7
  g.CharRec(1, Identity) = 307;             // evil, class 7
  g.ItemTable(1, FirstClassBar + 1) = 100;  // class 7 reads digit 2 of field 2: refused
  EXPECT_FALSE(canUseItem(g, 0, 1));
  g.ItemTable(1, FirstClassBar + 1) = 10;
  EXPECT_TRUE(canUseItem(g, 0, 1));

  g.ItemTable(1, ItemKindAndArmour) = 5040;  // alignment code 4 refuses evil only
  EXPECT_TRUE(canUseItem(g, 0, 1));
  EXPECT_FALSE(canUseItem(g, 1, 1));
  g.ItemTable(1, ItemKindAndArmour) = 15040;  // a cursed item suits everyone
  EXPECT_TRUE(canUseItem(g, 1, 1));
  g.ItemTable(1, ItemKindAndArmour) = 5040;
  g.Setting(AlignmentsUsed) = 0;  // no alignments in this scenario
  EXPECT_TRUE(canUseItem(g, 1, 1));
}

}  // namespace
}  // namespace kestrun::game
