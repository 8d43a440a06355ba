#include "game/dungeon/floor_squares.h"

#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

constexpr int kForwardX[4] = {0, 1, 0, -1};
constexpr int kForwardY[4] = {1, 0, -1, 0};

int wrapped(int coordinate) {
  return ((coordinate % kFloorSize) + kFloorSize) % kFloorSize;
}

constexpr int kWestLayer = 1;
constexpr int kSouthLayer = 2;

}  // namespace

Square stepFrom(Square square, int direction, int steps) {
  return {wrapped(square.x + steps * kForwardX[direction]),
          wrapped(square.y + steps * kForwardY[direction])};
}

Square partySquare(const RosterTables& r) {
  const float position = r.GameState(10);
  return {rt::toInt32(rt::INT(position / 100)), rt::MOD(position, 100)};
}

int partyFacing(const RosterTables& r) {
  return rt::MOD(r.GameState(9), 100);
}

int partyFloor(const RosterTables& r) {
  return rt::toInt32(rt::INT(r.GameState(9) / 100));
}

int32_t boundaryCode(const FloorTables& f, Square square, int direction) {
  switch (direction) {
    case North:
      square = stepFrom(square, North);
      [[fallthrough]];
    case South:
      return rt::MOD(f.FloorMap(square.x, square.y, kSouthLayer), 100);
    case East:
      square = stepFrom(square, East);
      [[fallthrough]];
    default:
      return rt::MOD(f.FloorMap(square.x, square.y, kWestLayer), 100);
  }
}

int32_t squareKind(const FloorTables& f, Square square) {
  return rt::MOD(f.FloorMap(square.x, square.y, 0), 100);
}

bool isVisited(const RosterTables& r, int floor, Square square) {
  return digit(r.AutoMap(square.x, square.y, (floor - 1) / 5), (floor - 1) % 5) != 0;
}

void markVisited(RosterTables& r, int floor, Square square) {
  float& word = r.AutoMap(square.x, square.y, (floor - 1) / 5);
  word = static_cast<float>(withDigit(word, (floor - 1) % 5, 1));
}

}  // namespace kestrun::game
