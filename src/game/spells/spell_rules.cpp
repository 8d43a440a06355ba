#include "game/spells/spell_rules.h"

#include <algorithm>

#include "runtime/values.h"

namespace kestrun::game::spell_rules {

namespace {
constexpr double kFullFaces = 99;
}

double rollDice(rt::Random& random, double faces, double count) {
  double total = 0;
  for (int n = 0; n < count; ++n) total += rt::INT(random.RND(1) * faces + 1);
  return total;
}

double nearDeathDamage(rt::Random& random, double hp, double spare) {
  const double damage = hp - rt::INT(random.RND(1) * spare + 1);
  return damage < 0 ? hp - 1 : damage;
}

double healingAmount(rt::Random& random, double faces, double count, double hp, double maximum) {
  const double missing = std::max(maximum - hp, 0.0);
  if (faces == kFullFaces) return missing;
  return std::min(rollDice(random, faces, count), missing);
}

double monsterLevelEdge(double monsterLevel, double casterLevel, double cap) {
  return std::clamp(monsterLevel * 2 - casterLevel, 0.0, cap);
}

double memberLevelEdge(double memberLevel, double monsterLevel, double strength, double cap) {
  const double edge = (memberLevel * 2 - monsterLevel) * 3 + (strength - 10) * 2;
  return std::clamp(edge, 0.0, cap);
}

bool beats(rt::Random& random, double chance, double divisor) {
  return chance > random.RND(1) * divisor;
}

double elementalDamageOnMonster(Element element, double damage, bool fireResistant,
                                bool coldResistant) {
  const double halved = rt::INT(damage / 2 + 1);
  const double raised = rt::INT(damage * 1.2);
  switch (element) {
    case Element::Fire:
      if (fireResistant) return halved;
      return coldResistant ? raised : damage;
    case Element::Cold:
      if (coldResistant) return halved;
      return fireResistant ? raised : damage;
    case Element::Blast:
      return fireResistant && coldResistant ? halved : damage;
    case Element::Radiation:
      return damage;
  }
  return damage;
}

double wornItemOnDamage(Element element, double damage, bool fireWard, bool frostWard) {
  if (element == Element::Fire) {
    if (fireWard) damage = rt::INT(damage * 2 / 3);
    if (frostWard) damage = rt::INT(damage * 1.2);
  } else if (element == Element::Cold) {
    if (fireWard) damage = rt::INT(damage * 1.2);
    if (frostWard) damage = rt::INT(damage * 2 / 3);
  }
  return damage;
}

double resistedDamage(double damage) {
  return rt::INT(damage * 2 / 3);
}

int monsterPointDigitCap(int level) {
  return level == 9 ? 2 : 9;
}

double youngerAge(double ageCounter) {
  return ageCounter > -31636 ? ageCounter - 365 : ageCounter;
}

}  // namespace kestrun::game::spell_rules
