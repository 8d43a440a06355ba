#pragma once

namespace kestrun::game {

struct Game;

// The town menu: the facilities, the training grounds, the dungeon, the
// settings view and the end of the program (key 0 saves first). Returns
// when the game goes back to the title screen: a first floor the party
// cannot enter refuses the roster.
void TownMenu(Game& g);

}  // namespace kestrun::game
