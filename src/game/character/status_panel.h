#pragma once

namespace kestrun::game {

struct Game;

// The party panel: one line per member from row SysWord(PanelRow) + 1, with the
// battle values recomputed first.
void HYOJI(Game& g);

// Rewrites the hit points and the death states of the party lines below row
// 15, unless the dungeon picture has the screen (SysWord(DisplayMode) = 2).
void HYOJI1(Game& g);

// The price list of the items of slot SysWord(ActingSlot) for the shop: selling
// (SysWord(ItemListMode) = 0), identifying (1) or uncursing (2). Leaves the number of
// items listed in SysWord(ListedItems).
void HYOJI2(Game& g);

// The position numbers in front of the party lines.
void HYOJI3(Game& g);

// The notice shown when the floor file of a destination is missing; the
// caller reads the answer.
void HYOJI4(Game& g);

}  // namespace kestrun::game
