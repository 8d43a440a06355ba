#pragma once

// The pieces of the shop, shared between its screens. The customer is the
// roster slot c (also in SysWord(ActingSlot)).
namespace kestrun::game {

struct Game;

// The customer's items in the grid from row 18, as the shop screen has it.
void showItemGrid(Game& g, int c);
// "所持金  " and the gold at (57, 21).
void showGoldLine(Game& g, int c);

// The buy list with its pages; returns when the player goes back or every
// item slot is filled.
void buyItems(Game& g, int c);

}  // namespace kestrun::game
