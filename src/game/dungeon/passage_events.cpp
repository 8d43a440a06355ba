#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/dungeon/dungeon_screen.h"
#include "game/dungeon/floor_change.h"
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

// Where stairs and teleports lead on their floor: (p1, p2).
Place destination(const Game& g) {
  return {squareParameter(g, WestBoundary), squareParameter(g, SouthBoundary)};
}

}  // namespace

bool partyCarries(const Game& g, int item) {
  for (int p = 1; p <= partySize(g); ++p) {
    for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
      if (itemNumber(itemSlot(g, memberSlot(g, p), slot)) == item) return true;
    }
  }
  return false;
}

Flow takeStairs(Game& g, bool up) {
  openMessageWindow(g);
  g.con.COLOR(6);
  const std::string way = up ? "登り"_sj : "下り"_sj;
  printAt(g, 32, 9, way + "階段があります"_sj);
  printAt(g, 26, 11, way + "ますか ?  Hit Y - N Key"_sj);
  YesNoKey(g);
  closeMessageWindow(g);
  refreshView(g);
  if (g.KeyAnswer == "N") return Flow::KeyWait;
  const int floor = partyFloor(g);
  if (up && floor == 1) return returnToTown(g);
  return changeFloor(g, floor + (up ? -1 : 1), destination(g));
}

Flow rideElevator(Game& g) {
  rt::Console& con = g.con;
  const int lowest = squareParameter(g, SquareLayer);
  const int highest = squareParameter(g, WestBoundary);
  openMessageWindow(g);
  con.COLOR(6);
  printAt(g, 33, 8, "エレベーター"_sj);
  printAt(g, 33, 10, static_cast<int16_t>(lowest));
  con.PRINT("階 - "_sj);
  con.PRINT(static_cast<int16_t>(highest));
  con.PRINT("階"_sj);
  double answer = 0;
  do {
    answer = askNumber(g, 29, 12, "どの階へ行きますか ?  "_sj);
  } while (answer < lowest || answer > highest);
  closeMessageWindow(g);
  const int floor = rt::toInt32(rt::INT(answer));
  if (floor == partyFloor(g)) return Flow::KeyWait;
  return changeFloor(g, floor, partySquare(g));
}

Flow teleportParty(Game& g) {
  rememberPosition(g);
  const int floor = squareParameter(g, SquareLayer);
  const Place to = destination(g);
  if (floor == partyFloor(g)) {
    setSquare(g, to);
    refreshView(g);
    return Flow::Cycle;
  }
  if (floor == 0) return returnToTown(g);
  return changeFloor(g, floor, to);
}

}  // namespace kestrun::game
