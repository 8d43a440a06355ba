#pragma once

namespace kestrun::game {

struct Game;

// Spell learning for character SysWord(1) at his current level.
void SPK(Game& g);
// Spell-point upkeep for character SysWord(1).
void SPU(Game& g);
// The spells of a new level for character SysWord(1).
void SPM(Game& g);

}  // namespace kestrun::game
