#include "game/character/carried_items.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/dungeon/dungeon_screen.h"
#include "game/dungeon/encounter.h"
#include "game/dungeon/position.h"
#include "game/dungeon/square_event_parts.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/program_end.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr float kIdentified = 10000;

// The first member in marching order with a free slot, or -1.
int firstWithRoom(const Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (hasRoomForItem(g, memberSlot(g, p))) return memberSlot(g, p);
  }
  return -1;
}

// "何かがあります" and whether to search (the two squares word the question
// with a different number of blanks).
void askToSearch(Game& g, const std::string& question) {
  openMessageWindow(g);
  g.con.COLOR(6);
  printAt(g, 32, 9, "何かがあります"_sj);
  printAt(g, 26, 11, question);
  YesNoKey(g);
}

void refuseSale(Game& g, const std::string& reason) {
  g.con.COLOR(3);
  printAt(g, 30, 12, reason);
  TMWAIT(g);
  g.con.COLOR(6);
}

void sell(Game& g, int c, int item, int price) {
  if (g.CharLong(c, Gold) < price) {
    refuseSale(g, "所持金が足りません      "_sj);
  } else if (!hasRoomForItem(g, c)) {
    refuseSale(g, "これ以上持てません      "_sj);
  } else {
    receiveItem(g, c, item);
    g.CharLong(c, Gold) -= price;
  }
}

// The offering's slot, listed with the member's items; 0 when he keeps
// them all.
int chooseOffering(Game& g, int c) {
  rt::Console& con = g.con;
  blankLines(g, 4, 23);
  const int count = carriedItemCount(g, c);
  for (int slot = 1; slot <= count; ++slot) {
    const float value = itemSlot(g, c, slot);
    const bool known = isIdentified(value) || g.Setting(NoIdentification) == 1;
    con.COLOR(7);
    con.LOCATE(27, 3 + slot);
    con.PRINT_USING("##", {static_cast<int16_t>(slot)});
    con.COLOR(6);
    printAt(g, 32, 3 + slot, g.ItemName(itemNumber(value), known ? 0 : 1));
  }
  printAt(g, 29, 19, "0  - "_sj);
  con.PRINT(static_cast<int16_t>(count));
  con.PRINT("  (0   戻る)"_sj);
  printAt(g, 27, 15, g.CharName(c) + " は"_sj);
  for (;;) {
    const double answer = askNumber(g, 25, 17, "どのアイテムを捧げますか ?  "_sj);
    if (answer >= 0 && answer <= count) return rt::toInt32(rt::INT(answer));
  }
}

void offer(Game& g, int c, int slot) {
  float& value = itemSlot(g, c, slot);
  if (itemNumber(value) != squareParameter(g, WestBoundary)) {
    removeItem(g, c, slot);
    return;
  }
  value = static_cast<float>(squareParameter(g, SouthBoundary));
  closeMessageWindow(g);
  openMessageWindow(g);
  printAt(g, 34, 9, g.CharName(c) + " は"_sj);
  printAt(g, 32, 11, "何かを得た"_sj);
  TMWAIT(g);
}

}  // namespace

void receiveItem(Game& g, int c, int item) {
  const bool known = g.Setting(NoIdentification) == 1;
  addItem(g, c, static_cast<float>(item) + (known ? kIdentified : 0));
  closeMessageWindow(g);
  openMessageWindow(g);
  g.con.COLOR(6);
  printAt(g, 32, 9, g.CharName(c) + " は"_sj);
  printAt(g, 30, 11, "何かを手にいれた"_sj);
  TMWAIT(g);
}

int askMember(Game& g, int column, int row, const std::string& prompt) {
  for (;;) {
    const double answer = askNumber(g, column, row, prompt);
    if (answer >= 0 && answer <= partySize(g)) return rt::toInt32(rt::INT(answer));
  }
}

void showMemberRange(Game& g, int column, int row, const std::string& lead,
                     const std::string& tail) {
  printAt(g, column, row, lead);
  g.con.PRINT(static_cast<int16_t>(partySize(g)));
  g.con.PRINT(tail);
}

Flow searchHiddenItem(Game& g) {
  askToSearch(g, "探しますか ?  Hit Y - N Key"_sj);
  if (g.KeyAnswer == "Y") {
    // Nobody with a free slot: the item stays for another time.
    if (const int c = firstWithRoom(g); c >= 0) {
      receiveItem(g, c, squareParameter(g, SquareLayer));
      const Place here = partySquare(g);
      g.FloorMap(here.x, here.y, SquareLayer) = 0;
    }
  }
  closeMessageWindow(g);
  return Flow::KeyWait;
}

Flow visitVendor(Game& g) {
  const int price = squareParameter(g, WestBoundary) * 10000 +
                    squareParameter(g, SouthBoundary) * 100 + squareParameter(g, ExtraLayer);
  openMessageWindow(g);
  g.con.COLOR(6);
  printAt(g, 30, 8, "何かを売っている"_sj);
  printAt(g, 32, 9, "代金 "_sj);
  g.con.PRINT(static_cast<float>(price));
  showMemberRange(g, 30, 12, "0 -", "  ( 0　買わない )"_sj);
  if (const int buyer = askMember(g, 29, 11, "だれが買いますか ?  "_sj); buyer > 0) {
    sell(g, memberSlot(g, buyer), squareParameter(g, SquareLayer), price);
  }
  closeMessageWindow(g);
  return Flow::KeyWait;
}

Flow visitAltar(Game& g) {
  openMessageWindow(g);
  g.con.COLOR(6);
  printAt(g, 34, 8, "祭壇があります"_sj);
  showMemberRange(g, 30, 12, "0 -", "  ( 0　奉納しない)"_sj);
  const int giver = askMember(g, 29, 10, "だれが奉納しますか ?  "_sj);
  if (giver == 0) {
    closeMessageWindow(g);
    return Flow::KeyWait;
  }
  const int c = memberSlot(g, giver);
  if (const int slot = chooseOffering(g, c); slot > 0) offer(g, c, slot);
  // The item list covered the view: the screen is built again.
  g.con.CLS();
  refreshView(g);
  return Flow::KeyWait;
}

Flow searchForGuardian(Game& g) {
  askToSearch(g, "探しますか ?   Hit Y - N Key"_sj);
  closeMessageWindow(g);
  refreshView(g);
  if (g.KeyAnswer == "Y") return encounterBattle(g, kGuardianEncounter);
  return Flow::KeyWait;
}

}  // namespace kestrun::game
