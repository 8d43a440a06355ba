#pragma once

namespace kestrun::game {

struct Game;

// The scenario's rules on two screens: the general settings, then the classes
// with their skills, stat minimums and alignments. Each waits for a key.
void SETUMEI(Game& g);

}  // namespace kestrun::game
