#pragma once

namespace kestrun::game {

struct Game;

// Whether stat i (0..7) is used by the scenario; an unused stat is never
// shown or asked and follows its pair partner.
bool isStatUsed(const Game& g, int stat);

// The scenario's adjustment of stat i (0..7) for sex 0 (male) or 1.
int sexAdjustment(const Game& g, int sex, int stat);
// The sex adjustments of slot SysWord(ActingSlot): SysWord(FirstStatAdjustment
// + i) for each used stat i; unused stats keep their previous adjustment.
void SEI(Game& g);
// The adjustment word of stat i (0..7).
float& statAdjustment(Game& g, int stat);
float statAdjustment(const Game& g, int stat);
void clearStatAdjustments(Game& g);
// Makes c the acting character and loads his sex adjustments, all 0 when the
// scenario has no sexes.
void loadSexAdjustments(Game& g, int c);

// Mirrors each unused stat of slot SysWord(ActingSlot) from its pair partner.
void NCHEC(Game& g);

}  // namespace kestrun::game
