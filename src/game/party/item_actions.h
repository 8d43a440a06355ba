#pragma once

#include <string>
#include <string_view>

namespace kestrun::game {

struct Game;

// The item actions of the character sheet, for the actor in slot
// SysWord(ActingSlot). Each returns when done or when the player goes back.

// The actor's items at their slot rows (row 9 + slot) from column 24.
void showItemList(Game& g, int actor);
// The item list with the range of answers ("1 - ", the count, "0 で戻る")
// below it.
void showItemChoice(Game& g, int actor, std::string_view rangeLabel);
// Asks at `column`, row 22 until the answer is a carried item's slot or 0
// (back).
int askItemSlot(Game& g, int actor, int column, std::string_view prompt);
// A refusal in colour 3 at (column, row), then the message pause.
void refuse(Game& g, int column, int row, const std::string& text);
// The item list with the range of answers ("1 - ", the count, "0 で戻る")
// below it.
void showItemChoice(Game& g, int actor, std::string_view rangeLabel);
// Asks at `column`, row 22 until the answer is a carried item's slot or 0
// (back).
int askItemSlot(Game& g, int actor, int column, std::string_view prompt);
// A refusal in colour 3 at (column, row), then the message pause.
void refuse(Game& g, int column, int row, const std::string& text);
// The item's type, ItemTable(i, ItemKindAndArmour) MOD 10.
int itemType(const Game& g, int item);
void equipItems(Game& g, int actor);
void discardItem(Game& g, int actor);
void identifyItem(Game& g, int actor);

}  // namespace kestrun::game
