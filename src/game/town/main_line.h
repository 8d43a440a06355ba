#pragma once

namespace kestrun::game {

struct Game;

// The program's main line: start-up, the title screen with the scenario
// prompt, and the handler that turns a missing scenario into a message.
// Returns only by throwing rt::ProgramEnd.
[[noreturn]] void runMainLine(Game& g);

}  // namespace kestrun::game
