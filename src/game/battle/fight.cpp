#include "game/battle/fight.h"

namespace kestrun::game {

// No monsters are fought yet: an encounter leaves the party and the floor as
// they were.
void FIGHT(Game&) {}

}  // namespace kestrun::game
