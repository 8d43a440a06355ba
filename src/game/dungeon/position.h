#pragma once

namespace kestrun::game {

struct Game;

// Where the party stands in the dungeon: GameState(FloorAndFacing) = floor x
// 100 + facing (0 north, 1 east, 2 south, 3 west) and GameState(Square) = x x
// 100 + y. Both coordinates run 0..19 and wrap around the floor's edges.

inline constexpr int kFloorSide = 20;

int floorOf(const Game& g);
int facingOf(const Game& g);
int squareX(const Game& g);
int squareY(const Game& g);

void setFacing(Game& g, int facing);
void setSquare(Game& g, int x, int y);
// The party is on `floor` (keeping its facing); CurrentFloor follows.
void setFloor(Game& g, int floor);
// One square in the facing direction, wrapping at the edges.
void stepForward(Game& g);
// The position words before a floor change or a jump, restored when the
// destination's floor file is missing.
void rememberPosition(Game& g);

// The party's square: its event code (layer 0 MOD 100) and the parameter
// INT(value / 100) of layer 0..3.
int squareCode(const Game& g);
int squareParameter(const Game& g, int layer);
// The code (MOD 100) of layer 3, which marks battle squares.
int encounterMark(const Game& g);

// Marks the party's square as seen in AutoMap: digit (floor - 1) MOD 5 of
// element (x, y, INT((floor - 1) / 5)).
void markSquareSeen(Game& g);

}  // namespace kestrun::game
