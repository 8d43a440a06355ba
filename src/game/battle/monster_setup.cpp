#include "game/battle/monster_setup.h"

#include <algorithm>

#include "game/spells/learning.h"
#include "game/spells/spell_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

constexpr int kHighLevels = 5;

// INT(MonsterTable(m, f) / 100) MOD `modulus`.
double part(const Game& g, int monster, int field, int modulus) {
  return rt::MOD(rt::INT(g.MonsterTable(monster, field) / 100), modulus);
}

double placeValue(int digitIndex) {
  double v = 1;
  for (int k = 0; k < digitIndex; ++k) v *= 10;
  return v;
}

}  // namespace

ChargePlace chargePlace(int level) {
  if (level <= 4) return {0, level - 1};
  if (level <= 8) return {1, level - kHighLevels};
  return {1, 4};
}

ChargeFields startingCharges(int highestLevel, bool singlePool) {
  ChargeFields charges;
  if (highestLevel <= 0) return charges;
  if (singlePool) {
    charges.first = 2.0 * highestLevel * highestLevel;
    return charges;
  }
  for (int level = 1; level <= highestLevel; ++level) {
    const ChargePlace at = chargePlace(level);
    const double count = std::min(9, highestLevel - level + 2);
    (at.field == 0 ? charges.first : charges.second) += count * placeValue(at.digit);
  }
  return charges;
}

void setUpMonster(Game& g, int group, int index) {
  rt::Random& random = g.con.random();
  const int m = rt::toInt32(g.GroupMonster(group));
  const double agilityDice = part(g, m, MonsterAgilityDice, 10);
  const double agilitySides = digit(g.MonsterTable(m, MonsterAgilityDice), 3);
  g.MonsterAgility(group, index) =
      static_cast<float>(part(g, m, MonsterAgilityBase, 100) +
                         spell_rules::rollDice(random, agilitySides, agilityDice));
  const double hitDice = rt::INT(g.MonsterTable(m, MonsterHitDice) / 100);
  const double hitPoints = part(g, m, MonsterHitBase, 100) +
                           spell_rules::rollDice(random, part(g, m, MonsterHitSides, 100), hitDice);
  auto monster = [&](int f) -> float& { return g.BattleMonsters(group, index, f); };
  monster(MonsterMaxHitPoints) = static_cast<float>(hitPoints);
  monster(MonsterHitPoints) = static_cast<float>(hitPoints);
  monster(MonsterArmourClass) = static_cast<float>(part(g, m, MonsterArmour, 100) - 70);
  monster(MonsterSpellResistance) =
      static_cast<float>(rt::INT(g.MonsterTable(m, MonsterResistance) / 100));
  const bool pool = usesSpellPool(g);
  const ChargeFields holy = startingCharges(digit(g.MonsterTable(m, MonsterGroupSides), 3), pool);
  const ChargeFields magic = startingCharges(digit(g.MonsterTable(m, MonsterGroupDice), 3), pool);
  monster(HolyCharges) = static_cast<float>(holy.first);
  monster(HolyChargesHigh) = static_cast<float>(holy.second);
  monster(MagicCharges) = static_cast<float>(magic.first);
  monster(MagicChargesHigh) = static_cast<float>(magic.second);
}

}  // namespace kestrun::game
