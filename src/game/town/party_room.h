#pragma once

namespace kestrun::game {

struct Game;

// Town facility 1: the characters waiting in town and the party, where
// members are added, removed and looked after. Returns to the town menu on
// key 0, or at once when nobody waits and there is no party.
void PartyRoom(Game& g);

}  // namespace kestrun::game
