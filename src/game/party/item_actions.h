#pragma once

namespace kestrun::game {

struct Game;

// The item actions of the character sheet, for the actor in slot
// SysWord(ActingSlot). Each returns when done or when the player goes back.

// The actor's items at their slot rows (row 9 + slot) from column 24.
void showItemList(Game& g, int actor);
void equipItems(Game& g, int actor);
void discardItem(Game& g, int actor);
void identifyItem(Game& g, int actor);

}  // namespace kestrun::game
