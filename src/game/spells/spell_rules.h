#pragma once

#include "runtime/random.h"

// The numbers behind the spell effects, apart from the screens and tables
// that use them.
namespace kestrun::game::spell_rules {

// `count` dice of `faces` faces: the sum of INT(RND x faces + 1).
double rollDice(rt::Random& random, double faces, double count);

// Damage that leaves the victim 1..`spare` hit points (a spell whose dice are
// 99 faces): HP - INT(RND x spare + 1), or HP - 1 when that would be below 0.
double nearDeathDamage(rt::Random& random, double hp, double spare);

// The amount a healing spell restores: its dice, or everything missing for
// 99 faces; never more than is missing.
double healingAmount(rt::Random& random, double faces, double count, double hp, double maximum);

// A monster's edge against a party caster's spell: twice the monster's
// level above the caster's, 0..cap.
double monsterLevelEdge(double monsterLevel, double casterLevel, double cap);
// A member's edge against a monster's spell: from the member's level against
// the monster's and his Strength against 10, 0..cap.
double memberLevelEdge(double memberLevel, double monsterLevel, double strength, double cap);

// A chance in `divisor` draws: chance > RND x divisor.
bool beats(rt::Random& random, double chance, double divisor = 100);

// The elements of the damage spells that the elemental resistances meet.
enum class Element { Fire, Cold, Blast, Radiation };

// Damage of an element on a monster: halved (plus one) by its own
// resistance, raised by a fifth against the opposite one; a blast is halved
// only when the monster withstands both fire and cold.
double elementalDamageOnMonster(Element element, double damage, bool fireResistant,
                                bool coldResistant);
// One worn item's effect on an element's damage to its wearer: a fire ward
// takes a third off fire and adds a fifth to cold, a frost ward the other
// way round.
double wornItemOnDamage(Element element, double damage, bool fireWard, bool frostWard);
// A member who resists a monster's damage spell takes two thirds of it.
double resistedDamage(double damage);

// The level-9 digit of a monster's spell points holds 2 at most, the others 9.
int monsterPointDigitCap(int level);

// The age counter a year younger: 365 days off while it is above -31636, so
// that it never falls below -32000.
double youngerAge(double ageCounter);

}  // namespace kestrun::game::spell_rules
