#pragma once

namespace kestrun::game {

struct Game;

// The class's hit-point dice, ClassTable(class, HitPointDice): H MOD 10 the die per
// level, INT(H / 10) MOD 10 a base, INT(H / 100) the first level's die.
struct HitDice {
  double perLevel;
  double base;
  double firstLevel;
};

HitDice hitDiceOf(const Game& g, int c);

// A die of `sides` sides (a die of none still shows 1).
double die(Game& g, double sides);

// Every die of a character of `level` rolled afresh: the base, the first
// level's die (rounded up), and one die per level above the first.
double rollAllHitDice(Game& g, const HitDice& dice, int level);

}  // namespace kestrun::game
