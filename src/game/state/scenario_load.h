#pragma once

namespace kestrun::game {

struct Game;

// Asks for the scenario's letter on the title screen, reads its scenario and
// roster files, checks the roster and derives the values the game needs.
// Returns false when the roster is refused (after its message); a missing
// file raises error 63 for the main line's handler.
bool LoadScenario(Game& g);

// "   ＤＡＴＡが違います" and the message pause: the roster is not used.
void refuseRoster(Game& g);

// The fixes and values worked out once both files are in memory.
void deriveScenarioValues(Game& g);

}  // namespace kestrun::game
