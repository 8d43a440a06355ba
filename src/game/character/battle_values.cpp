#include "game/character/battle_values.h"

#include <algorithm>

#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

namespace {

constexpr int kArmourClass = 9;
constexpr int kFirstStat = 10;
constexpr int kRegeneration = 18;
constexpr int kFirstBonus = 24;
constexpr int kOtherKindItem = 32;
constexpr int kUnrecordedKind = 6;

// A field of the item table holding a value around 50 in its low two digits.
double centred(float field) {
  return rt::MOD(field, 100) - 50;
}

struct Load {
  bool wearing = false;
  double weight = 0;
};

void clearRow(Game& g, int row) {
  for (int k = 3; k <= 20; ++k) g.BattleParty(row, k) = 0;
  g.BattleParty(row, 22) = 0;
  g.BattleParty(row, 23) = 0;
  g.BattleParty(row, kOtherKindItem) = 0;
}

void copyStats(Game& g, int row, int c) {
  for (int i = 0; i < 8; ++i) {
    if (g.Setting(4 + i) != 0)
      g.BattleParty(row, kFirstStat + i) = static_cast<float>(statOf(g, c, i));
  }
  g.BattleParty(row, kArmourClass) = 10;
}

Load applyEquipment(Game& g, int row, int c) {
  Load load;
  const int slots = rt::toInt32(g.Setting(37));
  for (int j = 0; j < slots; ++j) {
    const float slot = g.CharRec(c, kFirstItemField + j);
    const int item = itemNumber(slot);
    g.BattleParty(row, kRegeneration) += static_cast<float>(centred(g.ItemTable(item, 5)));
    if (item == 0 || !isEquipped(slot)) continue;
    const int kind = rt::MOD(g.ItemTable(item, 0), 10);
    if (kind != kUnrecordedKind) load.wearing = true;
    if (kind <= 5) g.BattleParty(row, 3 + kind) = static_cast<float>(item);
    if (kind > kUnrecordedKind) g.BattleParty(row, kOtherKindItem) = static_cast<float>(item);
    if (g.Setting(55) == 1 && g.Setting(56) == 2)
      load.weight += rt::MOD(g.ItemTable(item, 13), 100);
    g.BattleParty(row, kArmourClass) +=
        static_cast<float>(rt::MOD(rt::INT(g.ItemTable(item, 0) / 100), 100) - 50);
  }
  return load;
}

void applyWeightPenalty(Game& g, int row, double weight) {
  if (g.Setting(55) == 0 || g.Setting(56) == 1) return;
  const double capacity = g.BattleParty(row, kFirstStat) * rt::MOD(g.Setting(70), 100);
  if (weight <= capacity) return;
  float& agility = g.BattleParty(row, kFirstStat + 4);
  // Without any carrying capacity the load takes all of the agility.
  const double penalty = capacity > 0 ? rt::INT(weight * 10 / capacity) + 1 : agility + 10;
  agility = static_cast<float>(std::max(0.0, agility - penalty + 10));
}

void applyNaturalArmour(Game& g, int row, int c, bool wearing) {
  const float skills = g.ClassTable(classOf(g, c), 0);
  const double step = rt::INT(g.Setting(73) / 1000);
  if (wearing || rt::INT(skills / 10000) != 1 || digit(skills, 1) != 1 || g.Setting(73) <= 999) {
    return;
  }
  g.BattleParty(row, kArmourClass) = static_cast<float>(8 - rt::INT(levelOf(g, c) / step));
}

void applyStatBonuses(Game& g, int row) {
  for (int column : {3, 4, 5, 6, 7, 8, kOtherKindItem}) {
    const int item = rt::toInt32(g.BattleParty(row, column));
    if (item == 0 || rt::MOD(g.ItemTable(item, 6), 100) == 50) continue;
    g.BattleParty(row, kFirstStat + rt::MOD(g.ItemTable(item, 7), 10)) +=
        static_cast<float>(centred(g.ItemTable(item, 6)));
  }
  for (int i = 0; i < 8; ++i)
    g.BattleParty(row, kFirstStat + i) += g.BattleParty(row, kFirstBonus + i);
}

}  // namespace

void CCHEC3(Game& g) {
  const int members = rt::toInt32(g.GameState(0));
  for (int p = 1; p <= members; ++p) {
    const int row = p - 1;
    const int c = rt::toInt32(g.GameState(p)) - 1;
    clearRow(g, row);
    copyStats(g, row, c);
    const Load load = applyEquipment(g, row, c);
    applyWeightPenalty(g, row, load.weight);
    applyNaturalArmour(g, row, c, load.wearing);
    applyStatBonuses(g, row);
  }
}

}  // namespace kestrun::game
