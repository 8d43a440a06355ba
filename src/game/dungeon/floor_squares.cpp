#include "game/dungeon/floor_squares.h"

#include "game/state/fields.h"
#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

constexpr int kForwardX[4] = {0, 1, 0, -1};
constexpr int kForwardY[4] = {1, 0, -1, 0};

int wrapped(int coordinate) {
  return ((coordinate % kFloorSize) + kFloorSize) % kFloorSize;
}

}  // namespace

Place stepFrom(Place square, int direction, int steps) {
  return {wrapped(square.x + steps * kForwardX[direction]),
          wrapped(square.y + steps * kForwardY[direction])};
}

Place partySquare(const RosterTables& r) {
  const float position = r.GameState(Square);
  return {rt::toInt32(rt::INT(position / 100)), rt::MOD(position, 100)};
}

int partyFacing(const RosterTables& r) {
  return rt::MOD(r.GameState(FloorAndFacing), 100);
}

int partyFloor(const RosterTables& r) {
  return rt::toInt32(rt::INT(r.GameState(FloorAndFacing) / 100));
}

int32_t boundaryCode(const FloorTables& f, Place square, int direction) {
  switch (direction) {
    case North:
      square = stepFrom(square, North);
      [[fallthrough]];
    case South:
      return rt::MOD(f.FloorMap(square.x, square.y, SouthBoundary), 100);
    case East:
      square = stepFrom(square, East);
      [[fallthrough]];
    default:
      return rt::MOD(f.FloorMap(square.x, square.y, WestBoundary), 100);
  }
}

int32_t squareKind(const FloorTables& f, Place square) {
  return rt::MOD(f.FloorMap(square.x, square.y, SquareLayer), 100);
}

bool isVisited(const RosterTables& r, int floor, Place square) {
  return digit(r.AutoMap(square.x, square.y, (floor - 1) / 5), (floor - 1) % 5) != 0;
}

void markVisited(RosterTables& r, int floor, Place square) {
  float& word = r.AutoMap(square.x, square.y, (floor - 1) / 5);
  word = static_cast<float>(withDigit(word, (floor - 1) % 5, 1));
}

}  // namespace kestrun::game
