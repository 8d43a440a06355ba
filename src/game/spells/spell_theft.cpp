#include <algorithm>
#include <cmath>

#include "game/spells/catalogue.h"
#include "game/spells/learning.h"
#include "game/spells/spell_effects.h"
#include "game/spells/spell_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"

// Spells stolen between a member and a monster. A monster keeps its points
// of a kind in two numbers: in the per-level mode the digits of levels 1..4
// in the first and of levels 5..9 in the second; in the single-pool mode
// the pool and its maximum.
namespace kestrun::game {

namespace {

constexpr int kSpellLevels = 9;
constexpr int kLevelsInFirstField = 4;
constexpr double kPoolTakenAtMost = 10000;

int32_t& pointsNow(Game& g, int slot, int kind) {
  return g.CharLong(slot, HolyPoints + 2 * kind);
}
int32_t pointsMaximum(const Game& g, int slot, int kind) {
  return g.CharLong(slot, HolyPointsMax + 2 * kind);
}

float& monsterPoints(Game& g, MonsterRef m, int kind, bool second) {
  return g.BattleMonsters(m.group, m.place, HolyCharges + 2 * kind + (second ? 1 : 0));
}

// Level 1..9 of a monster's points in the per-level mode.
int monsterLevelPoints(Game& g, MonsterRef m, int kind, int level) {
  if (level <= kLevelsInFirstField) return digit(monsterPoints(g, m, kind, false), level - 1);
  return digit(monsterPoints(g, m, kind, true), level - 1 - kLevelsInFirstField);
}

void setMonsterLevelPoints(Game& g, MonsterRef m, int kind, int level, int points) {
  const bool second = level > kLevelsInFirstField;
  float& field = monsterPoints(g, m, kind, second);
  const int position = second ? level - 1 - kLevelsInFirstField : level - 1;
  field = static_cast<float>(withDigit(field, position, points));
}

double withLevelDigit(double value, int level, int points) {
  return withDigit(value, level - 1, points);
}

void takeFromMonster(Game& g, const SpellCast& cast, MonsterRef m, int kind) {
  int32_t& now = pointsNow(g, cast.caster, kind);
  const int32_t maximum = pointsMaximum(g, cast.caster, kind);
  if (usesSpellPool(g)) {
    now = rt::toInt32(std::min<double>(now + monsterPoints(g, m, kind, false), maximum));
    return;
  }
  double value = now;
  for (int level = 1; level <= kSpellLevels; ++level) {
    const int gained = digit(now, level - 1) + monsterLevelPoints(g, m, kind, level);
    value = withLevelDigit(value, level, std::min(gained, digit(maximum, level - 1)));
  }
  now = rt::toInt32(value);
}

// How many spell levels of a kind the monster's kind can hold points for.
int levelsHeldBy(const Game& g, int monster, int kind) {
  return digit(g.MonsterTable(monster, MonsterGroupSides + kind), 3);
}

void giveToMonster(Game& g, const SpellCast& cast, MonsterRef m, int slot, int kind) {
  const int32_t now = pointsNow(g, slot, kind);
  if (usesSpellPool(g)) {
    float& pool = monsterPoints(g, m, kind, false);
    const float maximum = monsterPoints(g, m, kind, true);
    pool = static_cast<float>(
        std::min<double>(pool + std::min<double>(now, kPoolTakenAtMost), maximum));
    return;
  }
  const int held =
      std::min(levelsHeldBy(g, monsterNumber(g, cast.casterGroup), kind), kSpellLevels);
  for (int level = 1; level <= held; ++level) {
    const int sum = monsterLevelPoints(g, m, kind, level) + digit(now, level - 1);
    setMonsterLevelPoints(g, m, kind, level,
                          std::min(sum, spell_rules::monsterPointDigitCap(level)));
  }
}

}  // namespace

void stealFromMonster(Game& g, const SpellCast& cast, MonsterRef m) {
  for (int kind : {kHolySpells, kMagicSpells}) {
    takeFromMonster(g, cast, m, kind);
    monsterPoints(g, m, kind, false) = 0;
    monsterPoints(g, m, kind, true) = 0;
  }
  float& sealed = g.BattleMonsters(m.group, m.place, MonsterSealed);
  sealed = static_cast<float>(withDigit(sealed, 0, 2));
}

void stealFromMember(Game& g, const SpellCast& cast, int slot) {
  const MonsterRef thief{cast.casterGroup, cast.casterPlace};
  for (int kind : {kHolySpells, kMagicSpells}) {
    giveToMonster(g, cast, thief, slot, kind);
    pointsNow(g, slot, kind) = 0;
  }
}

}  // namespace kestrun::game
