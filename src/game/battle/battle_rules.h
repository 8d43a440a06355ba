#pragma once

#include <vector>

// The numbers of the party's side of a battle, apart from the screens:
// slaying and protecting items, attacks, hits, damage, critical hits,
// running and dispelling.
namespace kestrun::game {

struct Game;
struct ScenarioTables;

// The item's digit for monster type `type`: types 0..12 in the slaying
// fields, 13 and 14 in the damage and price fields, none above. The same
// digit doubles a weapon's damage and keeps the party from being surprised.
bool itemMarksType(const ScenarioTables& s, int item, int type);

// How many times a member strikes: one more every `step` levels (5 when
// the setting is 0; ten times that without the combat skill), at least the
// sum of his items' positive attack bonuses, at most the cap (10 when the
// setting is 0), then less his items' negative bonuses, at least 1.
struct AttackBonuses {
  int positive = 0;
  int negative = 0;
};
int attackCount(int level, bool combatSkill, double stepSetting, double capSetting,
                AttackBonuses bonuses);
// The attack bonuses of the member at battle row `row`: his item of a kind
// above 6 and his equipped items.
AttackBonuses attackBonusesOf(const Game& g, int row);

// The penalty on the hit chance: 20 in mud, 5 less with the combat skill,
// 20 less against a disabled target.
double fightPenalty(bool inMud, bool combatSkill, bool targetDisabled);
// The hit chance in percent.
double hitChance(double level, double armourClass, double strength, double hitBonus,
                 double penalty);
// A roll of 1..100: above 95 always misses, below 6 always hits.
bool rollHits(double roll, double chance);
// The monster's armour class as a member's blow meets it.
double monsterArmourForBlows(const Game& g, int group, int place);
// Armour of value 69 or less (armour class + 70) takes its part off a hit.
double damageThroughArmour(double damage, double armourValue);

// The critical-hit base chance B = 5 + INT(level / 20); a test succeeds when
// (B x F) / 2 >= the draw (RND x 100).
bool criticalSucceeds(int level, int factor, double draw);

// One member's try to get the party away; `draws` are the two draws of
// RND x (stat scale + 2).
bool memberGetsAway(double agility, int mudPenalty, double topLuck, double agilityDraw,
                    double luckDraw);

// The dispeller's chance against a monster of `monsterLevel`: it is
// destroyed unless the value is below the draw (RND x 100).
double dispelValue(int level, int monsterLevel, double faith, double statScale);

// The party's best level, Knowledge and Luck, whatever each member's state.
void takePartyBest(Game& g);

}  // namespace kestrun::game
