#pragma once

namespace kestrun::game {

struct Game;

// The trap list window: every trap the scenario has, with what it does, until
// a key is pressed.
void WND(Game& g);

}  // namespace kestrun::game
