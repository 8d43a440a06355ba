#pragma once

namespace kestrun::game {

struct Game;

// The training grounds: create characters, work on the roster, show the
// experience table, delete everyone or start the game anew. Returns to the
// town on 0.
void TRAIN(Game& g);

}  // namespace kestrun::game
