#pragma once

#include "game/dungeon/floor_squares.h"

namespace kestrun::game {

struct Game;

// Moving the party: the position words GameState(FloorAndFacing) = floor x
// 100 + facing and GameState(Square) = x x 100 + y (read them with
// partySquare, partyFacing and partyFloor).

void setFacing(Game& g, int facing);
void setSquare(Game& g, Place square);
// The party is on `floor` (keeping its facing); CurrentFloor follows.
void setFloor(Game& g, int floor);
// The position words before a floor change or a jump, restored when the
// destination's floor file is missing.
void rememberPosition(Game& g);

// The party's square: its event code (layer 0 MOD 100), the parameter
// INT(value / 100) of layer 0..3, and the code (MOD 100) of layer 3, which
// marks battle squares.
int squareCode(const Game& g);
int squareParameter(const Game& g, int layer);
int encounterMark(const Game& g);

}  // namespace kestrun::game
