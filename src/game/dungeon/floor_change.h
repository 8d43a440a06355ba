#pragma once

#include "game/dungeon/dungeon_flow.h"
#include "game/dungeon/floor_squares.h"

namespace kestrun::game {

struct Game;

// Whether the floor's alignment rule (FloorHeader(AlignmentRule), 0 none)
// turns a member of `alignment` (1 good, 2 neutral, 3 evil) away.
bool floorTurnsAway(int rule, int alignment);

// Reads the floor the party is on and applies its alignment rule: a member
// it turns away sends the whole party home. Flow::Cycle, or Flow::Town.
Flow loadFloor(Game& g);

// Takes the party to `square` of `floor` (its facing kept), remembering where
// it was, with one step free of random encounters; then loads the floor.
Flow changeFloor(Game& g, int floor, Place square);

// The party comes home (KIKAN): Flow::Town.
Flow returnToTown(Game& g);

}  // namespace kestrun::game
