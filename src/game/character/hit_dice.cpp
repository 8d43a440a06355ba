#include "game/character/hit_dice.h"

#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

HitDice hitDiceOf(const Game& g, int c) {
  const double h = g.ClassTable(classOf(g, c), HitPointDice);
  return {static_cast<double>(rt::MOD(h, 10)), static_cast<double>(rt::MOD(rt::INT(h / 10), 10)),
          rt::INT(h / 100)};
}

double die(Game& g, double sides) {
  return rt::INT(g.con.random().RND(1) * sides + 1);
}

double rollAllHitDice(Game& g, const HitDice& dice, int level) {
  double total = dice.base + rt::INT(dice.firstLevel * g.con.random().RND(1) + 0.999);
  for (int l = 1; l < level; ++l) total += die(g, dice.perLevel);
  return total;
}

}  // namespace kestrun::game
