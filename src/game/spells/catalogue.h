#pragma once

#include <vector>

namespace kestrun::game {

struct Game;

// Spells 1..40 are holy, 41..80 magic.
inline constexpr int kHolySpells = 0;
inline constexpr int kMagicSpells = 1;

int spellKindOf(int spell);
// The spell is in the scenario and has a learning chance; only such spells
// are numbered for the player, learned or cast.
bool isListedSpell(const Game& g, int spell);
int spellLevel(const Game& g, int spell);
// The school 1..3, or 0 for a spell of every school.
int spellSchool(const Game& g, int spell);
// The points a cast costs in the single-pool mode.
int spellPointCost(const Game& g, int spell);
// The effect kind 1..18 within the spell's kind.
int spellEffect(const Game& g, int spell);

// The listed spells of a kind in the order the player numbers them: by
// level, then by spell number.
std::vector<int> listedSpells(const Game& g, int kind);

// The spell view: every listed spell numbered, and the description of the
// one the player picks, until he enters 0.
void SPR(Game& g);

// The casting list of caster SysWord(ActingSlot): asks holy or magic when he has
// points of both (question at row SysWord(SpellMenuRow)) and lists his known spells of
// that kind from row SysWord(SpellListRow). Returns the kind in SysWord(SpellKindChosen) and the
// number of entries in SysWord(SpellEntries).
void SPS(Game& g);

}  // namespace kestrun::game
