#pragma once

namespace kestrun::game {

struct Game;

// The character sheet of slot SysWord(ActingSlot): clears the screen and draws
// everything about the character; the caller waits for the key. For a party
// member it also stores the armour class in his battle row.
void LOOK(Game& g);

// The item block of the sheet (rows 6..8) for slot SysWord(ActingSlot): the carried
// items, "*" before an equipped one, and the weight line when items weigh.
void IHYJ(Game& g);

}  // namespace kestrun::game
