#include "game/dungeon/encounter.h"

#include "game/battle/fight.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/dungeon/position.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/state/roster_write.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kWentHome = 2500;
constexpr int kKeysDropped = 50;

void wakeTheSleepers(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    float& code = g.CharRec(memberSlot(g, p), Status);
    if (digit(code, 1) == 1) code -= 10;
  }
}

}  // namespace

void clearParty(Game& g) {
  for (int n = 0; n <= 18; ++n) g.GameState(n) = 0;
  for (int row = 0; row < 9; ++row) {
    for (int f = 0; f < BattlePartyFields; ++f) g.BattleParty(row, f) = 0;
  }
  g.CurrentFloor = 0;
}

Flow encounterBattle(Game& g, int kind) {
  g.SysWord(EncounterSource) = static_cast<float>(kind);
  blankColumns(g, 34, 12, 12);
  FIGHT(g);
  if (g.SysWord(Outcome) == kWentHome) {
    g.SysWord(BattleChain) = 0;
    return Flow::Town;
  }
  wakeTheSleepers(g);
  return nobodyStands(g) ? partyLost(g, Catastrophe::WipedOut) : Flow::Cycle;
}

bool nobodyStands(const Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (hasSoundStatus(g.CharRec(memberSlot(g, p), Status))) return false;
  }
  return true;
}

bool partyIsDead(const Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (g.CharRec(memberSlot(g, p), Status) < status::Dead) return false;
  }
  return true;
}

void leaveMembersHere(Game& g) {
  const Place square = partySquare(g);
  const float place = static_cast<float>(partyFacing(g) * 10000 + square.x * 100 + square.y);
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    g.CharRec(c, LevelAndFloor) = static_cast<float>(partyFloor(g) * 1000 + levelOf(g, c));
    g.CharRec(c, LeftAt) = place;
  }
}

Flow partyLost(Game& g, Catastrophe how) {
  rt::Console& con = g.con;
  con.CLS();
  con.COLOR(6);
  const bool rock = how == Catastrophe::InRock;
  if (rock) {
    printAt(g, 31, 11, "岩の中にいる !!"_sj);
  } else {
    printAt(g, 29, 11, "全員倒れてしまった !"_sj);
  }
  TMWAIT(g);
  for (int k = 0; k < kKeysDropped && !con.INKEY().empty(); ++k) {
  }
  printAt(g, 33, 14, "Hit Any Key");
  g.KeyAnswer = con.waitKey();
  const float fate = rock ? status::Lost : status::Dead;
  for (int p = 1; p <= partySize(g); ++p) {
    float& code = g.CharRec(memberSlot(g, p), Status);
    if (rock || code < status::Dead) code = fate;
  }
  leaveMembersHere(g);
  clearParty(g);
  CHWRT(g);
  return Flow::Town;
}

}  // namespace kestrun::game
