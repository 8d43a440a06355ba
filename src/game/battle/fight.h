#pragma once

namespace kestrun::game {

struct Game;

// The battle, from the encounter to the treasure. SysWord(EncounterSource)
// says how the monsters came (1 random, 2 random on a marked square, 3 a
// battle square, 4 a guardian); the result is left in SysWord(Outcome).
// When a victory's chest calls monsters (endBattle leaves
// SysWord(BattleChain) = 1 and returns at once), the next battle opens on
// the same screen.
void FIGHT(Game& g);

}  // namespace kestrun::game
