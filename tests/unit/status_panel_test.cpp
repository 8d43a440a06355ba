#include "game/character/status_panel.h"

#include <gtest/gtest.h>

#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

std::string screenRow(GameFixture& t, int row) {
  return rt::toUtf8(rt::rowText(t.con.text(), row));
}

void setPrice(Game& g, int item, int tenThousands, int units) {
  g.ItemTable(item, ItemPriceHigh) = static_cast<float>(tenThousands);
  g.ItemTable(item, ItemPriceLow) = static_cast<float>(units);
}

TEST(ItemPriceList, PricesEachSlotOnItsOwnRowAndCountsThem) {
  GameFixture t;
  Game& g = t.g;
  g.Setting(ItemSlots) = 8;
  g.Setting(SellPercent) = 50;  // the shop pays half
  g.ItemName(1, 0) = "SWORD";
  g.ItemName(2, 1) = "CROWN?";
  setPrice(g, 1, 0, 1000);
  setPrice(g, 2, 3000, 1);              // 30,000,001: divided before the rate is applied
  g.CharRec(0, FirstItemSlot) = 11001;  // identified and equipped
  g.CharRec(0, FirstItemSlot + 2) = 2;  // slot 3, unidentified; slot 2 is empty
  g.SysWord(ActingSlot) = 0;
  HYOJI2(g);
  EXPECT_EQ(g.SysWord(ListedItems), 2);
  EXPECT_EQ(screenRow(t, 4), "                         1  *SWORD                   500");
  EXPECT_EQ(screenRow(t, 5), "");
  EXPECT_EQ(screenRow(t, 6), "                         3   CROWN?             15000000");
}

TEST(ItemPriceList, CharmLowersWhatTheShopCharges) {
  GameFixture t;
  Game& g = t.g;
  g.Setting(FirstStatUsed + 7) = 1;  // Charm is used
  g.Setting(ItemSlots) = 8;
  g.Setting(IdentifyPercent) = 100;
  g.SysWord(StatScale) = 18;
  g.SysWord(ItemListMode) = 1;           // identifying
  g.CharRec(0, FirstStatPair + 3) = 18;  // Charm 18: ten points off
  g.CharRec(0, FirstItemSlot) = 1;
  setPrice(g, 1, 0, 1000);
  HYOJI2(g);
  EXPECT_EQ(screenRow(t, 4).substr(47), "      900");
}

TEST(PartyPanel, RefreshRewritesHitPointsAndDeathWordsUnlessThePictureIsShown) {
  GameFixture t;
  Game& g = t.g;
  g.StatusName(6) = "死亡"_sj;
  g.GameState(MemberCount) = 2;
  g.GameState(FirstMember) = 1;
  g.GameState(FirstMember + 1) = 2;
  g.CharRec(0, Status) = 1;
  g.CharRec(0, HitPoints) = 35;
  g.CharRec(1, Status) = 20000;
  t.con.LOCATE(55, 16);
  t.con.PRINT("9999");
  g.SysWord(DisplayMode) = 2;
  HYOJI1(g);
  EXPECT_EQ(screenRow(t, 16), std::string(55, ' ') + "9999");

  g.SysWord(DisplayMode) = 0;
  HYOJI1(g);
  EXPECT_EQ(screenRow(t, 16), std::string(55, ' ') + "  35");
  EXPECT_EQ(screenRow(t, 17), std::string(55, ' ') + "   0" + std::string(10, ' ') + "死亡");

  g.SysWord(PanelRow) = 4;
  HYOJI3(g);
  EXPECT_EQ(screenRow(t, 6), std::string(10, ' ') + "2");
  EXPECT_EQ(t.con.text().cell(10, 5).fg, 7);
}

}  // namespace
}  // namespace kestrun::game
