#include <functional>

#include "game/battle/battle_common.h"
#include "game/battle/chest_parts.h"
#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/stat_rules.h"
#include "game/dungeon/position.h"
#include "game/spells/spell_effects.h"
#include "game/state/floor_load.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

// What each chest trap does to the party.
namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr float kPoisoned = 1001;

double scale(const Game& g) {
  return g.SysWord(StatScale);
}

double luckOf(const Game& g, int position) {
  return battleStat(g, position, Luck);
}

float& statusAt(Game& g, int position) {
  return g.CharRec(memberSlot(g, position), Status);
}

// The member loses hit points; below 1 he dies, unless he was dead already.
void hurt(Game& g, int position, double damage) {
  const int c = memberSlot(g, position);
  float& hp = g.CharRec(c, HitPoints);
  hp = static_cast<float>(hp - damage);
  if (hp >= 1) return;
  hp = 0;
  if (g.CharRec(c, Status) >= status::Dead) return;
  g.CharRec(c, Status) = status::Dead;
  blankColumns(g, 24, 10, 30);
  sayAt(g, 24, 10, {g.CharName(c), " は死んだ"_sj});
}

// Every member who fails the save `luckTimes` x Luck >
// RND x stat scale x scaleTimes suffers `effect`.
void strikeTheUnlucky(Game& g, double luckTimes, double scaleTimes,
                      const std::function<void(int)>& effect) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (luckTimes * luckOf(g, p) > randomDraw(g) * (scale(g) * scaleTimes)) continue;
    effect(p);
  }
}

// The dead, spirits and the lost are beyond poison.
void poison(float& code) {
  if (code >= status::Dead) return;
  code = static_cast<float>(rt::MOD(code, 1000) + 1000 + rt::INT(code / 10000) * 10000);
}

void paralyse(float& code) {
  code = static_cast<float>(rt::INT(code / 1000) * 1000 + 100 + rt::MOD(code, 100));
}

void petrify(float& code) {
  code = static_cast<float>(status::Petrified + rt::MOD(code, 10000));
}

// The casters of one kind are paralysed, or turned to stone when their
// class knows nothing else and their luck fails them.
void stiffenCasters(Game& g, Skill kind, Skill other) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (statusAt(g, p) > 12000 || !classHasSkill(g, c, kind)) continue;
    if (luckOf(g, p) > randomDraw(g) * (scale(g) * 5)) continue;
    const bool more = classHasSkill(g, c, Skill::Thief) || classHasSkill(g, c, other) ||
                      classHasSkill(g, c, Skill::Combat);
    if (more || 2 * luckOf(g, p) > randomDraw(g) * 100) {
      paralyse(statusAt(g, p));
    } else {
      petrify(statusAt(g, p));
    }
  }
}

void stiffenThieves(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (statusAt(g, p) > 9999 || !classHasSkill(g, memberSlot(g, p), Skill::Thief)) continue;
    if (2 * luckOf(g, p) > randomDraw(g) * (scale(g) * 5)) continue;
    if (randomDraw(g) * 9 > 3) {
      paralyse(statusAt(g, p));
    } else {
      petrify(statusAt(g, p));
    }
  }
}

// The party is thrown to a random square of the nearest open floor at or
// above this one; no open floor, no move.
void throwElsewhere(Game& g) {
  for (int floor = partyFloor(g); floor >= 1; --floor) {
    if (!isFloorOpen(g, floor)) continue;
    const bool otherFloor = floor != partyFloor(g);
    setFloor(g, floor);
    if (otherFloor) FLREAD(g);
    const int x = rt::toInt32(rt::INT(randomDraw(g) * kFloorSize));
    const int y = rt::toInt32(rt::INT(randomDraw(g) * kFloorSize));
    setSquare(g, {x, y});
    g.GameState(PreviousFloorAndFacing) = g.GameState(FloorAndFacing);
    g.GameState(PreviousSquare) = g.GameState(Square);
    return;
  }
}

// One item, carried rather than worn when the draws allow, is lost.
void loseAnItem(Game& g, int c) {
  const int slots = itemSlotCount(g);
  for (;;) {
    const int j = rt::toInt32(rt::INT(randomDraw(g) * slots + 1));
    const float value = itemSlot(g, c, j);
    if (itemNumber(value) == 0 && randomDraw(g) * 50 > 1) continue;
    if (isEquipped(value) && randomDraw(g) * 8 > 4) continue;
    removeItem(g, c, j);
    return;
  }
}

// Every spell point digit that is not 0 drops by one.
int32_t drained(int32_t points) {
  int32_t result = 0;
  for (int32_t unit = 1, k = 0; k <= 8; ++k, unit *= 10) {
    const int d = digit(points, k);
    result += (d > 0 ? d - 1 : 0) * unit;
  }
  return result + points / 1000000000 * 1000000000;
}

int randomMember(Game& g) {
  return rt::toInt32(rt::INT(randomDraw(g) * partySize(g) + 1));
}

// A stat of one member drops by one; a stat already at 0 stays there.
void weakenSomeone(Game& g) {
  const int c = memberSlot(g, randomMember(g));
  const int k = rt::toInt32(rt::INT(randomDraw(g) * 4));
  const int stat = randomDraw(g) < 0.5 ? 2 * k + 1 : 2 * k;
  const int value = statOf(g, c, stat);
  if (value > 0) setStat(g, c, stat, value - 1);
  g.SysWord(ActingSlot) = static_cast<float>(c);
  NCHEC(g);
}

void makeASpirit(Game& g) {
  bool anyone = false;
  for (int p = 1; p <= partySize(g); ++p) anyone = anyone || statusAt(g, p) <= status::Spirit;
  if (!anyone) return;
  int p = randomMember(g);
  while (statusAt(g, p) > status::Spirit) p = randomMember(g);
  statusAt(g, p) = status::Spirit;
  sayAt(g, 24, 10, {g.CharName(memberSlot(g, p)), " は霊魂になった"_sj});
}

}  // namespace

void springTrap(Game& g, int trap, int victim) {
  switch (trap) {
    case 0:
      statusAt(g, victim) = kPoisoned;
      break;
    case 1:
      hurt(g, victim, rt::INT(randomDraw(g) * 15 + randomDraw(g) * 15 + randomDraw(g) * 15 + 3));
      break;
    case 2:
      for (int p = 1; p <= partySize(g); ++p)
        hurt(g, p, rt::INT(g.CharRec(memberSlot(g, p), MaxHitPoints) / 10));
      break;
    case 3:
      strikeTheUnlucky(g, 3, 5, [&](int p) { poison(statusAt(g, p)); });
      break;
    case 4:
      strikeTheUnlucky(g, 3, 5, [&](int p) {
        hurt(g, p, rt::INT(g.CharRec(memberSlot(g, p), MaxHitPoints) / 5 + randomDraw(g) * 2));
      });
      break;
    case 5:
      g.SysWord(BattleChain) = 1;
      break;
    case 6:
      stiffenCasters(g, Skill::Magic, Skill::Holy);
      break;
    case 7:
      stiffenCasters(g, Skill::Holy, Skill::Magic);
      break;
    case 8:
      stiffenThieves(g);
      break;
    case 9:
      throwElsewhere(g);
      break;
    case 10:
      strikeTheUnlucky(g, 7, 10, [&](int p) { loseAnItem(g, memberSlot(g, p)); });
      break;
    case 11:
      strikeTheUnlucky(g, 3, 5, [&](int p) {
        const int c = memberSlot(g, p);
        g.CharLong(c, HolyPoints) = drained(g.CharLong(c, HolyPoints));
        g.CharLong(c, MagicPoints) = drained(g.CharLong(c, MagicPoints));
      });
      break;
    case 12:
      strikeTheUnlucky(g, 3, 5, [&](int p) {
        float& age = g.CharRec(memberSlot(g, p), AgeDays);
        age = static_cast<float>(age + 365 + rt::INT(randomDraw(g) * 1000));
      });
      break;
    case 13:
      weakenSomeone(g);
      break;
    case 14:
      makeASpirit(g);
      break;
    default:
      break;
  }
}

}  // namespace kestrun::game
