#include "game/character/battle_values.h"

#include <algorithm>

#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

namespace {

// A field of the item table holding a value around 50 in its low two digits.
double centred(float field) {
  return rt::MOD(field, 100) - 50;
}

struct Load {
  bool wearing = false;
  double weight = 0;
};

void clearRow(Game& g, int row) {
  for (int k = FirstEquippedKind; k <= SpellsSealed; ++k) g.BattleParty(row, k) = 0;
  g.BattleParty(row, DamageBonus) = 0;
  g.BattleParty(row, HitBonus) = 0;
  g.BattleParty(row, EquippedOtherKind) = 0;
}

void copyStats(Game& g, int row, int c) {
  for (int i = 0; i < StatCount; ++i) {
    if (g.Setting(FirstStatUsed + i) != 0)
      g.BattleParty(row, FirstBattleStat + i) = static_cast<float>(statOf(g, c, i));
  }
  g.BattleParty(row, BattleArmourClass) = 10;
}

Load applyEquipment(Game& g, int row, int c) {
  Load load;
  const int slots = rt::toInt32(g.Setting(ItemSlots));
  for (int j = 0; j < slots; ++j) {
    const float slot = g.CharRec(c, FirstItemSlot + j);
    const int item = itemNumber(slot);
    g.BattleParty(row, RegenerationTotal) +=
        static_cast<float>(centred(g.ItemTable(item, ItemRegeneration)));
    if (item == 0 || !isEquipped(slot)) continue;
    const int kind = itemKind(g, item);
    if (kind != UsedWithoutEquippingKind) load.wearing = true;
    if (kind < UsedWithoutEquippingKind)
      g.BattleParty(row, FirstEquippedKind + kind) = static_cast<float>(item);
    if (kind > UsedWithoutEquippingKind)
      g.BattleParty(row, EquippedOtherKind) = static_cast<float>(item);
    if (g.Setting(ItemWeight) == 1 && g.Setting(WeightOption) == 2)
      load.weight += rt::MOD(g.ItemTable(item, ItemWeightAndBreak), 100);
    g.BattleParty(row, BattleArmourClass) += static_cast<float>(itemArmourChange(g, item));
  }
  return load;
}

void applyWeightPenalty(Game& g, int row, double weight) {
  if (g.Setting(ItemWeight) == 0 || g.Setting(WeightOption) == 1) return;
  const double capacity =
      g.BattleParty(row, FirstBattleStat) * rt::MOD(g.Setting(CarryFactor), 100);
  if (weight <= capacity) return;
  float& agility = g.BattleParty(row, FirstBattleStat + Agility);
  // Without any carrying capacity the load takes all of the agility.
  const double penalty = capacity > 0 ? rt::INT(weight * 10 / capacity) + 1 : agility + 10;
  agility = static_cast<float>(std::max(0.0, agility - penalty + 10));
}

void applyNaturalArmour(Game& g, int row, int c, bool wearing) {
  const float skills = g.ClassTable(classOf(g, c), ClassSkills);
  const double step = rt::INT(g.Setting(ArmourAndTrapDamage) / 1000);
  if (wearing || rt::INT(skills / 10000) != 1 || digit(skills, 1) != 1 ||
      g.Setting(ArmourAndTrapDamage) <= 999) {
    return;
  }
  g.BattleParty(row, BattleArmourClass) = static_cast<float>(8 - rt::INT(levelOf(g, c) / step));
}

void applyStatBonuses(Game& g, int row) {
  for (int kind = 0; kind <= UsedWithoutEquippingKind; ++kind) {
    // The last place stands for the items of the kinds above 6.
    const int column =
        kind < UsedWithoutEquippingKind ? FirstEquippedKind + kind : EquippedOtherKind;
    const int item = rt::toInt32(g.BattleParty(row, column));
    if (item == 0 || rt::MOD(g.ItemTable(item, ItemBonus), 100) == 50) continue;
    g.BattleParty(row, FirstBattleStat + rt::MOD(g.ItemTable(item, ItemBonusStat), 10)) +=
        static_cast<float>(centred(g.ItemTable(item, ItemBonus)));
  }
  for (int i = 0; i < StatCount; ++i)
    g.BattleParty(row, FirstBattleStat + i) += g.BattleParty(row, FirstStatBonus + i);
}

}  // namespace

void CCHEC3(Game& g) {
  const int members = rt::toInt32(g.GameState(MemberCount));
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
