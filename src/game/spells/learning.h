#pragma once

namespace kestrun::game {

struct Game;

// Learns the spells of level SysWord(NewLevel) for character SysWord(ActingSlot) and
// recomputes his spell-point maximum; SysWord(LearningMode) = 1 recomputes the points
// only (after a level loss or a level restored).
void SPM(Game& g);
// Turns entry SysWord(SpellEntry) of the casting list of kind SysWord(SpellKindChosen) into the
// spell number when character SysWord(ActingSlot) can cast it now, else 0.
void SPK(Game& g);
// Character SysWord(ActingSlot) pays for casting spell SysWord(SpellCode).
void SPU(Game& g);

// One pool of points per kind instead of points per spell level.
bool usesSpellPool(const Game& g);
// Character c has the points to cast the spell now.
bool hasPointsFor(Game& g, int c, int spell);
// The learning chance in percent (0: the spell is never listed or learned).
int learningChance(const Game& g, int spell);
// Spells are not divided into schools, or the spell belongs to every school
// or to the one character c chose for its kind.
bool isOpenToSchoolOf(const Game& g, int c, int spell);
// How many spells of `level` and `kind` character c knows.
int knownSpellsOfLevel(const Game& g, int c, int kind, int level);
// The learning draw: the chance plus the stat bonus against RND x 100.
bool drawsToLearn(Game& g, int spell, double bonus);

}  // namespace kestrun::game
