#pragma once

namespace kestrun::game {

struct Game;

// Writes the whole roster with a fresh key. The new file replaces the old one
// only once it is completely written and synced, so a crash or a full disk
// never loses the saved characters.
void CHWRT(Game& g);

}  // namespace kestrun::game
