#include "game/character/stat_rules.h"

#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

bool isStatUsed(const Game& g, int stat) {
  return g.Setting(4 + stat) != 0;
}

void SEI(Game& g) {
  const int c = rt::toInt32(g.SysWord(1));
  const int sex = sexOf(g, c);
  for (int i = 0; i < 8; ++i) {
    if (!isStatUsed(g, i)) continue;
    const float packed = g.Setting(47 + 2 * sex + i / 4);
    g.SysWord(i + 2) = static_cast<float>(digit(packed, i % 4) - 5);
  }
}

void NCHEC(Game& g) {
  const int c = rt::toInt32(g.SysWord(1));
  for (int first = 0; first < 8; first += 2) {
    if (!isStatUsed(g, first)) setStat(g, c, first, statOf(g, c, first + 1));
    if (!isStatUsed(g, first + 1)) setStat(g, c, first + 1, statOf(g, c, first));
  }
}

}  // namespace kestrun::game
