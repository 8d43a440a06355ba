#include "game/town/shop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/character/carried_items.h"
#include "game/character/money.h"
#include "game/state/game.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

TEST(ShopPercentages, CharmMovesSellingAndFeesOppositeWaysAroundHalfTheScale) {
  GameFixture t;
  Game& g = t.g;
  g.Setting(FirstStatUsed + 7) = 1;
  g.SysWord(StatScale) = 18;
  g.Setting(SellPercent) = 50;
  g.Setting(IdentifyPercent) = 50;
  g.Setting(UncursePercent) = 80;
  auto withCharm = [&g](int charm) {
    g.CharRec(0, FirstStatPair + 3) = static_cast<float>(charm);
    return std::vector<float>{pricePercent(g, 0, kSelling), pricePercent(g, 0, kIdentifying),
                              pricePercent(g, 0, kUncursing)};
  };
  EXPECT_EQ(withCharm(9), (std::vector<float>{50, 50, 80}));
  EXPECT_EQ(withCharm(18), (std::vector<float>{55, 45, 72}));
  EXPECT_EQ(withCharm(0), (std::vector<float>{45, 55, 88}));
  // 1.1 points either way: the selling price and the fee both round down.
  EXPECT_EQ(withCharm(10), (std::vector<float>{50, 49, 79}));

  g.Setting(FirstStatUsed + 7) = 0;  // Charm not used
  EXPECT_EQ(withCharm(18), (std::vector<float>{50, 50, 80}));
}

TEST(ShopPercentages, DearItemsAreDividedBeforeThePercentageIsApplied) {
  // Below 20,000,000 the product comes first; from there on the division,
  // whose rounding loses the last unit here.
  EXPECT_EQ(chargedAmount(19999936, 75), 14999952);
  EXPECT_EQ(chargedAmount(20000008, 75), 15000005);
  EXPECT_EQ(chargedAmount(999, 50), 499);

  GameFixture t;
  t.g.ItemTable(4, ItemPriceHigh) = 12345;  // only the low four digits count
  t.g.ItemTable(4, ItemPriceLow) = 16789;
  EXPECT_EQ(itemPrice(t.g, 4), 23456789);
}

// A party of one (slot 0, Charm at half the scale) in a shop of type-0 items
// priced 10 x their number, each with a stock of 5.
void smallShop(Game& g, int items) {
  g.Setting(ItemSlots) = 4;
  g.Setting(SellPercent) = 50;
  g.Setting(IdentifyPercent) = 50;
  g.SysWord(StatScale) = 18;
  g.GameState(MemberCount) = 1;
  g.GameState(FirstMember) = 1;
  g.CharName(0) = "Ann";
  g.CharRec(0, Status) = 1;
  g.CharRec(0, LevelAndFloor) = 1;
  g.CharLong(0, Gold) = 1000;
  for (int i = 1; i <= items; ++i) {
    g.ItemName(i, 0) = "Item" + std::to_string(i);
    g.ItemTable(i, ItemPriceLow) = static_cast<float>(10 * i);
    g.ItemTable(i, ItemKindAndArmour) = 5000;  // type 0, no armour change
    g.ShopStock(i) = 5;
  }
}

void visit(GameFixture& t, const std::string& keys) {
  t.type(keys);
  EXPECT_THROW(Shop(t.g), rt::ProgramEnd);
}

TEST(ShopStock, UnlimitedFrom9000GrowsOnlyBelow8000AndHidesTheQuestItem) {
  GameFixture t;
  Game& g = t.g;
  smallShop(g, 4);
  g.ShopStock(1) = 9000;
  g.ShopStock(2) = 1;
  g.ShopStock(3) = 0;        // sold out
  g.Setting(QuestItem) = 4;  // the castle's quest item
  visit(t, "12{Enter}1{Enter}2{Enter}");
  EXPECT_EQ(g.CharRec(0, FirstItemSlot), 10002);
  EXPECT_EQ(g.CharRec(0, FirstItemSlot + 1), 10001);
  EXPECT_EQ(g.CharLong(0, Gold), 970);
  EXPECT_EQ(g.ShopStock(1), 9000);
  EXPECT_EQ(g.ShopStock(2), 0);
  EXPECT_EQ(g.ShopPage(1), 1);  // only item 1 is left on the page
  EXPECT_EQ(g.ShopPage(2), 0);

  g.ShopStock(1) = 8000;
  visit(t, "21{Enter}1{Enter}");
  EXPECT_EQ(g.CharRec(0, FirstItemSlot), 0);
  EXPECT_EQ(g.ShopStock(2), 1);
  EXPECT_EQ(g.ShopStock(1), 8000);
  EXPECT_EQ(g.CharLong(0, Gold), 985);
}

TEST(ShopStock, ASaleNeverTakesGoldPastTheCap) {
  GameFixture t;
  Game& g = t.g;
  smallShop(g, 1);
  g.ItemTable(1, ItemPriceLow) = 9000;
  g.CharRec(0, FirstItemSlot) = 10001;
  g.CharLong(0, Gold) = 999999000;
  visit(t, "21{Enter}");
  EXPECT_EQ(g.CharLong(0, Gold), 1000000000);
  EXPECT_EQ(g.CharRec(0, FirstItemSlot), 0);
}

TEST(ShopSelling, RefusesUnidentifiedWornAndWorthlessItems) {
  GameFixture t;
  Game& g = t.g;
  smallShop(g, 3);
  g.ItemTable(3, ItemPriceLow) = 0;
  g.CharRec(0, FirstItemSlot) = 1;          // not identified
  g.CharRec(0, FirstItemSlot + 1) = 11002;  // worn
  g.CharRec(0, FirstItemSlot + 2) = 10003;  // worth nothing
  g.CharRec(0, FirstItemSlot + 3) = 12001;  // cursed on
  visit(t, "21{Enter}2{Enter}3{Enter}4{Enter}");
  EXPECT_EQ(g.CharRec(0, FirstItemSlot), 1);
  EXPECT_EQ(g.CharRec(0, FirstItemSlot + 1), 11002);
  EXPECT_EQ(g.CharRec(0, FirstItemSlot + 2), 10003);
  EXPECT_EQ(g.CharRec(0, FirstItemSlot + 3), 12001);
  EXPECT_EQ(g.CharLong(0, Gold), 1000);
}

TEST(ShopIdentifying, ChargesTheFeeAndRefusesWhatTheGoldDoesNotCover) {
  GameFixture t;
  Game& g = t.g;
  smallShop(g, 3);
  g.CharRec(0, FirstItemSlot) = 1;
  g.CharRec(0, FirstItemSlot + 1) = 3;
  g.ItemTable(3, ItemPriceLow) = 5000;  // fee 2500
  visit(t, "41{Enter}2{Enter}1{Enter}");
  EXPECT_EQ(g.CharRec(0, FirstItemSlot), 10001);
  EXPECT_EQ(g.CharRec(0, FirstItemSlot + 1), 3);
  EXPECT_EQ(g.CharLong(0, Gold), 995);
}

// Only a setting of 1 does without identification, in the shop as in the
// camp: any other value keeps it.
TEST(ShopIdentifying, IsOfferedForEverySettingButOne) {
  GameFixture t;
  Game& g = t.g;
  smallShop(g, 3);
  g.Setting(NoIdentification) = 2;
  g.CharRec(0, FirstItemSlot) = 1;
  g.ItemTable(1, ItemPriceLow) = 100;  // fee 50
  visit(t, "41{Enter}");
  EXPECT_EQ(g.CharRec(0, FirstItemSlot), 10001);
  EXPECT_TRUE(identificationUsed(g));
  g.Setting(NoIdentification) = 1;
  EXPECT_FALSE(identificationUsed(g));
}

std::string rowOf(GameFixture& t, int row) {
  return rt::toUtf8(rt::rowText(t.con.text(), row));
}

TEST(ShopPages, NextPageWrapsToTheFirstAfterTheLastAndBGoesBack) {
  GameFixture t;
  Game& g = t.g;
  smallShop(g, 20);
  g.ItemTable(20, ItemKindAndArmour) = 5001;  // the one item of type 1
  visit(t, "1N{Enter}");
  EXPECT_EQ(g.ShopPage(1), 16);
  EXPECT_EQ(g.ShopPage(5), 20);  // type 1 follows type 0 on the same page
  EXPECT_EQ(g.ShopPage(6), 0);
  EXPECT_EQ(rowOf(t, 0).substr(28), "Page  2");

  visit(t, "1N{Enter}99{Enter}");
  EXPECT_EQ(g.ShopPage(1), 1);
  EXPECT_EQ(g.ShopPage(15), 15);
  EXPECT_EQ(rowOf(t, 0).substr(28), "Page  1");

  visit(t, "1N{Enter}b{Enter}");
  EXPECT_EQ(g.ShopPage(1), 1);
  EXPECT_EQ(rowOf(t, 0).substr(28), "Page  1");
}

TEST(ShopPages, APageEndingOnTheLastItemOfATypeGoesOnWithTheNextType) {
  GameFixture t;
  Game& g = t.g;
  smallShop(g, 0);
  for (int i = 106; i <= 120; ++i) {
    g.ItemTable(i, ItemPriceLow) = 10;
    g.ShopStock(i) = 1;
  }
  g.ItemTable(1, ItemPriceLow) = 10;
  g.ItemTable(1, ItemKindAndArmour) = 2;  // type 2
  g.ShopStock(1) = 1;
  visit(t, "1N{Enter}");
  EXPECT_EQ(g.ShopPage(1), 1);
  EXPECT_EQ(rowOf(t, 0).substr(28), "Page  2");
}

TEST(ShopBuying, FillingTheLastSlotReturnsToTheShopScreenWhereBuyingIsRed) {
  GameFixture t;
  Game& g = t.g;
  smallShop(g, 2);
  g.CharRec(0, FirstItemSlot) = 10001;
  g.CharRec(0, FirstItemSlot + 1) = 10001;
  g.CharLong(0, Gold) = 50;
  // Item 2 costs 20: two fit the purse, and the second fills the slots; the
  // 1 typed after that goes to the shop screen, where it does nothing.
  visit(t, "12{Enter}2{Enter}1");
  EXPECT_EQ(g.CharRec(0, FirstItemSlot + 3), 10002);
  EXPECT_EQ(g.CharLong(0, Gold), 10);
  EXPECT_EQ(g.ShopStock(2), 3);
  EXPECT_EQ(t.con.text().cell(9, 23).fg, 2);  // option 1 in red
  EXPECT_EQ(rowOf(t, 21).find("Ann は何をしますか ?"), 15u);
}

}  // namespace
}  // namespace kestrun::game
