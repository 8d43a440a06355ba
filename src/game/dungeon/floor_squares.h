#pragma once

#include <cstdint>

#include "game/state/tables.h"

// Where things are on a dungeon floor: squares, facings and the boundaries
// between squares, as the view, the map and movement all read them.
namespace kestrun::game {

inline constexpr int kFloorSize = 20;

// Facings and directions: 0 north (y + 1), 1 east (x + 1), 2 south, 3 west.
enum Direction : int { North = 0, East = 1, South = 2, West = 3 };

struct Place {
  int x;
  int y;
  bool operator==(const Place&) const = default;
};

inline int turnedLeft(int direction) {
  return (direction + 3) % 4;
}
inline int turnedRight(int direction) {
  return (direction + 1) % 4;
}

// The square `steps` squares away in the direction, wrapping at the floor's
// edges.
Place stepFrom(Place square, int direction, int steps = 1);

// The party's square from GameState(Square) = x x 100 + y, its facing and floor
// from GameState(FloorAndFacing) = floor x 100 + facing.
Place partySquare(const RosterTables& r);
int partyFacing(const RosterTables& r);
int partyFloor(const RosterTables& r);

// The code (MOD 100) of the boundary on one side of a square. Each boundary
// is stored once: the west side of (x, y) is layer 1 of (x, y), its east side
// layer 1 of (x + 1, y); the south side is layer 2 of (x, y), its north side
// layer 2 of (x, y + 1).
int32_t boundaryCode(const FloorTables& f, Place square, int direction);
// The square's kind: layer 0 MOD 100.
int32_t squareKind(const FloorTables& f, Place square);

inline constexpr int32_t kDarkSquare = 6;

// The visited memory: digit (floor - 1) MOD 5 of AutoMap(x, y, INT((floor - 1) / 5)).
bool isVisited(const RosterTables& r, int floor, Place square);
void markVisited(RosterTables& r, int floor, Place square);

}  // namespace kestrun::game
