#include "game/battle/battle_common.h"

#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/spells/spell_effects.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

bool classHasSkill(const Game& g, int slot, Skill skill) {
  return digit(g.ClassTable(classOf(g, slot), ClassSkills), static_cast<int>(skill)) != 0;
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

bool groupInUse(const Game& g, int group) {
  return group >= 0 && group < kGroupPlaces && g.GroupMonster(group) >= 0;
}

int groupsInUse(const Game& g) {
  int n = 0;
  while (n < kGroupPlaces && groupInUse(g, n)) ++n;
  return n;
}

bool monsterAlive(const Game& g, int group, int index) {
  return groupInUse(g, group) && g.BattleMonsters(group, index, MonsterHitPoints) >= 1;
}

void rollGroupIdentification(Game& g, int group) {
  const double draw = g.con.random().RND(1) * (g.SysWord(StatScale) * 3);
  if (draw < g.Battle.TopKnowledge * 2) g.GroupUnknown(group) = 0;
}

namespace {

int awakeMonsters(const Game& g, int group) {
  int awake = 0;
  for (int i = 0; i < kMonsterPlaces; ++i) {
    if (monsterAlive(g, group, i) && g.BattleMonsters(group, i, MonsterState) == 0) ++awake;
  }
  return awake;
}

}  // namespace

void showGroupList(Game& g) {
  rt::Console& con = g.con;
  for (int group = 0; group < kGroupPlaces; ++group) {
    blankColumns(g, 14, group + 1, 50);
    if (!groupInUse(g, group) || g.GroupCount(group) < 1) continue;
    con.COLOR(7);
    printAt(g, 20, group + 1, static_cast<int16_t>(group + 1));
    con.COLOR(6);
    printAt(g, 24, group + 1, monsterName(g, group));
    printItemsAt(g, 44, group + 1,
                 {g.GroupCount(group), " (行動可能 "_sj,
                  static_cast<int16_t>(awakeMonsters(g, group)), ")"});
  }
}

void printItemsAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items) {
  g.con.LOCATE(column, row);
  for (const rt::PrintItem& item : items) g.con.PRINT(item);
}

void sayAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items) {
  printItemsAt(g, column, row, items);
  TMWAIT(g);
}

void clearGroupFrame(Game& g) {
  g.con.graphics().LINE(140, 14, 500, 93, 0, rt::BoxMode::Filled);
}

void blankArea(Game& g, int column, int first, int last, int width) {
  for (int row = first; row <= last; ++row) blankColumns(g, column, row, width);
}

}  // namespace kestrun::game
