#pragma once

namespace kestrun::game {

struct Game;

// What a fountain does, from its square's parameters: p0 the effect (1..8 a
// stat, 9 class, 10 age, 11 alignment, 12 hit points, 13 spell points, 14
// status), p1 the amount, p2 the direction (1 raises, 2 lowers, 3 either at
// random; for 9, 11 and 14 below 2 / 1 picks p3), p3 the value.
struct FountainEffect {
  int effect;
  int amount;
  int direction;
  int value;
};

// +1 or -1: at random (from the draw in (0, 1)) when the direction is 3,
// else 3 - 2 x direction.
int fountainSign(int direction, double draw);

// The highest stat `stat` of character c may reach at a fountain: the
// scenario's plain limit, or the race's value with the sex adjustment moved
// by the setting's distance from 50.
int fountainStatLimit(const Game& g, int c, int stat);

// A stat after a change of `amount`: the amount is cut so that the limit is
// not passed, and the stat never falls below 0 (its packed pair must stay
// whole).
int changedStat(int stat, int amount, int limit);

// Applies the effect to character c.
void applyFountain(Game& g, int c, const FountainEffect& e);

}  // namespace kestrun::game
