#include "game/town/retirement.h"

#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

// The member leaves the party and the battle rows of those behind him move
// up with them.
void leavePartyWithBattleRow(Game& g, int position) {
  const int size = partySize(g);
  for (int p = position; p < size; ++p) {
    for (int f = 0; f < BattlePartyFields; ++f) g.BattleParty(p - 1, f) = g.BattleParty(p, f);
  }
  for (int f = 0; f < BattlePartyFields; ++f) g.BattleParty(size - 1, f) = 0;
  leaveParty(g, position);
}

}  // namespace

double ageInDays(const Game& g, int c) {
  return g.CharRec(c, AgeDays) + 32000.0;
}

int lifeSpanYears(const Game& g, int c) {
  if (g.Setting(NoRaces) != 0) return 80;
  return rt::toInt32(g.RaceTable(raceOf(g, c), LifeSpan));
}

bool isPastLifeSpan(const Game& g, int c) {
  return 15 + rt::INT(ageInDays(g, c) / 365) > lifeSpanYears(g, c);
}

void retire(Game& g, int c) {
  g.con.CLS();
  printAt(g, 23, 12, g.CharName(c) + " は高齢のため"_sj);
  printAt(g, 27, 14, "引退しました"_sj);
  g.CharRec(c, Status) = status::Lost;
  printAt(g, 25, 16, "Hit Any Key");
  g.KeyAnswer = g.con.waitKey();
  const int position = partyPositionOf(g, c);
  if (position != 0) leavePartyWithBattleRow(g, position);
}

}  // namespace kestrun::game
