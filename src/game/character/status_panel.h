#pragma once

namespace kestrun::game {

struct Game;

// The notice shown when the floor file of a destination is missing; the
// caller reads the answer.
void HYOJI4(Game& g);

}  // namespace kestrun::game
