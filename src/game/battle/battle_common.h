#pragma once

#include <initializer_list>

#include "runtime/numformat.h"

// The small pieces every part of the battle shares.
namespace kestrun::game {

struct Game;

inline constexpr int kGroupPlaces = 4;
inline constexpr int kMonsterPlaces = 9;

// Group place `group` holds a group of monsters.
bool groupInUse(const Game& g, int group);
// The group places in use: the first empty place ends the count.
int groupsInUse(const Game& g);
// Monster `index` of group place `group` still has hit points.
bool monsterAlive(const Game& g, int group, int index);

// Knowledge against the stat scale: on success the group's true name is
// known from now on.
void rollGroupIdentification(Game& g, int group);

// The group list at the top of the battle screen: number, name shown, the
// living count and how many of them can act.
void showGroupList(Game& g);

// A battle message at (column, row) in the current colour, then the message
// pause.
void sayAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items);
// The same without the pause.
void printItemsAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items);

// Blanks `width` columns from `column` on every row from `first` to `last`.
void blankBlock(Game& g, int column, int first, int last, int width);

}  // namespace kestrun::game
