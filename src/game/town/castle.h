#pragma once

namespace kestrun::game {

struct Game;

// The castle: the lord takes the quest item and rewards the party, and
// judges levels one member at a time: hit points, stat changes and the new
// level's spells.
void Castle(Game& g);

}  // namespace kestrun::game
