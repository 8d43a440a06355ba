#pragma once

#include <initializer_list>

#include "runtime/numformat.h"

// Small pieces every part of the battle uses.
namespace kestrun::game {

struct Game;

inline constexpr int kGroupPlaces = 4;
inline constexpr int kMonsterPlaces = 9;

// The four class skills, by their digit of ClassTable(c, ClassSkills).
enum class Skill { Thief = 1, Magic = 2, Holy = 3, Combat = 4 };
bool classHasSkill(const Game& g, int slot, Skill skill);

// Members of the party able to act (status 1 or 1001, at least 1 hit point).
int membersAbleToAct(const Game& g);

// A current battle stat of the member at `position` (1-based).
double battleStat(const Game& g, int position, int stat);

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

// The items printed one after another from (column, row), then the message
// pause.
void sayAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items);
// The same without the pause.
void printItemsAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items);
// The group list's frame filled black.
void clearGroupFrame(Game& g);
// `width` blanks from `column` on every row from `first` to `last`.
void blankArea(Game& g, int column, int first, int last, int width);

}  // namespace kestrun::game
