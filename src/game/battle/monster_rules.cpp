#include "game/battle/monster_rules.h"

#include <algorithm>

#include "game/spells/catalogue.h"
#include "game/spells/learning.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game::monster_rules {

namespace {

constexpr double kFlag = 10000;
constexpr int kNoSpell = 0;
constexpr int kOneTarget = 1;
constexpr double kNearDeath = 99;
constexpr double kMostKills = 88;
constexpr double kLastPlace = 8;

double field(const Game& g, int monster, int f) {
  return g.MonsterTable(monster, f);
}

int lowTwo(const Game& g, int monster, int f) {
  return rt::MOD(field(g, monster, f), 100);
}

// The charge fields of a spell's kind: holy 4 and 5, magic 6 and 7.
int firstChargeField(int spell) {
  return spellKindOf(spell) == kHolySpells ? HolyCharges : MagicCharges;
}

int levelOfSpell(const Game& g, int spell) {
  return rt::MOD(g.SpellTable(spell, SpellLevel), 10);
}

double poolCost(const Game& g, int spell) {
  return rt::INT(g.SpellTable(spell, SpellLevel) / 1000);
}

double placeValue(int digitIndex) {
  double v = 1;
  for (int k = 0; k < digitIndex; ++k) v *= 10;
  return v;
}

}  // namespace

ChargePlace chargePlace(int level) {
  if (level <= 4) return {0, level - 1};
  if (level <= 8) return {1, level - 5};
  return {1, 4};
}

bool rollHits(int roll, double chance) {
  if (roll > 95) return false;
  if (roll < 6) return true;
  return roll <= chance;
}

int attackCount(const Game& g, int monster) {
  return digit(field(g, monster, MonsterType), 2);
}

AttackDice attackDice(const Game& g, int monster, int k) {
  const int last = 3 * k;
  return {static_cast<double>(lowTwo(g, monster, last - 2)),
          static_cast<double>(lowTwo(g, monster, last - 1)),
          static_cast<double>(lowTwo(g, monster, last))};
}

double attackValue(const Game& g, int monster) {
  const AttackDice first = attackDice(g, monster, 1);
  double v = rt::INT(first.sides * first.dice / 2) + first.bonus;
  v = rt::INT(v * attackCount(g, monster) / 2);
  const bool petrifies = field(g, monster, MonsterGroupSides) >= kFlag;
  const bool kills = field(g, monster, MonsterGroupDice) >= kFlag;
  const bool drains = digit(field(g, monster, MonsterDrain), 2) > 0;
  return v * (1 + (petrifies ? 1 : 0) + (kills ? 1 : 0) + (drains ? 2 : 0));
}

bool knowsMonsterSpell(const Game& g, int monster, int spell) {
  if (rt::MOD(g.SpellTable(spell, SpellKindAndListing), 10) == kNoSpell) return false;
  const double cls = g.SpellTable(spell, SpellEffect);
  const int level = levelOfSpell(g, spell);
  if (level < 1) return false;
  if (spellKindOf(spell) == kHolySpells) {
    return cls >= 5 && cls <= 10 && level <= digit(field(g, monster, MonsterGroupSides), 3);
  }
  const bool barred = cls == 4 || cls == 5 || cls == 6 || cls == 8 || cls > 9;
  return !barred && level <= digit(field(g, monster, MonsterGroupDice), 3);
}

double spellScore(const Game& g, int spell) {
  const double area = g.SpellTable(spell, SpellScope) == kOneTarget ? 1 : 3;
  const double cls = g.SpellTable(spell, SpellEffect);
  const double faces = g.SpellTable(spell, SpellFaces);
  const double dice = g.SpellTable(spell, SpellDice);
  if (spellKindOf(spell) == kHolySpells) {
    if (cls == 5 || cls == 6) return (faces == kNearDeath ? 75 : faces * dice) * area;
    if (cls == 7 || cls == 8) return 10 * area;
    if (cls == 9 || cls == 10) return 18 * area;
    return 0;
  }
  if (cls >= 0 && cls <= 3) return faces * dice * area;
  if (cls == 7) return (20 + faces) * area;
  if (cls == 9) return 8 * area;
  return 0;
}

bool hasCharge(const Game& g, int group, int index, int spell) {
  const int first = firstChargeField(spell);
  if (usesSpellPool(g)) return g.BattleMonsters(group, index, first) >= poolCost(g, spell);
  const ChargePlace at = chargePlace(levelOfSpell(g, spell));
  return digit(g.BattleMonsters(group, index, first + at.field), at.digit) >= 1;
}

void spendCharge(Game& g, int group, int index, int spell) {
  const int first = firstChargeField(spell);
  if (usesSpellPool(g)) {
    g.BattleMonsters(group, index, first) -= static_cast<float>(poolCost(g, spell));
    return;
  }
  const ChargePlace at = chargePlace(levelOfSpell(g, spell));
  float& charges = g.BattleMonsters(group, index, first + at.field);
  if (digit(charges, at.digit) >= 1) charges -= static_cast<float>(placeValue(at.digit));
}

bool hasNoCharges(const Game& g, int group, int index) {
  for (int f = HolyCharges; f <= MagicChargesHigh; ++f) {
    if (g.BattleMonsters(group, index, f) != 0) return false;
  }
  return true;
}

double hitChance(double monsterLevel, double armourTerm, double penalty) {
  return 5 * (monsterLevel - armourTerm) - penalty;
}

double damageAfterArmour(double damage, double ac) {
  if (ac > 9) return damage;
  return std::max(0.0, damage + ac - 10);
}

double breathDamage(double monsterHitPoints, double percent) {
  return rt::INT(monsterHitPoints * percent / 100);
}

int nextVictimAfter(int victim, int lastPosition, int standing) {
  const int next = victim + 1;
  return next > lastPosition || next > standing ? 1 : next;
}

bool helpCallFails(double kills, double placesTaken, double draw) {
  return rt::MOD(kills, 100) > kMostKills || draw > 6 || placesTaken > kLastPlace;
}

}  // namespace kestrun::game::monster_rules
