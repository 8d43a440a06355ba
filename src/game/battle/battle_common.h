#pragma once

#include <initializer_list>

#include "runtime/numformat.h"

// Small pieces every part of the battle uses.
namespace kestrun::game {

struct Game;

// The four class skills, by their digit of ClassTable(c, ClassSkills).
enum class Skill { Thief = 1, Magic = 2, Holy = 3, Combat = 4 };
bool classHasSkill(const Game& g, int slot, Skill skill);

// Members of the party able to act (status 1 or 1001, at least 1 hit point).
int membersAbleToAct(const Game& g);

// A current battle stat of the member at `position` (1-based).
double battleStat(const Game& g, int position, int stat);

// The items printed one after another from (column, row), then the message
// pause.
void sayAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items);
// The group list's frame filled black.
void clearGroupFrame(Game& g);
// `width` blanks from `column` on every row from `first` to `last`.
void blankArea(Game& g, int column, int first, int last, int width);

}  // namespace kestrun::game
