#pragma once

namespace kestrun::game {

struct Game;

// The party panel: one line per member from row SysWord(15) + 1, with the
// battle values recomputed first.
void HYOJI(Game& g);

// The notice shown when the floor file of a destination is missing; the
// caller reads the answer.
void HYOJI4(Game& g);

}  // namespace kestrun::game
