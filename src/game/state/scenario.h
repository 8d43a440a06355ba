#pragma once

namespace kestrun::game {

struct Game;

// Asks for the scenario's letter on the title screen and opens its scenario
// file as file 1. A missing file raises error 63 for the main line's handler.
void askScenario(Game& g);

}  // namespace kestrun::game
