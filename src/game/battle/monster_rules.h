#pragma once

// The numbers behind the monsters' choices and blows, apart from the
// screens that show them.
namespace kestrun::game {

struct Game;

namespace monster_rules {

// A roll of 1..100 against a hit chance: 96..100 always miss, 1..5 always
// hit, otherwise it hits when the roll is not above the chance.
bool rollHits(int roll, double chance);

// The monster's weapon attacks (1..6): digit 2 of its attack field.
int attackCount(const Game& g, int monster);
// Attack k (1..6): its die size, dice and bonus, from the low two digits of
// fields 3k - 2, 3k - 1 and 3k.
struct AttackDice {
  double sides;
  double dice;
  double bonus;
};
AttackDice attackDice(const Game& g, int monster, int k);
// What the monster's weapons are worth against a spell's score: the first
// attack's dice and bonus, times the attacks, times its deadly touches.
double attackValue(const Game& g, int monster);

// Whether the monster's kind of caster knows spell s at all: its effect
// class and its level against the monster's highest level of that kind.
bool knowsMonsterSpell(const Game& g, int monster, int spell);
// What spell s is worth to a monster: area spells three times a single
// target's; 0 for a class it never casts.
double spellScore(const Game& g, int spell);

// Where the charges of spell level L (1..9) sit in a monster's pair of
// charge fields: levels 1..4 in digits 0..3 of the first, 5..8 in digits
// 0..3 of the second, 9 in digit 4 of the second.
struct ChargePlace {
  int field;  // 0 the first field of the pair, 1 the second
  int digit;
};
ChargePlace chargePlace(int level);

// Monster `index` of group place `group` has a charge left for spell s.
bool hasCharge(const Game& g, int group, int index, int spell);
void spendCharge(Game& g, int group, int index, int spell);
// All four charge fields are empty.
bool hasNoCharges(const Game& g, int group, int index);

// A monster's chance to hit: 5 x (its level - the armour term) - penalty.
double hitChance(double monsterLevel, double armourTerm, double penalty);
// A hit's damage against a member of armour class `ac` (as the battle
// panel shows it): armour of 9 or better takes 10 - ac off, never below 0.
double damageAfterArmour(double damage, double ac);
// The breath's damage: its share in percent of the monster's hit points.
double breathDamage(double monsterHitPoints, double percent);

// The next member a group's blows go to: one further, back to 1 past the
// last one `lastPosition` or past the members still standing.
int nextVictimAfter(int victim, int lastPosition, int standing);

// A help call brings no one: the group has lost too many, or its places
// are full, or the draw (RND x 10) is above 6.
bool helpCallFails(double kills, double placesTaken, double draw);

}  // namespace monster_rules
}  // namespace kestrun::game
