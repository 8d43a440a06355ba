#include "game/battle/treasure_rules.h"

#include "game/battle/battle_common.h"
#include "game/spells/spell_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game::treasure_rules {

namespace {

constexpr int kTrapDraws = 300;
constexpr int kTrapsPerField = 5;

int whole(double v) {
  return rt::toInt32(rt::INT(v));
}

}  // namespace

int treasureClass(const Game& g, int monster, int field) {
  return rt::MOD(rt::INT(g.MonsterTable(monster, field) / 100), 100);
}

bool trapExists(const Game& g, int trap) {
  return rt::MOD(g.TrapTable(trap, TrapExists), 10) != 0;
}

bool chestMayCarry(const Game& g, int treasureClass, int trap) {
  const float field = g.TreasureTable(treasureClass, FirstTrapDigits + trap / kTrapsPerField);
  return digit(field, 4 - trap % kTrapsPerField) != 0;
}

int drawChestTrap(const Game& g, rt::Random& random, int treasureClass) {
  const bool mayBeUntrapped = rt::MOD(g.TreasureTable(treasureClass, TreasureFirstItem), 10) != 0;
  for (int n = 0; n < kTrapDraws; ++n) {
    const int u = whole(random.RND(1) * 16);
    if (u == kNoTrap) {
      if (mayBeUntrapped) return u;
    } else if (trapExists(g, u) && chestMayCarry(g, treasureClass, u)) {
      return u;
    }
  }
  return kNoTrap;
}

int drawReportedTrap(const Game& g, rt::Random& random) {
  for (;;) {
    const int u = whole(random.RND(1) * 16);
    if (u == kNoTrap || trapExists(g, u)) return u;
  }
}

int32_t experienceShare(int32_t pool, int members) {
  return pool / members;
}

double rollGold(const Game& g, rt::Random& random, int treasureClass) {
  double gold = 0;
  for (int part = 0; part < 3; ++part) {
    const float dice = g.TreasureTable(treasureClass, FirstGoldRoll + 2 * part);
    const float extra = g.TreasureTable(treasureClass, FirstGoldRoll + 2 * part + 1);
    const double roll = spell_rules::rollDice(random, rt::INT(dice / 100), rt::MOD(dice, 100));
    if (rt::INT(extra / 100) > random.RND(1) * 100) gold += rt::MOD(extra, 100) + roll;
  }
  const float multiplier = g.TreasureTable(treasureClass, GoldMultiplier);
  const double times =
      rt::MOD(multiplier, 10) + spell_rules::rollDice(random, rt::INT(multiplier / 1000),
                                                      rt::MOD(rt::INT(multiplier / 10), 100));
  return gold * times * g.Setting(PartySize);
}

double goldShare(double gold, int members, rt::Random& random) {
  const double share = rt::INT(gold / members);
  return share < 6 ? rt::INT(random.RND(1) * 4 + 2) : share;
}

int trapSkillFactor(const Game& g, int slot) {
  if (!classHasSkill(g, slot, Skill::Thief)) return 10;
  const bool others = classHasSkill(g, slot, Skill::Magic) || classHasSkill(g, slot, Skill::Holy) ||
                      classHasSkill(g, slot, Skill::Combat);
  return others ? 45 : 50;
}

double difficultyWeight(double setting) {
  const double v = rt::INT(setting / 100);
  return v > 49 ? v - 50 : v + 50;
}

bool beatsTrap(double dexterity, int factor, double scaleDraw, double difficulty, double weight) {
  return dexterity * factor > scaleDraw + difficulty * weight;
}

bool missesTrap(double dexterity, int factor, double scaleDraw, double difficulty, double weight) {
  return dexterity * factor < scaleDraw + difficulty * weight;
}

bool rarityRedraws(const Game& g, int rarity, int floor, int monster, double draw90,
                   double draw200) {
  const double level = rt::INT(g.MonsterTable(monster, MonsterLevel) / 100);
  const double odds = rarity * 3 + (g.Setting(DeepestFloor) - floor) * 2 + 63 - rt::INT(level / 6);
  return odds > draw90 * 90 && draw200 * 200 > 1;
}

}  // namespace kestrun::game::treasure_rules
