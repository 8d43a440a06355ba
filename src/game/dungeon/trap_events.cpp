#include <algorithm>

#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/upkeep.h"
#include "game/dungeon/dungeon_screen.h"
#include "game/dungeon/square_event_parts.h"
#include "game/dungeon/square_events.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

std::string trapText(int code) {
  switch (code) {
    case square::Pit:
      return "落とし穴だ !"_sj;
    case square::Rockfall:
      return "  落盤だ !"_sj;
    case square::PoisonPool:
      return " 毒の池だ !"_sj;
    default:
      return " 毒の霧だ !"_sj;
  }
}

// A member escapes the worst when his Agility and Luck in battle beat the
// draw.
double evasion(const Game& g, int position) {
  return g.BattleParty(position - 1, FirstBattleStat + Agility) +
         g.BattleParty(position - 1, FirstBattleStat + Luck);
}

double evasionDraw(Game& g) {
  return g.con.random().RND() * g.SysWord(StatScale) * 3;
}

void announceDeath(Game& g, int c) {
  printAt(g, 26, 10, g.CharName(c) + " は死んだ"_sj);
  TMWAIT(g);
  TMWAIT(g);
  blankColumns(g, 24, 10, 40);
}

void fall(Game& g, int position) {
  const int c = memberSlot(g, position);
  const bool evaded = evasion(g, position) > evasionDraw(g);
  const int percent = rt::MOD(g.Setting(ArmourAndTrapDamage), 1000);
  float& hp = g.CharRec(c, HitPoints);
  hp = rt::toSingle(hp - fallDamage(g.CharRec(c, MaxHitPoints), percent, evaded, hp));
  g.con.LOCATE(55, position + 15);
  g.con.PRINT_USING("####", {hp});
  if (hp < 1 && g.CharRec(c, Status) < status::Dead) {
    g.CharRec(c, Status) = status::Dead;
    announceDeath(g, c);
  }
}

void poison(Game& g, int position) {
  const int c = memberSlot(g, position);
  float& code = g.CharRec(c, Status);
  if (evasion(g, position) < evasionDraw(g) && code < status::Petrified) {
    code = static_cast<float>(1000 + rt::MOD(code, 1000));
  }
}

}  // namespace

double fallDamage(double maxHitPoints, int percent, bool evaded, double hitPoints) {
  double damage = rt::INT(maxHitPoints * percent / 100);
  if (evaded) damage = rt::INT(damage / 2);
  return std::min(std::max(damage, 1.0), hitPoints);
}

Flow springTrap(Game& g, int code) {
  openMessageWindow(g);
  g.con.COLOR(6);
  printAt(g, 34, 9, trapText(code));
  printAt(g, 34, 12, "Hit Any Key");
  g.KeyAnswer = g.con.waitKey();
  const bool falls = code == square::Pit || code == square::Rockfall;
  for (int p = 1; p <= partySize(g); ++p) {
    if (falls) {
      fall(g, p);
    } else {
      poison(g, p);
    }
  }
  closeMessageWindow(g);
  CCHEC2(g);
  refreshView(g);
  return Flow::KeyWait;
}

}  // namespace kestrun::game
