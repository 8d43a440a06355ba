#pragma once

namespace kestrun::game {

struct Game;

// Whether stat i (0..7) is used by the scenario; an unused stat is never
// shown or asked and follows its pair partner.
bool isStatUsed(const Game& g, int stat);

// The sex adjustments of slot SysWord(1): SysWord(i + 2) for each used stat
// i; unused stats keep their previous adjustment.
void SEI(Game& g);

// Mirrors each unused stat of slot SysWord(1) from its pair partner.
void NCHEC(Game& g);

}  // namespace kestrun::game
