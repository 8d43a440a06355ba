#include "game/dungeon/fountain.h"

#include <algorithm>

#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/upkeep.h"
#include "game/dungeon/dungeon_screen.h"
#include "game/dungeon/position.h"
#include "game/dungeon/square_event_parts.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kClasses = 15;
constexpr int kStatusKinds = 6;
// The statuses a fountain gives: normal, paralysed, poisoned, petrified,
// dead, spirit.
constexpr float kStatuses[kStatusKinds] = {1, 101, 1001, 10000, 20000, 25000};
// A packed stat has two digits.
constexpr int kStatCeiling = 99;

double draw(Game& g) {
  return g.con.random().RND();
}

bool classExists(const Game& g, int cls) {
  return cls >= 0 && cls < kClasses && rt::MOD(g.ClassTable(cls, ClassSkills), 10) != 0;
}

int newClass(Game& g, const FountainEffect& e) {
  if (e.direction < 2 && classExists(g, e.value)) return e.value;
  int cls = 0;
  do {
    cls = rt::toInt32(rt::INT(draw(g) * kClasses));
  } while (!classExists(g, cls));
  return cls;
}

void setClass(Game& g, int c, int cls) {
  float& identity = g.CharRec(c, Identity);
  identity = static_cast<float>(rt::INT(identity / 100) * 100 + cls);
}

void setAlignment(Game& g, int c, int alignment) {
  float& identity = g.CharRec(c, Identity);
  identity = static_cast<float>(withDigit(identity, 2, alignment));
}

void setStatus(Game& g, int c, const FountainEffect& e, double chance) {
  const int kind = e.direction == 1 ? e.value : 1 + rt::toInt32(rt::INT(chance * kStatusKinds));
  if (kind >= 1 && kind <= kStatusKinds) g.CharRec(c, Status) = kStatuses[kind - 1];
}

}  // namespace

int fountainSign(int direction, double chance) {
  if (direction == 3) return chance < 0.5 ? 1 : -1;
  return 3 - 2 * direction;
}

int fountainStatLimit(const Game& g, int c, int stat) {
  const float setting = g.Setting(PlayStatLimit);
  if (g.Setting(NoRaces) == 1 || setting < 40) return rt::toInt32(setting);
  const float adjustments = g.Setting(FirstSexAdjustment + 2 * sexOf(g, c) + stat / 4);
  const int adjustment = digit(adjustments, stat % 4) - 5;
  return rt::toInt32(g.RaceTable(raceOf(g, c), FirstRaceStat + stat) + adjustment + setting - 50);
}

int changedStat(int stat, int amount, int limit) {
  if (stat + amount > limit) amount = limit - stat;
  return std::clamp(stat + amount, 0, kStatCeiling);
}

void applyFountain(Game& g, int c, const FountainEffect& e) {
  const int sign = fountainSign(e.direction, e.direction == 3 ? draw(g) : 0);
  switch (e.effect) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8: {
      const int stat = e.effect - 1;
      setStat(g, c, stat,
              changedStat(statOf(g, c, stat), e.amount * sign, fountainStatLimit(g, c, stat)));
      break;
    }
    case 9:
      setClass(g, c, newClass(g, e));
      break;
    case 10:
      g.CharRec(c, AgeDays) += static_cast<float>(e.amount * 365 * sign);
      break;
    case 11:
      setAlignment(g, c, e.direction == 1 ? e.value : 1 + rt::toInt32(rt::INT(draw(g) * 3)));
      break;
    case 12:
      g.CharRec(c, HitPoints) = g.CharRec(c, MaxHitPoints);
      break;
    case 13:
      g.CharLong(c, HolyPoints) = g.CharLong(c, HolyPointsMax);
      g.CharLong(c, MagicPoints) = g.CharLong(c, MagicPointsMax);
      break;
    case 14:
      setStatus(g, c, e, e.direction == 1 ? 0 : draw(g));
      break;
    default:
      break;
  }
}

Flow drinkFromFountain(Game& g) {
  openMessageWindow(g);
  g.con.COLOR(6);
  printAt(g, 34, 8, "泉があります"_sj);
  showMemberRange(g, 34, 12, "0  -", "    0 で戻る"_sj);
  const int position = askMember(g, 28, 10, "だれが入りますか ?  "_sj);
  if (position == 0) {
    closeMessageWindow(g);
    return Flow::KeyWait;
  }
  const int c = memberSlot(g, position);
  blankColumns(g, 19, 10, 60);
  printAt(g, 28, 10, g.CharName(c) + " に何かが起こった"_sj);
  TMWAIT(g);
  closeMessageWindow(g);
  applyFountain(g, c,
                {squareParameter(g, SquareLayer), squareParameter(g, WestBoundary),
                 squareParameter(g, SouthBoundary), squareParameter(g, ExtraLayer)});
  CCHEC2(g);
  g.con.CLS();
  refreshView(g);
  return Flow::KeyWait;
}

}  // namespace kestrun::game
