#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/training_parts.h"

namespace kestrun::game {

namespace {

struct KindRules {
  int firstSpell;
  int stat;          // Faith for holy spells, Knowledge for magic
  int schoolDigit;   // of record field 9
  int startsColumn;  // of the class table: the level the spells begin at
};

KindRules rulesOf(SpellKind kind) {
  if (kind == SpellKind::Holy) return {1, 3, 3, 13};
  return {41, 2, 4, 15};
}

bool isOfferedAtFirstLevel(const Game& g, int spell, int school, bool bySchool) {
  if (rt::MOD(g.SpellTable(spell, 0), 10) == 0) return false;
  if (rt::MOD(g.SpellTable(spell, 1), 10) > 1) return false;
  if (!bySchool || g.Setting(72) == 0) return true;
  const int spellSchool = rt::MOD(rt::INT(g.SpellTable(spell, 1) / 100), 10);
  return spellSchool == 0 || spellSchool == school;
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
  const int school = digit(g.CharRec(slot, 9), rules.schoolDigit) + 1;
  int offered = 0;
  for (int spell = rules.firstSpell; spell < rules.firstSpell + 40; ++spell) {
    if (!isOfferedAtFirstLevel(g, spell, school, bySchool)) continue;
    ++offered;
    const double chance = rt::MOD(rt::INT(g.SpellTable(spell, 0) / 10), 1000);
    if (g.con.random().RND(1) * 100.0 <= chance + bonus) setSpellKnown(g, slot, spell, true);
  }
  return offered;
}

int spellPointsNowField(SpellKind kind) {
  return 2 + 2 * static_cast<int>(kind);
}

int spellPointsMaxField(SpellKind kind) {
  return 3 + 2 * static_cast<int>(kind);
}

}  // namespace kestrun::game
