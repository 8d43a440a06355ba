#pragma once

#include <initializer_list>
#include <string>

#include "runtime/numformat.h"

// What every piece of the battle needs: the groups and their monsters, the
// draws, the message lines, and the building of one monster.
namespace kestrun::game {

struct Game;

inline constexpr int kGroupPlaces = 4;
inline constexpr int kMonsterPlaces = 9;

// --- groups and monsters -------------------------------------------------------

// The place holds a group (GroupMonster 0 and up).
bool isGroupInUse(const Game& g, int group);
// The group places in use: the first empty place ends the count.
int groupsInUse(const Game& g);
// The monster number of the group in that place.
int groupMonsterOf(const Game& g, int group);
// The group's name as the party knows it: the true name once identified.
const std::string& shownGroupName(const Game& g, int group);
// Monster `place` of the group has at least one hit point.
bool isMonsterAlive(const Game& g, int group, int place);
// The monster's type (0..14) and level from the monster table.
int monsterTypeOf(const Game& g, int monster);
int monsterLevelOf(const Game& g, int monster);
// The monster is gone from its group without counting as a kill: no hit
// points, the group's count one less (never below 0).
void monsterLeavesGroup(Game& g, int group, int place);

// --- the party ---------------------------------------------------------------------

// The member at marching position `position` (1-based) can act now.
bool memberCanActAt(const Game& g, int position);
// Members of the party able to act (status 1 or 1001, at least 1 hit point).
int membersAbleToAct(const Game& g);
// A current battle stat of the member at `position` (1-based).
double battleStat(const Game& g, int position, int stat);

// The four class skills, by their digit of ClassTable(c, ClassSkills).
enum class Skill { Thief = 1, Magic = 2, Holy = 3, Combat = 4 };
bool classHasSkill(const Game& g, int slot, Skill skill);
// The item's alignment kind (digit 1 of its kind field) allows member c to
// draw on it; kind 0 suits everybody.
bool itemSuitsAlignment(const Game& g, int c, int item);
// The party stands on a mud square (code 17) and is not levitating.
bool partyStandsInMud(const Game& g);

// --- draws -----------------------------------------------------------------------

// RND: a single in (0, 1).
double randomDraw(Game& g);
// One die of `sides` sides: INT(RND x sides + 1).
double dieRoll(Game& g, double sides);
// `count` dice of `sides` sides.
double diceRoll(Game& g, double count, double sides);

// --- messages -------------------------------------------------------------------

// Prints the items one after another from (column, row).
void printItemsAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items);
// The same, followed by the message pause.
void sayAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items);
// Blanks the action area: 56 columns from column 12 of rows `first`..`last`.
void blankActionRows(Game& g, int first = 7, int last = 15);
// `width` blanks from `column` on every row from `first` to `last`.
void blankArea(Game& g, int column, int first, int last, int width);
// The group list's frame filled black.
void clearGroupFrame(Game& g);

// --- the opening's pieces that later turns repeat -----------------------------

// The identification roll for one group: RND x (stat scale x 3) below the
// party's best Knowledge x 2 identifies it.
void rollGroupIdentification(Game& g, int group);
// The group list at rows 1..4: number, shown name, count and the monsters
// able to act.
void drawGroupList(Game& g);

// The spell charges of a monster whose highest spell level is L, as the
// two fields hold them.
struct SpellCharges {
  float first = 0;
  float second = 0;
};
SpellCharges monsterSpellCharges(int highestLevel, bool singlePool);
// Builds monster `place` of the group from the monster table: agility, hit
// points, armour class, resistance and spell charges; its other values are
// left as they are.
void buildMonster(Game& g, int group, int place);

}  // namespace kestrun::game
