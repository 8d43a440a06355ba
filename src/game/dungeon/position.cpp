#include "game/dungeon/position.h"

#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

namespace {

// The forward step of each facing: north (0, +1), east (+1, 0), south
// (0, -1), west (-1, 0).
constexpr int kStepX[4] = {0, 1, 0, -1};
constexpr int kStepY[4] = {1, 0, -1, 0};

int wrapped(int coordinate) {
  return (coordinate + kFloorSide) % kFloorSide;
}

float floorMapAt(const Game& g, int layer) {
  return g.FloorMap(squareX(g), squareY(g), layer);
}

}  // namespace

int floorOf(const Game& g) {
  return rt::toInt32(rt::INT(g.GameState(FloorAndFacing) / 100));
}

int facingOf(const Game& g) {
  return rt::MOD(g.GameState(FloorAndFacing), 100);
}

int squareX(const Game& g) {
  return rt::toInt32(rt::INT(g.GameState(Square) / 100));
}

int squareY(const Game& g) {
  return rt::MOD(g.GameState(Square), 100);
}

void setFacing(Game& g, int facing) {
  g.GameState(FloorAndFacing) = static_cast<float>(floorOf(g) * 100 + facing);
}

void setSquare(Game& g, int x, int y) {
  g.GameState(Square) = static_cast<float>(x * 100 + y);
}

void setFloor(Game& g, int floor) {
  g.GameState(FloorAndFacing) = static_cast<float>(floor * 100 + facingOf(g));
  g.CurrentFloor = floor;
}

void stepForward(Game& g) {
  const int f = facingOf(g);
  setSquare(g, wrapped(squareX(g) + kStepX[f]), wrapped(squareY(g) + kStepY[f]));
}

void rememberPosition(Game& g) {
  g.GameState(PreviousFloorAndFacing) = g.GameState(FloorAndFacing);
  g.GameState(PreviousSquare) = g.GameState(Square);
}

int squareCode(const Game& g) {
  return rt::MOD(floorMapAt(g, SquareLayer), 100);
}

int squareParameter(const Game& g, int layer) {
  return rt::toInt32(rt::INT(floorMapAt(g, layer) / 100));
}

int encounterMark(const Game& g) {
  return rt::MOD(floorMapAt(g, ExtraLayer), 100);
}

void markSquareSeen(Game& g) {
  const int floor = floorOf(g);
  float& seen = g.AutoMap(squareX(g), squareY(g), (floor - 1) / 5);
  seen = static_cast<float>(withDigit(seen, (floor - 1) % 5, 1));
}

}  // namespace kestrun::game
