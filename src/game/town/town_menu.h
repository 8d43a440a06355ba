#pragma once

namespace kestrun::game {

struct Game;

// The town menu: the facilities, the training grounds, the dungeon, the
// settings view and the end of the program. Returns only by ending the
// program (key 0 saves first).
[[noreturn]] void TownMenu(Game& g);

}  // namespace kestrun::game
