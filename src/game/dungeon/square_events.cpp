#include "game/dungeon/square_events.h"

#include "game/character/screen_lines.h"
#include "game/dungeon/dungeon_screen.h"
#include "game/dungeon/encounter.h"
#include "game/dungeon/position.h"
#include "game/dungeon/square_event_parts.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

// The facings of each direction set, one bit per facing (north = bit 0).
constexpr int kDirectionSets[15] = {0b1111, 0b0001, 0b0010, 0b0100, 0b1000, 0b0011, 0b0110, 0b1100,
                                    0b1001, 0b0101, 0b1010, 0b0111, 0b1110, 0b1101, 0b1011};

bool floating(const Game& g) {
  return g.GameState(LevitationEffect) != 0;
}

bool spins(const Game& g, int code) {
  return code == square::Spinner && g.StepTaken == 1 && !floating(g);
}

void spin(Game& g) {
  const int turn = rt::toInt32(rt::INT(g.con.random().RND() * 4));
  setFacing(g, (partyFacing(g) + turn) % 4);
}

// Mud is only a message; any other square blanks its place.
bool showMud(Game& g, int code) {
  const bool mud = code == square::Mud && !floating(g);
  printAt(g, 36, 10, mud ? "泥沼だ !"_sj : rt::SPACE(9));
  return mud;
}

bool teleportsAfterStep(const Game& g, int code) {
  const bool key = partyCarries(g, squareParameter(g, ExtraLayer));
  switch (code) {
    case square::Teleport:
      return true;
    case square::TeleportUnlessFloating:
      return !floating(g);
    case square::TeleportUnlessKey:
      return !key;
    case square::TeleportIfKey:
      return key;
    default:
      return false;
  }
}

bool facesThisSquare(const Game& g) {
  return facesDirectionSet(squareParameter(g, WestBoundary), partyFacing(g));
}

// Messages, the riddle and pictures, with or without a step.
Flow lookedAtEvent(Game& g, int code) {
  switch (code) {
    case square::Message:
      return facesThisSquare(g) ? showFloorMessage(g) : Flow::Quiet;
    case square::Riddle:
      return askRiddle(g);
    case square::MessageFile:
      return facesThisSquare(g) ? showMessageFile(g) : Flow::Quiet;
    case square::Picture:
      return facesThisSquare(g) ? showSquarePicture(g) : Flow::Quiet;
    default:
      return Flow::Quiet;
  }
}

// The guardian of code 23 fights until the battle has set this floor's flag.
bool floorGuardianBeaten(const Game& g) {
  return digit(g.CharRec(partyFloor(g) - 1, FirstStatPair), 4) != 0;
}

Flow guardianUnless(Game& g, bool spared) {
  return spared ? Flow::Quiet : encounterBattle(g, kGuardianEncounter);
}

// The square's own event after a step.
Flow steppedOnEvent(Game& g, int code) {
  const bool key = partyCarries(g, squareParameter(g, ExtraLayer));
  switch (code) {
    case square::Rock:
      return partyLost(g, Catastrophe::InRock);
    case square::Elevator:
      return rideElevator(g);
    case square::Pit:
    case square::PoisonPool:
      return floating(g) ? Flow::Quiet : springTrap(g, code);
    case square::Rockfall:
    case square::PoisonMist:
      return springTrap(g, code);
    case square::NoSpells:
      if (squareParameter(g, SquareLayer) == 0) g.FloorHeader(SpellsBlocked) = 1;
      return Flow::Quiet;
    case square::StairsUp:
    case square::StairsDown:
      return takeStairs(g, code == square::StairsUp);
    case square::HiddenItem:
      return searchHiddenItem(g);
    case square::Altar:
      return visitAltar(g);
    case square::Fountain:
      return drinkFromFountain(g);
    case square::Search:
      return searchForGuardian(g);
    case square::Guardian:
    case square::GuardianToo:
      return encounterBattle(g, kGuardianEncounter);
    case square::Battle:
      return encounterBattle(g, kBattleSquareEncounter);
    case square::FloorGuardian:
      return guardianUnless(g, floorGuardianBeaten(g));
    case square::Vendor:
      return visitVendor(g);
    case square::GuardianUnlessKey:
      return guardianUnless(g, key);
    case square::GuardianIfKey:
      return guardianUnless(g, !key);
    default:
      return Flow::Quiet;
  }
}

Flow encounterChecks(Game& g) {
  if (g.SysWord(EncounterRespite) > 0) return Flow::Quiet;
  const int mark = encounterMark(g);
  if (mark == 1) return encounterBattle(g, kBattleSquareEncounter);
  const double draw = g.con.random().RND() * (510 - 10.0 * partyFloor(g));
  if (draw >= g.Setting(EncounterChance)) return Flow::Quiet;
  return encounterBattle(g, mark > 1 ? kMarkedSquareEncounter : kRandomEncounter);
}

}  // namespace

bool facesDirectionSet(int set, int facing) {
  if (set < 0 || set > 14) return false;
  return (kDirectionSets[set] >> facing & 1) != 0;
}

Flow runSquareEvents(Game& g) {
  const int code = squareCode(g);
  bool happened = false;
  if (spins(g, code)) {
    spin(g);
    happened = true;
  }
  happened = showMud(g, code) || happened;
  if (g.StepTaken == 1 && teleportsAfterStep(g, code)) {
    g.StepTaken = 0;
    return teleportParty(g);
  }
  refreshView(g);
  Flow flow = lookedAtEvent(g, code);
  if (flow != Flow::Quiet && flow != Flow::KeyWait) return flow;
  happened = happened || flow == Flow::KeyWait;
  if (g.StepTaken == 1) {
    g.StepTaken = 0;
    flow = steppedOnEvent(g, code);
    if (flow == Flow::Quiet) flow = encounterChecks(g);
  }
  return flow == Flow::Quiet && happened ? Flow::KeyWait : flow;
}

}  // namespace kestrun::game
