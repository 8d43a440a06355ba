#pragma once

namespace kestrun::game {

struct Game;

// The actions of the character sheet that raise spells, for the actor in
// slot SysWord(ActingSlot), outside battle: casting one of his spells, using an item
// that casts one, and an item's special power (a miracle). Each returns
// when done or when the player goes back; SysWord(Outcome) then tells the camp
// where the party ended (8000 in rock, 9000 thrown into the sky).
void castSpell(Game& g, int actor);
void useItem(Game& g, int actor);
void useItemPower(Game& g, int actor);

// After such an action the sheet cannot go on: the party has left the
// dungeon, ended in rock or the sky, or the actor is no longer with it.
bool partyHasMoved(const Game& g, int actor, bool wasInDungeon);

}  // namespace kestrun::game
