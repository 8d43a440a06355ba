#pragma once

namespace kestrun::game {

struct Game;

// Town facility 2: one member at a time buys from the stock, sells back,
// pools the party's gold or has items identified. Returns to the town menu
// when the player leaves.
void Shop(Game& g);

}  // namespace kestrun::game
