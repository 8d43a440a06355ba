#pragma once

namespace kestrun::game {

struct Game;

// Where the charges of spell level L (1..9) sit in a monster's pair of
// charge fields: levels 1..4 in digits 0..3 of the first, 5..8 in digits
// 0..3 of the second, 9 in digit 4 of the second.
struct ChargePlace {
  int field;  // 0 the first field of the pair, 1 the second
  int digit;
};
ChargePlace chargePlace(int level);

// The two charge fields of a monster whose highest spell level is L: in
// the single-pool mode 2 x L x L points in the first; otherwise
// min(9, L - k + 2) charges of each level k.
struct ChargeFields {
  double first = 0;
  double second = 0;
};
ChargeFields startingCharges(int highestLevel, bool singlePool);

// Monster `index` of group place `group` made afresh from its monster's
// row: agility, hit points, armour class, spell resistance and charges of
// both kinds. Its state, sealed abilities and action are left as they were.
void setUpMonster(Game& g, int group, int index);

}  // namespace kestrun::game
