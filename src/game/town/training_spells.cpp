#include "game/spells/catalogue.h"
#include "game/spells/learning.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/training_parts.h"

namespace kestrun::game {

namespace {

struct KindRules {
  int firstSpell;
  int stat;          // Faith for holy spells, Knowledge for magic
  int startsColumn;  // of the class table: the level the spells begin at
};

KindRules rulesOf(SpellKind kind) {
  if (kind == SpellKind::Holy) return {1, Faith, HolyStartLevel};
  return {41, Knowledge, MagicStartLevel};
}

bool isOfferedAtFirstLevel(const Game& g, int slot, int spell, bool bySchool) {
  if (rt::MOD(g.SpellTable(spell, SpellKindAndListing), 10) == 0) return false;
  if (spellLevel(g, spell) > 1) return false;
  return !bySchool || isOpenToSchoolOf(g, slot, spell);
}

}  // namespace

bool castsSpells(int cls, SpellKind kind) {
  // Classes 0..14 enumerate the combinations of combat, holy, magic and
  // thief skills.
  constexpr bool holy[15] = {false, true,  false, false, true,  false, false, true,
                             true,  false, true,  true,  false, true,  true};
  constexpr bool magic[15] = {false, false, true, false, false, true, false, true,
                              false, true,  true, false, true,  true, true};
  if (cls < 0 || cls > 14) return false;
  return kind == SpellKind::Holy ? holy[cls] : magic[cls];
}

bool learnsFromFirstLevel(const Game& g, int cls, SpellKind kind) {
  return g.ClassTable(cls, rulesOf(kind).startsColumn) <= 1;
}

int learnFirstLevelSpells(Game& g, int slot, SpellKind kind, bool bySchool) {
  const KindRules rules = rulesOf(kind);
  const double bonus = (statOf(g, slot, rules.stat) - 10) * 2.0;
  int offered = 0;
  for (int spell = rules.firstSpell; spell < rules.firstSpell + 40; ++spell) {
    if (!isOfferedAtFirstLevel(g, slot, spell, bySchool)) continue;
    ++offered;
    if (drawsToLearn(g, spell, bonus)) setSpellKnown(g, slot, spell, true);
  }
  return offered;
}

int spellPointsNowField(SpellKind kind) {
  return HolyPoints + 2 * static_cast<int>(kind);
}

int spellPointsMaxField(SpellKind kind) {
  return HolyPointsMax + 2 * static_cast<int>(kind);
}

}  // namespace kestrun::game
