#pragma once

#include "game/dungeon/dungeon_flow.h"

namespace kestrun::game {

struct Game;

// The camp: the party rests, and the player looks at the members and acts
// for them, reorders, disbands or suspends the party, searches for those
// left on the square, reads the spell and trap lists, changes the settings
// and shares the gold. Key 0 goes back to exploring (Flow::Cycle); a party
// disbanded, brought home or lost ends in Flow::Town. Suspending, and Esc
// with the quit question, end the program.
Flow restInCamp(Game& g);

}  // namespace kestrun::game
