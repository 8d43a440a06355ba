#include "game/spells/learning.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/character/screen_lines.h"
#include "game/spells/catalogue.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kSpellLevels = 9;
constexpr int kPointsPerLevelLimit = 9;

int currentCharacter(const Game& g) {
  return rt::toInt32(g.SysWord(ActingSlot));
}

int32_t& pointsNow(Game& g, int c, int kind) {
  return g.CharLong(c, HolyPoints + 2 * kind);
}
int32_t& pointsMaximum(Game& g, int c, int kind) {
  return g.CharLong(c, HolyPointsMax + 2 * kind);
}

// The class table's skill digits: 3 holy spells, 2 magic spells.
bool classCastsKind(const Game& g, int cls, int kind) {
  return digit(g.ClassTable(cls, ClassSkills), 3 - kind) != 0;
}

// Spell levels of a kind open up from the class's first level on, one more
// every `step` character levels.
struct SpellLevelPace {
  double first;
  double step;
};

SpellLevelPace paceOf(const Game& g, int cls, int kind) {
  return {g.ClassTable(cls, HolyStartLevel + 2 * kind),
          std::max<double>(g.ClassTable(cls, HolyLevelStep + 2 * kind), 1)};
}

// Faith raises the chance of holy spells, Knowledge that of magic spells,
// each by two points per step above half the stat scale.
double learningBonus(const Game& g, int c, int kind) {
  const double half = rt::INT((g.SysWord(StatScale) + 1) / 2.0);
  const int stat = kind == kHolySpells ? 3 : 2;
  return (statOf(g, c, stat) - half) * 2;
}

bool learnSpellsOfKind(Game& g, int c, int kind, double topLevel) {
  const double bonus = learningBonus(g, c, kind);
  const double top = std::min<double>(topLevel, g.Setting(HolySpellLevels + kind));
  const int first = kind == kHolySpells ? 1 : 41;
  bool learned = false;
  for (int spell = first; spell < first + 40; ++spell) {
    if (!isListedSpell(g, spell) || spellLevel(g, spell) > top) continue;
    if (!isOpenToSchoolOf(g, c, spell)) continue;
    // The draw is made even for a spell already known.
    if (!drawsToLearn(g, spell, bonus) || knowsSpell(g, c, spell)) continue;
    setSpellKnown(g, c, spell, true);
    learned = true;
  }
  return learned;
}

// The points of each spell level 1..9 at character level `level`; only the
// scenario's spell levels up to the highest one reached get any.
std::vector<int> pointsPerLevel(const Game& g, int kind, SpellLevelPace pace, double level,
                                double topLevel) {
  std::vector<int> points(kSpellLevels, 0);
  for (int i = 0; i < kSpellLevels; ++i) {
    if (g.Setting(HolySpellLevels + kind) <= i) continue;
    const double reached = (level - pace.first) - pace.step * i;
    const int p =
        std::min(rt::toInt32(rt::INT((reached * 2 + 1) / pace.step)) + 2, kPointsPerLevelLimit);
    if (p >= 0 && topLevel >= i + 1) points[i] = p;
  }
  return points;
}

int32_t pointTotal(const Game& g, const std::vector<int>& points) {
  double total = 0;
  for (int i = 0; i < kSpellLevels; ++i) {
    total += usesSpellPool(g) ? (i + 1) * points[i] : points[i] * std::pow(10.0, i);
  }
  return rt::toInt32(total);
}

void recomputePoints(Game& g, int c, int kind, SpellLevelPace pace, double level, double topLevel,
                     bool keepEarned) {
  std::vector<int> points = pointsPerLevel(g, kind, pace, level, topLevel);
  if (keepEarned) {
    for (int i = 0; i < kSpellLevels; ++i) {
      points[i] = std::max(points[i], digit(pointsMaximum(g, c, kind), i));
    }
  }
  const int32_t total = pointTotal(g, points);
  const double now = static_cast<double>(pointsNow(g, c, kind)) + total - pointsMaximum(g, c, kind);
  pointsNow(g, c, kind) = rt::toInt32(std::max(now, 0.0));
  pointsMaximum(g, c, kind) = total;
}

// The casting list's entry `entry` (from 1) among the caster's known spells
// of the kind, or 0.
int knownSpellAt(const Game& g, int c, int kind, int entry) {
  int counted = 0;
  for (int spell : listedSpells(g, kind)) {
    if (knowsSpell(g, c, spell) && ++counted == entry) return spell;
  }
  return 0;
}

int costFlags(const Game& g, int spell) {
  return rt::toInt32(rt::INT(g.SpellTable(spell, SpellKindAndListing) / 10000));
}
bool costsALevel(const Game& g, int spell) {
  return costFlags(g, spell) % 2 == 1;
}
bool isForgottenAfterUse(const Game& g, int spell) {
  return costFlags(g, spell) > 1;
}

// A spell that costs a level only for a caster who has reached the level
// his class learns it at.
bool hasLevelFor(const Game& g, int c, int spell) {
  if (!costsALevel(g, spell)) return true;
  const int cls = classOf(g, c);
  const int kind = spellKindOf(spell);
  const double needed =
      g.ClassTable(cls, HolyStartLevel + 2 * kind) +
      (spellLevel(g, spell) - 1) * static_cast<double>(g.ClassTable(cls, HolyLevelStep + 2 * kind));
  return levelOf(g, c) >= needed;
}

}  // namespace

bool hasPointsFor(Game& g, int c, int spell) {
  const int kind = spellKindOf(spell);
  if (usesSpellPool(g)) return pointsNow(g, c, kind) >= spellPointCost(g, spell);
  return digit(pointsNow(g, c, kind), spellLevel(g, spell) - 1) != 0;
}

bool usesSpellPool(const Game& g) {
  return g.Setting(SpellPointMode) == 2;
}

int learningChance(const Game& g, int spell) {
  return rt::MOD(rt::INT(g.SpellTable(spell, SpellKindAndListing) / 10), 1000);
}

bool isOpenToSchoolOf(const Game& g, int c, int spell) {
  if (g.Setting(SpellSchools) == 0) return true;
  const int school = spellSchool(g, spell);
  const int chosen = digit(g.CharRec(c, ChecksumAndSchools), 3 + spellKindOf(spell)) + 1;
  return school == 0 || school == chosen;
}

bool drawsToLearn(Game& g, int spell, double bonus) {
  return g.con.random().RND(1) * 100.0 <= learningChance(g, spell) + bonus;
}

int knownSpellsOfLevel(const Game& g, int c, int kind, int level) {
  const int first = kind == kHolySpells ? 1 : 41;
  int known = 0;
  for (int spell = first; spell < first + 40; ++spell) {
    if (knowsSpell(g, c, spell) && spellLevel(g, spell) == level) ++known;
  }
  return known;
}

void SPM(Game& g) {
  const int c = currentCharacter(g);
  const int cls = classOf(g, c);
  if (rt::MOD(rt::INT(g.ClassTable(cls, ClassSkills) / 100), 100) == 0) return;
  const double level = g.SysWord(NewLevel);
  const bool pointsOnly = g.SysWord(LearningMode) == 1;
  bool learned = false;
  for (int kind : {kHolySpells, kMagicSpells}) {
    if (!classCastsKind(g, cls, kind)) continue;
    const SpellLevelPace pace = paceOf(g, cls, kind);
    const double top = rt::INT((level - pace.first) / pace.step) + 1;
    if (!pointsOnly && learnSpellsOfKind(g, c, kind, top)) learned = true;
    recomputePoints(g, c, kind, pace, level, top, !pointsOnly);
  }
  if (learned) printAt(g, 23, g.Setting(StatChangeMode) == 1 ? 17 : 19, "新しい呪文を習得した"_sj);
}

void SPK(Game& g) {
  const int c = currentCharacter(g);
  const int kind = rt::toInt32(g.SysWord(SpellKindChosen));
  const int spell = knownSpellAt(g, c, kind, rt::toInt32(g.SysWord(SpellEntry)));
  const bool castable = spell != 0 && hasPointsFor(g, c, spell) && hasLevelFor(g, c, spell);
  g.SysWord(SpellEntry) = static_cast<float>(castable ? spell : 0);
}

void SPU(Game& g) {
  const int c = currentCharacter(g);
  const int spell = rt::toInt32(g.SysWord(SpellCode));
  const int kind = spellKindOf(spell);
  if (usesSpellPool(g)) {
    pointsNow(g, c, kind) -= spellPointCost(g, spell);
    return;
  }
  pointsNow(g, c, kind) -= rt::toInt32(std::pow(10.0, spellLevel(g, spell) - 1));
  if (isForgottenAfterUse(g, spell)) setSpellKnown(g, c, spell, false);
  if (costsALevel(g, spell))
    g.CharRec(c, LevelAndFloor) = rt::toSingle(g.CharRec(c, LevelAndFloor) - 1.0);
}

}  // namespace kestrun::game
