#include "game/battle/battle_rules.h"

#include <algorithm>

#include "game/battle/battle_common.h"
#include "game/character/party_members.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

constexpr int kFixedArmourRule = 2;

}  // namespace

bool itemMarksType(const ScenarioTables& s, int item, int type) {
  if (type < 0 || type > 14) return false;
  if (type == 13) return s.ItemTable(item, ItemDamage) >= 10000;
  if (type == 14) return s.ItemTable(item, ItemPriceLow) >= 10000;
  const float field = s.ItemTable(item, FirstSlayingField + (type + 2) / 5);
  return digit(field, (12 - type) % 5) == 1;
}

int attackCount(int level, bool combatSkill, double stepSetting, double capSetting,
                AttackBonuses bonuses) {
  int step = rt::toInt32(rt::INT(stepSetting / 100));
  if (step == 0) step = 5;
  if (!combatSkill) step *= 10;
  int cap = rt::toInt32(rt::INT(capSetting / 100));
  if (cap == 0) cap = 10;
  int attacks = level / step + 1;
  attacks = std::max(attacks, bonuses.positive);
  attacks = std::min(attacks, cap);
  return std::max(attacks + bonuses.negative, 1);
}

AttackBonuses attackBonusesOf(const Game& g, int row) {
  AttackBonuses bonuses;
  auto add = [&](float item) {
    const int value = rt::MOD(rt::INT(g.ItemTable(rt::toInt32(item), ItemBonus) / 100), 100) - 50;
    if (value < 0) bonuses.negative += value;
    if (value > 0) bonuses.positive += value;
  };
  add(g.BattleParty(row, EquippedOtherKind));
  for (int f = FirstEquippedKind; f <= FirstEquippedKind + 5; ++f) add(g.BattleParty(row, f));
  return bonuses;
}

double fightPenalty(bool inMud, bool combatSkill, bool targetDisabled) {
  double penalty = inMud ? 20 : 0;
  if (combatSkill) penalty -= 5;
  if (targetDisabled) penalty -= 20;
  return penalty;
}

double hitChance(double level, double armourClass, double strength, double hitBonus,
                 double penalty) {
  return 5 * (level + armourClass) + 2 * (strength - 10) + hitBonus - penalty;
}

bool rollHits(double roll, double chance) {
  if (roll > 95) return false;
  if (roll < 6) return true;
  return roll <= chance;
}

double monsterArmourForBlows(const Game& g, int group, int place) {
  if (g.Setting(ArmourAffectsHits) < kFixedArmourRule) {
    return g.BattleMonsters(group, place, MonsterArmourClass);
  }
  return 5 - rt::INT(monsterLevelOf(g, groupMonsterOf(g, group)) / 2.0);
}

double damageThroughArmour(double damage, double armourValue) {
  if (armourValue > 69) return damage;
  return std::max(0.0, damage + armourValue - 70);
}

bool criticalSucceeds(int level, int factor, double draw) {
  const double base = 5 + rt::INT(level / 20.0);
  return base * factor / 2 >= draw;
}

bool memberGetsAway(double agility, int mudPenalty, double topLuck, double agilityDraw,
                    double luckDraw) {
  return !(agility - 2.0 * mudPenalty < agilityDraw && topLuck < luckDraw);
}

double dispelValue(int level, int monsterLevel, double faith, double statScale) {
  return (3.0 + level - monsterLevel) * 5 + (faith - rt::INT(statScale / 2)) * 2;
}

void takePartyBest(Game& g) {
  g.Battle.TopLevel = 0;
  g.Battle.TopKnowledge = 0;
  g.Battle.TopLuck = 0;
  for (int p = 1; p <= partySize(g); ++p) {
    g.Battle.TopLevel = std::max(g.Battle.TopLevel, levelOf(g, memberSlot(g, p)));
    g.Battle.TopKnowledge = std::max(
        g.Battle.TopKnowledge, rt::toInt32(g.BattleParty(p - 1, FirstBattleStat + Knowledge)));
    g.Battle.TopLuck =
        std::max(g.Battle.TopLuck, rt::toInt32(g.BattleParty(p - 1, FirstBattleStat + Luck)));
  }
}

}  // namespace kestrun::game
