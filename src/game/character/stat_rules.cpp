#include "game/character/stat_rules.h"

#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

bool isStatUsed(const Game& g, int stat) {
  return g.Setting(FirstStatUsed + stat) != 0;
}

int sexAdjustment(const Game& g, int sex, int stat) {
  return digit(g.Setting(FirstSexAdjustment + 2 * sex + stat / 4), stat % 4) - 5;
}

void SEI(Game& g) {
  const int c = rt::toInt32(g.SysWord(ActingSlot));
  const int sex = sexOf(g, c);
  for (int i = 0; i < StatCount; ++i) {
    if (!isStatUsed(g, i)) continue;
    statAdjustment(g, i) = static_cast<float>(sexAdjustment(g, sex, i));
  }
}

float& statAdjustment(Game& g, int stat) {
  return g.SysWord(FirstStatAdjustment + stat);
}
float statAdjustment(const Game& g, int stat) {
  return g.SysWord(FirstStatAdjustment + stat);
}

void clearStatAdjustments(Game& g) {
  for (int i = 0; i < StatCount; ++i) statAdjustment(g, i) = 0;
}

void loadSexAdjustments(Game& g, int c) {
  g.SysWord(ActingSlot) = static_cast<float>(c);
  if (g.Setting(SexesUsed) != 0) {
    SEI(g);
  } else {
    clearStatAdjustments(g);
  }
}

void NCHEC(Game& g) {
  const int c = rt::toInt32(g.SysWord(ActingSlot));
  for (int first = 0; first < StatCount; first += 2) {
    if (!isStatUsed(g, first)) setStat(g, c, first, statOf(g, c, first + 1));
    if (!isStatUsed(g, first + 1)) setStat(g, c, first + 1, statOf(g, c, first));
  }
}

}  // namespace kestrun::game
