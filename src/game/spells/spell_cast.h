#pragma once

namespace kestrun::game {

struct Game;

// Carries out spell SysWord(SpellCode) (+ 100 cast by a member in battle, + 200 by
// a monster) from caster and target SysWord(SpellCasterTarget): a party caster's slot x
// 100 + target slot, or for a monster place x 1000 + group x 100 + target
// position. Leaves in SysWord(Outcome) 1000 after a teleport, 2000 after a
// failed one, 2500 after the return to town, 8000 when a teleport would
// leave the map and 9000 when it would leave the dungeon upwards; any
// other spell leaves it as it was.
void SPL(Game& g);

}  // namespace kestrun::game
