#include "game/dungeon/floor_change.h"

#include "game/character/carried_items.h"
#include "game/character/levels.h"
#include "game/character/party_members.h"
#include "game/dungeon/position.h"
#include "game/state/fields.h"
#include "game/state/floor_load.h"
#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

bool floorTurnsAway(int rule, int alignment) {
  return rule != 0 && alignmentCodeRefuses(rule, alignment);
}

Flow loadFloor(Game& g) {
  FLREAD(g);
  const int rule = rt::toInt32(g.FloorHeader(AlignmentRule));
  for (int p = 1; p <= partySize(g); ++p) {
    if (floorTurnsAway(rule, alignmentOf(g, memberSlot(g, p)))) return returnToTown(g);
  }
  return Flow::Cycle;
}

Flow changeFloor(Game& g, int floor, Place square) {
  rememberPosition(g);
  g.SysWord(EncounterRespite) = 1;
  setFloor(g, floor);
  setSquare(g, square);
  return loadFloor(g);
}

Flow returnToTown(Game& g) {
  KIKAN(g);
  g.CurrentFloor = 0;
  return Flow::Town;
}

}  // namespace kestrun::game
