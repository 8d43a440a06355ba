#include <string_view>

#include "game/character/carried_items.h"
#include "game/character/levels.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/spells/spell_effects.h"
#include "game/state/floor_load.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

// The spells that move the whole party: home to town, and the teleport.
namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kFloorSide = 20;
constexpr int kRock = 1;
constexpr float kTeleported = 1000;
constexpr float kMissedTheSpot = 2000;
constexpr float kWentHome = 2500;
constexpr float kOffTheMap = 8000;
constexpr float kIntoTheSky = 9000;
constexpr int kQuestionRow = 18;

double rnd(Game& g) {
  return g.con.random().RND(1);
}

int currentFloor(const Game& g) {
  return rt::toInt32(rt::INT(g.GameState(FloorAndFacing) / 100));
}

int facing(const Game& g) {
  return rt::MOD(g.GameState(FloorAndFacing), 100);
}

// Asks until the answer lies in low..high, with the range shown below.
int askDistance(Game& g, std::string_view question, std::string_view hint, int low, int high) {
  blankLines(g, kQuestionRow, kQuestionRow + 1);
  g.con.COLOR(7);
  printAt(g, 33, kQuestionRow + 1, std::string(hint));
  for (;;) {
    const double answer = askNumber(g, 19, kQuestionRow, question);
    if (answer >= low && answer <= high) {
      blankLines(g, kQuestionRow, kQuestionRow + 1);
      return rt::toInt32(rt::INT(answer));
    }
  }
}

// The party stands on `floor` (read from its file when it is another one).
void arriveOnFloor(Game& g, int floor) {
  const int from = currentFloor(g);
  g.GameState(PreviousFloorAndFacing) = g.GameState(FloorAndFacing);
  g.GameState(PreviousSquare) = g.GameState(Square);
  g.GameState(FloorAndFacing) = static_cast<float>(facing(g) + floor * 100);
  if (floor == from) return;
  const float layout = g.SysWord(ScreenLayout);
  g.SysWord(ScreenLayout) = 1;
  FLREAD(g);
  g.SysWord(ScreenLayout) = layout;
}

// Any square of the floor, drawn again (almost always) while it is rock.
void landAnywhere(Game& g) {
  for (;;) {
    const int x = rt::toInt32(rt::INT(rnd(g) * kFloorSide));
    const int y = rt::toInt32(rt::INT(rnd(g) * kFloorSide));
    const bool rock = rt::MOD(g.FloorMap(x, y, SquareLayer), 100) == kRock;
    if (!rock || !(rnd(g) * 50 > 1)) {
      g.GameState(Square) = static_cast<float>(x * 100 + y);
      return;
    }
  }
}

// The spell misses its floor: the party comes down on the first open floor
// from the current one upwards.
void missTheSpot(Game& g, const SpellCast& cast) {
  for (int floor = currentFloor(g); floor >= 1; --floor) {
    if (!isFloorOpen(g, floor)) continue;
    arriveOnFloor(g, floor);
    landAnywhere(g);
    break;
  }
  g.SysWord(Outcome) = kMissedTheSpot;
  sayLine(g, cast, {"移動に失敗した"_sj});
}

}  // namespace

bool isFloorOpen(const Game& g, int floor) {
  if (g.FloorRule(floor - 1, RestrictedFloor) == 1) return false;
  const int rule = rt::toInt32(g.FloorRule(floor - 1, FloorRuleValue));
  if (rule == 0) return true;
  for (int p = 1; p <= partySize(g); ++p) {
    if (alignmentCodeRefuses(rule, alignmentOf(g, memberSlot(g, p)))) return false;
  }
  return true;
}

void castReturnToTown(Game& g, const SpellCast& cast) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int slot = memberSlot(g, p);
    // An item that moves up into a lost one's slot is not put at risk again.
    for (int s = 1; s <= itemSlotCount(g); ++s) {
      if (rnd(g) * 100 < cast.scope) removeItem(g, slot, s);
    }
  }
  KIKAN(g);
  g.SysWord(Outcome) = kWentHome;
}

void castTeleport(Game& g, const SpellCast& cast) {
  if (cast.inBattle) return;
  const int up = askDistance(g, "何階上に移動しますか ?  "_sj, "-14  -  15", -14, 15);
  const int east = askDistance(g, "東にどれだけ移動しますか ?  "_sj, "-19  -  19", -19, 19);
  const int north = askDistance(g, "北にどれだけ移動しますか ?  "_sj, "-19  -  19", -19, 19);
  if (up == 0 && east == 0 && north == 0) return;
  const int x = rt::toInt32(rt::INT(g.GameState(Square) / 100)) + east;
  const int y = rt::MOD(g.GameState(Square), 100) + north;
  if (x < 0 || x >= kFloorSide || y < 0 || y >= kFloorSide) {
    g.SysWord(Outcome) = kOffTheMap;
    return;
  }
  const int floor = currentFloor(g) - up;
  if (floor < 1) {
    KIKAN(g);
    g.SysWord(Outcome) = floor < 0 ? kIntoTheSky : kWentHome;
    return;
  }
  if (floor > g.Setting(DeepestFloor)) {
    g.SysWord(Outcome) = kOffTheMap;
    return;
  }
  if (!isFloorOpen(g, floor)) {
    missTheSpot(g, cast);
    return;
  }
  arriveOnFloor(g, floor);
  g.GameState(Square) = static_cast<float>(x * 100 + y);
  g.SysWord(Outcome) = kTeleported;
}

}  // namespace kestrun::game
