#include "game/battle/battle_common.h"

#include <algorithm>
#include <cmath>

#include "game/character/carried_items.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kMudSquare = 17;
constexpr int kSinglePool = 2;

// The monster table value INT(field / 100) MOD `modulus`.
double tableValue(const Game& g, int monster, int field, int modulus) {
  return rt::MOD(rt::INT(g.MonsterTable(monster, field) / 100), modulus);
}

int livingAndAwake(const Game& g, int group) {
  int count = 0;
  for (int place = 0; place < kMonsterPlaces; ++place) {
    if (isMonsterAlive(g, group, place) && g.BattleMonsters(group, place, MonsterState) == 0) {
      ++count;
    }
  }
  return count;
}

}  // namespace

bool isGroupInUse(const Game& g, int group) {
  return group >= 0 && group < kGroupPlaces && g.GroupMonster(group) >= 0;
}

int groupsInUse(const Game& g) {
  int n = 0;
  while (n < kGroupPlaces && isGroupInUse(g, n)) ++n;
  return n;
}

int groupMonsterOf(const Game& g, int group) {
  return rt::toInt32(g.GroupMonster(group));
}

const std::string& shownGroupName(const Game& g, int group) {
  return g.MonsterName(groupMonsterOf(g, group), rt::toInt32(g.GroupUnknown(group)));
}

bool isMonsterAlive(const Game& g, int group, int place) {
  return g.BattleMonsters(group, place, MonsterHitPoints) >= 1;
}

int monsterTypeOf(const Game& g, int monster) {
  return rt::toInt32(rt::INT(g.MonsterTable(monster, MonsterType) / 1000));
}

int monsterLevelOf(const Game& g, int monster) {
  return rt::toInt32(rt::INT(g.MonsterTable(monster, MonsterLevel) / 100));
}

void monsterLeavesGroup(Game& g, int group, int place) {
  g.BattleMonsters(group, place, MonsterHitPoints) = 0;
  g.GroupCount(group) = std::max(g.GroupCount(group) - 1.0f, 0.0f);
}

bool memberCanActAt(const Game& g, int position) {
  return isAbleToAct(g, rt::toInt32(g.GameState(FirstMember + position - 1)) - 1);
}

int membersAbleToAct(const Game& g) {
  int able = 0;
  for (int p = 1; p <= partySize(g); ++p) {
    if (isAbleToAct(g, memberSlot(g, p))) ++able;
  }
  return able;
}

double battleStat(const Game& g, int position, int stat) {
  return g.BattleParty(position - 1, FirstBattleStat + stat);
}

bool classHasSkill(const Game& g, int slot, Skill skill) {
  return digit(g.ClassTable(classOf(g, slot), ClassSkills), static_cast<int>(skill)) != 0;
}

bool itemSuitsAlignment(const Game& g, int c, int item) {
  const int kind = digit(g.ItemTable(item, ItemKindAndArmour), 1);
  return kind == 0 || !alignmentCodeRefuses(kind, alignmentOf(g, c));
}

bool partyStandsInMud(const Game& g) {
  const double square = g.GameState(Square);
  const int x = rt::toInt32(rt::INT(square / 100));
  const int y = rt::MOD(square, 100);
  return rt::MOD(g.FloorMap(x, y, SquareLayer), 100) == kMudSquare &&
         g.GameState(LevitationEffect) < 2;
}

double randomDraw(Game& g) {
  return g.con.random().RND(1);
}

double dieRoll(Game& g, double sides) {
  return rt::INT(randomDraw(g) * sides + 1);
}

double diceRoll(Game& g, double count, double sides) {
  double total = 0;
  for (int n = 0; n < count; ++n) total += dieRoll(g, sides);
  return total;
}

void printItemsAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items) {
  g.con.LOCATE(column, row);
  for (const rt::PrintItem& item : items) g.con.PRINT(item);
}

void sayAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items) {
  printItemsAt(g, column, row, items);
  TMWAIT(g);
}

void blankActionRows(Game& g, int first, int last) {
  blankArea(g, 12, first, last, 56);
}

void blankArea(Game& g, int column, int first, int last, int width) {
  for (int row = first; row <= last; ++row) blankColumns(g, column, row, width);
}

void clearGroupFrame(Game& g) {
  g.con.graphics().LINE(140, 14, 500, 93, 0, rt::BoxMode::Filled);
}

void rollGroupIdentification(Game& g, int group) {
  if (randomDraw(g) * (g.SysWord(StatScale) * 3) < g.Battle.TopKnowledge * 2) {
    g.GroupUnknown(group) = 0;
  }
}

void drawGroupList(Game& g) {
  for (int group = 0; group < kGroupPlaces; ++group) {
    blankColumns(g, 14, group + 1, 50);
    if (!isGroupInUse(g, group) || g.GroupCount(group) < 1) continue;
    g.con.COLOR(7);
    printAt(g, 20, group + 1, static_cast<float>(group + 1));
    g.con.COLOR(6);
    printAt(g, 24, group + 1, shownGroupName(g, group));
    printItemsAt(
        g, 44, group + 1,
        {g.GroupCount(group), " (行動可能 "_sj, static_cast<float>(livingAndAwake(g, group)), ")"});
  }
}

SpellCharges monsterSpellCharges(int highestLevel, bool singlePool) {
  SpellCharges charges;
  if (highestLevel <= 0) return charges;
  if (singlePool) {
    charges.first = static_cast<float>(2 * highestLevel * highestLevel);
    return charges;
  }
  double first = 0;
  double second = 0;
  for (int level = 1; level <= highestLevel; ++level) {
    const double count = std::min(9, highestLevel - level + 2);
    if (level <= 4) {
      first += count * std::pow(10.0, level - 1);
    } else {
      second += count * std::pow(10.0, level - 5);
    }
  }
  charges.first = static_cast<float>(first);
  charges.second = static_cast<float>(second);
  return charges;
}

void buildMonster(Game& g, int group, int place) {
  const int m = groupMonsterOf(g, group);
  g.MonsterAgility(group, place) = static_cast<float>(
      tableValue(g, m, MonsterAgilityBase, 100) +
      diceRoll(g, tableValue(g, m, MonsterAgilityDice, 10),
               rt::MOD(rt::INT(g.MonsterTable(m, MonsterAgilityDice) / 1000), 10)));
  const double hitPoints = tableValue(g, m, MonsterHitBase, 100) +
                           diceRoll(g, rt::INT(g.MonsterTable(m, MonsterHitDice) / 100),
                                    tableValue(g, m, MonsterHitSides, 100));
  g.BattleMonsters(group, place, MonsterMaxHitPoints) = static_cast<float>(hitPoints);
  g.BattleMonsters(group, place, MonsterHitPoints) = static_cast<float>(hitPoints);
  g.BattleMonsters(group, place, MonsterArmourClass) =
      static_cast<float>(tableValue(g, m, MonsterArmour, 100) - 70);
  g.BattleMonsters(group, place, MonsterSpellResistance) =
      static_cast<float>(rt::INT(g.MonsterTable(m, MonsterResistance) / 100));
  const bool singlePool = g.Setting(SpellPointMode) == kSinglePool;
  const SpellCharges holy =
      monsterSpellCharges(digit(g.MonsterTable(m, MonsterGroupSides), 3), singlePool);
  const SpellCharges magic =
      monsterSpellCharges(digit(g.MonsterTable(m, MonsterGroupDice), 3), singlePool);
  g.BattleMonsters(group, place, HolyCharges) = holy.first;
  g.BattleMonsters(group, place, HolyChargesHigh) = holy.second;
  g.BattleMonsters(group, place, MagicCharges) = magic.first;
  g.BattleMonsters(group, place, MagicChargesHigh) = magic.second;
}

}  // namespace kestrun::game
