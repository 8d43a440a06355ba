#include "game/dungeon/position.h"

#include "game/state/fields.h"
#include "game/state/game.h"

namespace kestrun::game {

namespace {

float floorMapAt(const Game& g, int layer) {
  const Place s = partySquare(g);
  return g.FloorMap(s.x, s.y, layer);
}

}  // namespace

void setFacing(Game& g, int facing) {
  g.GameState(FloorAndFacing) = static_cast<float>(partyFloor(g) * 100 + facing);
}

void setSquare(Game& g, Place square) {
  g.GameState(Square) = static_cast<float>(square.x * 100 + square.y);
}

void setFloor(Game& g, int floor) {
  g.GameState(FloorAndFacing) = static_cast<float>(floor * 100 + partyFacing(g));
  g.CurrentFloor = floor;
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

}  // namespace kestrun::game
