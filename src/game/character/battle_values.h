#pragma once

namespace kestrun::game {

struct Game;

// Rebuilds every party member's battle row: current stats, armour class,
// the equipped item of each kind, regeneration and the weight penalty.
void CCHEC3(Game& g);

}  // namespace kestrun::game
