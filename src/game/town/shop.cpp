#include "game/town/shop.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "game/character/carried_items.h"
#include "game/character/levels.h"
#include "game/character/money.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/status_panel.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/facility_screen.h"
#include "game/town/shop_parts.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kShop = 2;
constexpr int kAvailable = 6;
constexpr int kUnavailable = 2;
constexpr int kRefusal = 3;
constexpr int kHeading = 7;
// From this stock on, an item sold back is no longer counted.
constexpr float kStockNotGrowingFrom = 8000;

// What the shop screen offers depends on these counts of the customer's
// items.
struct CarriedCounts {
  int filled = 0;
  int sellable = 0;  // identified and not worn
  int unidentified = 0;
};

CarriedCounts countCarried(const Game& g, int c) {
  CarriedCounts counts;
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const float value = itemSlot(g, c, slot);
    if (itemNumber(value) == 0) continue;
    ++counts.filled;
    if (!isIdentified(value)) {
      ++counts.unidentified;
    } else if (!isWorn(value)) {
      ++counts.sellable;
    }
  }
  return counts;
}

struct ShopOptions {
  bool buy;
  bool sell;
  bool identify;
};

ShopOptions availableOptions(const Game& g, int c, const CarriedCounts& counts) {
  return {counts.filled < itemSlotCount(g) && g.CharLong(c, Gold) >= 1, counts.sellable > 0,
          counts.unidentified > 0};
}

void option(Game& g, int column, bool available, const std::string& text) {
  g.con.COLOR(available ? kAvailable : kUnavailable);
  printAt(g, column, 23, text);
}

void showOptions(Game& g, const ShopOptions& options) {
  if (identificationUsed(g)) {
    option(g, 9, options.buy, "１　買う"_sj);
    option(g, 19, options.sell, "２　売る"_sj);
    option(g, 29, true, "３　金を集める"_sj);
    option(g, 45, options.identify, "４　鑑別する　"_sj);
    g.con.COLOR(kAvailable);
    g.con.PRINT("０　外に出る"_sj);
    return;
  }
  option(g, 15, options.buy, "１　買う"_sj);
  option(g, 25, options.sell, "２　売る"_sj);
  option(g, 35, true, "３　金を集める　０　外に出る"_sj);
}

void drawShopScreen(Game& g, int c, const ShopOptions& options) {
  g.con.CLS();
  g.con.COLOR(6);
  showItemGrid(g, c);
  printAt(g, 15, 21, g.CharName(c) + " は何をしますか ?"_sj);
  showGoldLine(g, c);
  showOptions(g, options);
}

// Waits for the key of an option that can be taken.
int askOption(Game& g, const ShopOptions& options) {
  const int highest = identificationUsed(g) ? 4 : 3;
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    // The key counts by its value, so a key that is not a digit leaves as 0.
    const double key = answerValue(g.KeyAnswer);
    if (key < 0 || key > highest) continue;
    if (key == 1 && !options.buy) continue;
    if (key == 2 && !options.sell) continue;
    if (key == 4 && !options.identify) continue;
    return rt::toInt32(key);
  }
}

// The count of listed items, and "Input  0  - m" on row 23.
void showChoiceRange(Game& g, int column, int count) {
  blankColumns(g, 4, 23, 74);
  printAt(g, column, 23, "Input  0  - ");
  g.con.PRINT(static_cast<int16_t>(count));
}

// The customer's items with the shop's prices for `purpose`; returns how
// many were listed.
int listPricedItems(Game& g, int purpose) {
  g.SysWord(ItemListMode) = static_cast<float>(purpose);
  HYOJI2(g);
  return rt::toInt32(g.SysWord(ListedItems));
}

// The reason the shop will not buy the item in the slot, if it will not.
std::optional<std::string> sellRefusal(const Game& g, float value) {
  if (identificationUsed(g) && !isIdentified(value)) return "鑑別していない"_sj;
  if (isWorn(value)) return "装備している"_sj;
  if (itemPrice(g, itemNumber(value)) == 0) return "その"_sj;
  return std::nullopt;
}

void refuseSale(Game& g, const std::string& reason) {
  g.con.COLOR(kRefusal);
  printAt(g, 15, 21, reason + "アイテムは売れません"_sj + rt::SPACE(4));
  g.con.WAIT(30);
  g.con.COLOR(6);
}

// The slot the customer sells, or nothing when he goes back.
std::optional<int> askItemToSell(Game& g, int c, int count) {
  for (;;) {
    const double answer = askNumber(g, 15, 21, "どのアイテムを売りますか ?   "_sj);
    if (answer == 0) return std::nullopt;
    if (answer < 1 || answer > count) continue;
    const int slot = rt::toInt32(rt::INT(answer));
    if (const auto reason = sellRefusal(g, itemSlot(g, c, slot))) {
      refuseSale(g, *reason);
      continue;
    }
    return slot;
  }
}

void sell(Game& g, int c, int slot) {
  const int item = itemNumber(itemSlot(g, c, slot));
  const float amount = chargedAmount(itemPrice(g, item), pricePercent(g, c, kSelling));
  removeItem(g, c, slot);
  addGold(g, c, amount);
  if (g.ShopStock(item) < kStockNotGrowingFrom) g.ShopStock(item) += 1;
}

void sellItems(Game& g, int c) {
  do {
    g.con.COLOR(kHeading);
    printAt(g, 24, 2, "No    名称　  　　　　　　価格"_sj);
    const int count = listPricedItems(g, kSelling);
    g.con.COLOR(6);
    showChoiceRange(g, 19, count);
    const std::optional<int> slot = askItemToSell(g, c, count);
    if (!slot) return;
    sell(g, c, *slot);
  } while (carriedItemCount(g, c) > 0);
}

// The fee for identifying the slot, or nothing when the shop will not do it.
std::optional<float> identificationFee(const Game& g, int c, float value) {
  if (isIdentified(value)) return std::nullopt;
  const float price = itemPrice(g, itemNumber(value));
  if (price == 0) return std::nullopt;
  const float fee = chargedAmount(price, pricePercent(g, c, kIdentifying));
  if (fee > g.CharLong(c, Gold)) return std::nullopt;
  return fee;
}

// True when an item was identified; false when the customer goes back.
bool identifyOne(Game& g, int c, int count) {
  for (;;) {
    const double answer = askNumber(g, 20, 21, "どのアイテムを鑑別しますか ?    "_sj);
    if (answer == 0) return false;
    if (answer < 1 || answer > count) continue;
    float& value = itemSlot(g, c, rt::toInt32(rt::INT(answer)));
    const std::optional<float> fee = identificationFee(g, c, value);
    if (!fee) continue;
    value += 10000;
    g.CharLong(c, Gold) = rt::toInt32(g.CharLong(c, Gold) - double{*fee});
    return true;
  }
}

void identifyItems(Game& g, int c) {
  for (;;) {
    const int count = listPricedItems(g, kIdentifying);
    g.con.COLOR(kHeading);
    printAt(g, 49, 3, "鑑別料"_sj);
    g.con.COLOR(6);
    printAt(g, 29, 17, "所持金    "_sj);
    g.con.PRINT(g.CharLong(c, Gold));
    showChoiceRange(g, 24, count);
    if (!identifyOne(g, c, count)) return;
  }
}

// The customer's visit, until he leaves with key 0.
void serveCustomer(Game& g, int c) {
  for (;;) {
    const ShopOptions options = availableOptions(g, c, countCarried(g, c));
    drawShopScreen(g, c, options);
    switch (askOption(g, options)) {
      case 0:
        return;
      case 1:
        buyItems(g, c);
        break;
      case 2:
        sellItems(g, c);
        break;
      case 3:
        g.SysWord(ActingSlot) = static_cast<float>(c);
        GTAK(g);
        break;
      case 4:
        identifyItems(g, c);
        break;
    }
  }
}

}  // namespace

void showItemGrid(Game& g, int c) {
  const int slots = itemSlotCount(g);
  // One item per row keeps a one-slot scenario on screen.
  const int perRow = std::max(slots / 2, 1);
  const int firstColumn = slots == 10 ? 1 : 8;
  const int width = slots == 10 ? 14 : 16;
  for (int k = 0; k < slots; ++k) {
    const float value = itemSlot(g, c, k + 1);
    const int item = itemNumber(value);
    if (item == 0) continue;
    const int column = firstColumn + (width + 2) * (k % perRow);
    const int row = 18 + k / perRow;
    const bool known = isIdentified(value) || !identificationUsed(g);
    printAt(g, column, row, rt::LEFT(g.ItemName(item, known ? 0 : 1), width));
    if (equipDigit(value) == 1) printAt(g, column - 1, row, "*");
  }
}

void showGoldLine(Game& g, int c) {
  printAt(g, 57, 21, "所持金  "_sj);
  g.con.PRINT(g.CharLong(c, Gold));
}

void Shop(Game& g) {
  for (;;) {
    const int position = chooseVisitor(g, kShop);
    if (position == 0) return;
    const int c = memberSlot(g, position);
    g.SysWord(ActingSlot) = static_cast<float>(c);
    serveCustomer(g, c);
    if (partySize(g) == 1) return;
  }
}

}  // namespace kestrun::game
