#include "game/battle/fought_room.h"

#include "game/dungeon/floor_squares.h"
#include "game/state/game.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

constexpr int kMonsterSquare = 20;
constexpr int kRoomUnfought = 1;
constexpr int kRoomFought = 2;

int code(float value) {
  return rt::MOD(value, 100);
}

float withCode(float value, int newCode) {
  return static_cast<float>(rt::INT(value / 100) * 100 + newCode);
}

bool isFought(const Game& g, int x, int y) {
  return code(g.FloorMap(x, y, ExtraLayer)) == kRoomFought;
}

// An unfought room square next to a fought one with no wall between.
bool joinsFoughtRoom(const Game& g, int i, int j) {
  if (i > 0 && code(g.FloorMap(i, j, WestBoundary)) == 0 && isFought(g, i - 1, j)) return true;
  if (i < kFloorSize - 1 && code(g.FloorMap(i + 1, j, WestBoundary)) == 0 && isFought(g, i + 1, j))
    return true;
  if (j > 0 && code(g.FloorMap(i, j, SouthBoundary)) == 0 && isFought(g, i, j - 1)) return true;
  return j < kFloorSize - 1 && code(g.FloorMap(i, j + 1, SouthBoundary)) == 0 &&
         isFought(g, i, j + 1);
}

void spreadOverRoom(Game& g) {
  for (bool changed = true; changed;) {
    changed = false;
    for (int i = 0; i < kFloorSize; ++i) {
      for (int j = 0; j < kFloorSize; ++j) {
        float& room = g.FloorMap(i, j, ExtraLayer);
        if (code(room) != kRoomUnfought || !joinsFoughtRoom(g, i, j)) continue;
        room = withCode(room, kRoomFought);
        changed = true;
      }
    }
  }
}

}  // namespace

void clearFoughtRoom(Game& g) {
  const Place at = partySquare(g);
  if (code(g.FloorMap(at.x, at.y, SquareLayer)) == kMonsterSquare) {
    g.FloorMap(at.x, at.y, SquareLayer) = 0;
    for (int layer : {WestBoundary, SouthBoundary}) {
      g.FloorMap(at.x, at.y, layer) = static_cast<float>(code(g.FloorMap(at.x, at.y, layer)));
    }
    g.FloorMap(at.x, at.y, ExtraLayer) = kRoomUnfought;
  }
  float& room = g.FloorMap(at.x, at.y, ExtraLayer);
  if (code(room) != kRoomUnfought) return;
  room = withCode(room, kRoomFought);
  spreadOverRoom(g);
}

}  // namespace kestrun::game
