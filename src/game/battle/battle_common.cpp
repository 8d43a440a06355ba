#include "game/battle/battle_common.h"

#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

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

void sayAt(Game& g, int column, int row, std::initializer_list<rt::PrintItem> items) {
  g.con.LOCATE(column, row);
  for (const rt::PrintItem& item : items) g.con.PRINT(item);
  TMWAIT(g);
}

void clearGroupFrame(Game& g) {
  g.con.graphics().LINE(140, 14, 500, 93, 0, rt::BoxMode::Filled);
}

void blankArea(Game& g, int column, int first, int last, int width) {
  for (int row = first; row <= last; ++row) blankColumns(g, column, row, width);
}

}  // namespace kestrun::game
