#include <cstdint>
#include <string>

#include "game/character/carried_items.h"
#include "game/character/message_timing.h"
#include "game/character/money.h"
#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/shop_parts.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kRowsPerPage = 15;
constexpr int kLastItem = 120;
constexpr int kLastType = 7;
// A stock this large never runs out.
constexpr float kUnlimitedStock = 9000;
constexpr int kNextPage = 99;
constexpr int kFirstPage = 88;

// Where a page's listing starts: the item types are walked in order, and
// within a type the item numbers.
struct PageStart {
  int number = 1;
  int type = 0;
  int item = 1;
};

bool isOffered(const Game& g, int item, int type) {
  return itemKind(g, item) == type && g.ShopStock(item) >= 1 && item != g.Setting(QuestItem) &&
         itemPrice(g, item) != 0;
}

void showHeader(Game& g) {
  g.con.COLOR(7);
  printAt(g, 1, 1, "No    名称　  　　　ＴＹＰＥ      価格  装備 ＡＣ 追加能力値 ダメージ"_sj);
  if (g.Setting(ItemWeight) == 1) g.con.PRINT(" 重量"_sj);
  if (g.Setting(WeaponRange) == 1) printAt(g, 76, 1, "射程"_sj);
}

void showDamage(Game& g, int item, int row) {
  const int dice = rt::MOD(g.ItemTable(item, ItemDamage), 100);
  const int sides = rt::MOD(rt::INT(g.ItemTable(item, ItemDamage) / 100), 100);
  const int bonus = rt::MOD(rt::INT(g.ItemTable(item, ItemRegeneration) / 100), 100);
  if (dice == 0 && sides == 0 && bonus == 0) return;
  g.con.LOCATE(62, row);
  g.con.PRINT_USING("##@", {static_cast<int16_t>(dice), std::string("D")});
  g.con.LOCATE(65, row);
  g.con.PRINT_USING(sides > 9 ? "##" : "#", {static_cast<int16_t>(sides)});
  g.con.LOCATE(67, row);
  g.con.PRINT_USING("@##", {std::string("+"), static_cast<int16_t>(bonus)});
}

// What the customer learns of an offered item before buying it.
void showQualities(Game& g, int c, int item, int row) {
  rt::Console& con = g.con;
  if (classMayUse(g, c, item)) printAt(g, 43, row, "可"_sj);
  const int armour = itemArmourChange(g, item);
  if (armour != 0) {
    con.LOCATE(47, row);
    con.PRINT_USING("###", {static_cast<int16_t>(armour)});
  }
  const int statEffect = rt::MOD(g.ItemTable(item, ItemBonus), 100);
  if (statEffect != 50) {
    con.LOCATE(53, row);
    const std::string& stat = g.StatName(rt::MOD(g.ItemTable(item, ItemBonusStat), 10));
    con.PRINT_USING("@###", {stat, static_cast<int16_t>(statEffect - 50)});
  }
  showDamage(g, item, row);
  if (g.Setting(ItemWeight) == 1) {
    con.LOCATE(72, row);
    con.PRINT_USING("##",
                    {static_cast<int16_t>(rt::MOD(g.ItemTable(item, ItemWeightAndBreak), 100))});
  }
  if (g.Setting(WeaponRange) == 1 && itemKind(g, item) == WeaponKind) {
    printAt(g, 77, row, g.ItemTable(item, ItemRegeneration) > 9999 ? "遠"_sj : "近"_sj);
  }
}

void showOffer(Game& g, int c, int listRow, int item) {
  rt::Console& con = g.con;
  const int row = listRow + 1;
  const int type = itemKind(g, item);
  con.COLOR(7);
  con.LOCATE(0, row);
  con.PRINT_USING("###", {static_cast<int16_t>(listRow)});
  con.COLOR(6);
  printAt(g, 4, row, g.ItemName(item, 0));
  printAt(g, 21, row, rt::LEFT(itemKindName(g, type), 10));
  con.LOCATE(31, row);
  con.PRINT_USING("#########", {itemPrice(g, item)});
  showQualities(g, c, item, row);
}

// The page after one whose last row was item `item` of type `type`; past the
// last item of the last type the listing starts over at page 1. A page that
// ends on the last item of an earlier type goes on with the next type (going
// back to page 1 there would keep the later types out of reach).
PageStart followingPage(const PageStart& page, int type, int item) {
  if (item < kLastItem) return {page.number + 1, type, item + 1};
  if (type < kLastType) return {page.number + 1, type + 1, 1};
  return {};
}

// Lists the page in rows 2..16 and ShopPage(1..15); returns where the next
// page starts.
PageStart listPage(Game& g, int c, const PageStart& page) {
  for (int r = 1; r <= kRowsPerPage; ++r) g.ShopPage(r) = 0;
  blankLines(g, 2, 16);
  int listed = 0;
  for (int type = page.type; type <= kLastType; ++type) {
    for (int item = type == page.type ? page.item : 1; item <= kLastItem; ++item) {
      if (!isOffered(g, item, type)) continue;
      ++listed;
      g.ShopPage(listed) = static_cast<float>(item);
      showOffer(g, c, listed, item);
      if (listed == kRowsPerPage) return followingPage(page, type, item);
    }
  }
  return {};
}

std::string askWhatToBuy(Game& g, int c, const PageStart& page) {
  rt::Console& con = g.con;
  con.COLOR(6);
  printAt(g, 6, 23, "９９　次のページを見る　 ８８　最初のページに戻る　 ０　買い物終了"_sj);
  con.COLOR(4);
  printAt(g, 28, 0, "Page ");
  con.PRINT(static_cast<int16_t>(page.number));
  con.COLOR(6);
  blankLines(g, 21, 21);
  showGoldLine(g, c);
  printAt(g, 15, 21, g.CharName(c));
  g.KeyAnswer = con.inputString(" はどれを買いますか ?  "_sj);
  return g.KeyAnswer;
}

enum class Answer { NextPage, FirstPage, Leave, Item, Again };

struct BuyAnswer {
  Answer kind;
  int item = 0;
};

BuyAnswer readAnswer(const Game& g, const std::string& text) {
  const double value = answerValue(text);
  if (text == "N" || text == "n" || value == kNextPage) return {Answer::NextPage};
  if (text == "B" || text == "b" || value == kFirstPage) return {Answer::FirstPage};
  if (value == 0) return {Answer::Leave};
  if (value < 1 || value > kRowsPerPage) return {Answer::Again};
  const int item = rt::toInt32(g.ShopPage(rt::toInt32(rt::INT(value))));
  if (item == 0) return {Answer::Again};
  return {Answer::Item, item};
}

// False when the customer's gold does not reach the price.
bool buy(Game& g, int c, int item) {
  const float price = itemPrice(g, item);
  if (price > g.CharLong(c, Gold)) {
    printAt(g, 15, 21, g.CharName(c) + " の所持金では買えません"_sj);
    TMWAIT(g);
    return false;
  }
  g.CharLong(c, Gold) = rt::toInt32(g.CharLong(c, Gold) - double{price});
  addItem(g, c, kIdentifiedMark + static_cast<float>(item));
  if (g.ShopStock(item) < kUnlimitedStock) g.ShopStock(item) -= 1;
  blankColumns(g, 65, 21, 12);
  printAt(g, 65, 21, g.CharLong(c, Gold));
  showItemGrid(g, c);
  return true;
}

}  // namespace

void buyItems(Game& g, int c) {
  blankColumns(g, 0, 21, 79);
  blankColumns(g, 0, 23, 79);
  showHeader(g);
  PageStart page;
  for (;;) {
    const PageStart next = listPage(g, c, page);
    for (bool relist = false; !relist;) {
      const BuyAnswer answer = readAnswer(g, askWhatToBuy(g, c, page));
      switch (answer.kind) {
        case Answer::Leave:
          return;
        case Answer::NextPage:
          page = next;
          relist = true;
          break;
        case Answer::FirstPage:
          page = PageStart{};
          relist = true;
          break;
        case Answer::Item:
          if (!buy(g, c, answer.item)) break;
          if (carriedItemCount(g, c) == itemSlotCount(g)) return;
          relist = true;
          break;
        case Answer::Again:
          break;
      }
    }
  }
}

}  // namespace kestrun::game
