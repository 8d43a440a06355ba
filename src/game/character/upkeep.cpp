#include "game/character/upkeep.h"

#include <algorithm>
#include <utility>

#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kPanelTop = 15;
constexpr int kMarkColumn = 54;
// The battle rows that travel with a member when the party is reordered.
constexpr int kBattleRows = 9;

bool panelShown(const Game& g) {
  return g.SysWord(DisplayMode) < 2;
}

void mark(Game& g, int position, const char* sign) {
  g.con.LOCATE(kMarkColumn, kPanelTop + position);
  g.con.PRINT(sign);
}

void showHitPoints(Game& g, int position, int c) {
  rt::Console& con = g.con;
  con.LOCATE(55, kPanelTop + position);
  con.PRINT_USING("####@", {g.CharRec(c, HitPoints), std::string(" /")});
  con.LOCATE(61, kPanelTop + position);
  con.PRINT(g.CharRec(c, MaxHitPoints));
}

// One member's step; true when he died of it.
bool upkeepOf(Game& g, int position) {
  const int c = memberSlot(g, position);
  const Regeneration items = regenerationOf(g, c);
  float& hp = g.CharRec(c, HitPoints);
  const float maximum = g.CharRec(c, MaxHitPoints);
  const bool poisoned = digit(g.CharRec(c, Status), 3) == 1;
  const bool healingHolds = items.plus > 0 && hp < weakLine(maximum);
  const bool tookPoison = poisoned && !healingHolds;
  if (tookPoison) {
    const double resistance = 2.0 * statOf(g, c, Health) + statOf(g, c, Luck);
    const double draw = g.con.random().RND() * (g.SysWord(StatScale) * 5 + 10);
    hp = rt::toSingle(hp - poisonDamage(maximum, resistance, draw));
  }
  if (items.net() < 1 && hp >= weakLine(maximum)) hp = rt::toSingle(hp + items.net());
  if (panelShown(g) && (items.net() < 0 || tookPoison)) mark(g, position, "-");
  if (items.net() > 0) {
    g.BattleParty(position - 1, RegenerationTotal) = rt::toSingle(items.net());
    if (panelShown(g)) mark(g, position, "+");
  }
  hp = std::min(hp, maximum);
  const bool died = hp < 0;
  if (died) {
    hp = 0;
    g.CharRec(c, Status) = status::Dead;
  }
  if (panelShown(g)) showHitPoints(g, position, c);
  return died;
}

void swapBattleRows(Game& g, int a, int b) {
  for (int f = 0; f < BattlePartyFields; ++f) std::swap(g.BattleParty(a, f), g.BattleParty(b, f));
}

// Positions a and b (1-based) change places, with their battle rows.
void swapMembers(Game& g, int a, int b) {
  std::swap(g.GameState(a), g.GameState(b));
  swapBattleRows(g, a - 1, b - 1);
}

// The member at `position` leaves: the later members, their battle rows and
// their entries in BattleOrder move up one place.
void dropMember(Game& g, int position) {
  const int size = partySize(g);
  for (int p = position; p < size; ++p) {
    g.GameState(p) = g.GameState(p + 1);
    for (int f = 0; f < BattlePartyFields; ++f) g.BattleParty(p - 1, f) = g.BattleParty(p, f);
    g.BattleOrder(p - 1) = g.BattleOrder(p);
  }
  g.GameState(size) = 0;
  for (int f = 0; f < BattlePartyFields; ++f) g.BattleParty(size - 1, f) = 0;
  if (size <= 8) g.BattleOrder(size - 1) = 0;
  g.GameState(MemberCount) = static_cast<float>(size - 1);
}

void dropTheLost(Game& g) {
  for (int p = 1; p <= partySize(g);) {
    const int c = memberSlot(g, p);
    if (g.CharRec(c, Status) < status::Lost) {
      ++p;
      continue;
    }
    g.CharRec(c, LevelAndFloor) = 0;
    g.CharRec(c, LeftAt) = 0;
    g.CharRec(c, HitPoints) = 0;
    dropMember(g, p);
    p = 1;
  }
}

// Passes over neighbouring places until none swaps: a member for whom
// `behind(front, back)` holds moves behind the one after him.
template <typename Rule>
void moveBack(Game& g, Rule behind) {
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int p = 1; p < partySize(g); ++p) {
      const float front = g.CharRec(memberSlot(g, p), Status);
      const float back = g.CharRec(memberSlot(g, p + 1), Status);
      if (!behind(front, back)) continue;
      swapMembers(g, p, p + 1);
      swapped = true;
    }
  }
}

// The state word at column 69 of a clean-up panel line, or "".
std::string stateWord(float code) {
  if (code == status::Lost) return "消失"_sj;
  if (code == status::Spirit) return "霊魂"_sj;
  if (code == status::Dead) return "死亡"_sj;
  if (code == status::Petrified) return "石化"_sj;
  if (digit(code, 2) == 1) return "麻痺"_sj;
  if (digit(code, 1) == 1) return "眠り"_sj;
  return "";
}

void showCleanedLine(Game& g, int position) {
  rt::Console& con = g.con;
  const int c = memberSlot(g, position);
  const int row = kPanelTop + position;
  con.LOCATE(9, row);
  con.PRINT(rt::SPACE(70));
  con.LOCATE(13, row);
  con.PRINT(g.CharName(c));
  if (g.Setting(AlignmentsUsed) == 1) {
    con.LOCATE(31, row);
    con.PRINT(g.AlignmentLetter(alignmentOf(g, c)));
  }
  con.LOCATE(35, row);
  con.PRINT(g.ClassName(classOf(g, c)));
  con.LOCATE(49, row);
  con.PRINT(
      rt::toSingle(g.BattleParty(position - 1, BattleArmourClass) - g.CharRec(c, ArmourModifier)));
  showHitPoints(g, position, c);
  con.LOCATE(69, row);
  con.PRINT(stateWord(g.CharRec(c, Status)));
  if (digit(g.CharRec(c, Status), 3) == 1) mark(g, position, "-");
}

}  // namespace

Regeneration regenerationOf(const Game& g, int c) {
  Regeneration r;
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const int item = itemNumber(itemSlot(g, c, slot));
    const double value = rt::MOD(g.ItemTable(item, ItemRegeneration), 100) - 50;
    (value > 0 ? r.plus : r.minus) += value;
  }
  return r;
}

double poisonDamage(double maxHitPoints, double healthTwiceAndLuck, double resistDraw) {
  double damage = rt::INT(maxHitPoints / 10);
  if (healthTwiceAndLuck > resistDraw) damage = rt::INT(damage * 2 / 3);
  return std::max(damage, 1.0);
}

double weakLine(double maxHitPoints) {
  return rt::INT(maxHitPoints / 5 + 1);
}

void CCHEC(Game& g) {
  bool someoneDied = false;
  for (int p = 1; p <= partySize(g); ++p) someoneDied = upkeepOf(g, p) || someoneDied;
  // The clean-up reorders the party, so it waits until every member had
  // his step.
  if (someoneDied) CCHEC2(g);
}

void CCHEC2(Game& g) {
  dropTheLost(g);
  moveBack(g, [](float front, float back) { return front >= status::Dead && back <= 12000; });
  moveBack(g,
           [](float front, float back) { return !hasSoundStatus(front) && hasSoundStatus(back); });
  if (g.SysWord(DisplayMode) == 2) return;
  if (g.SysWord(DisplayMode) == 5) g.SysWord(DisplayMode) = 2;
  g.con.COLOR(6);
  for (int p = 1; p <= partySize(g); ++p) showCleanedLine(g, p);
}

void CCHEC4(Game& g) {
  const int size = std::min(partySize(g), kBattleRows - 1);
  for (int p = 1; p <= size; ++p) {
    const float wanted = g.BattleOrder(p - 1);
    if (g.GameState(p) == wanted) continue;
    for (int q = p + 1; q <= size; ++q) {
      if (g.GameState(q) != wanted) continue;
      swapMembers(g, p, q);
      break;
    }
  }
}

}  // namespace kestrun::game
