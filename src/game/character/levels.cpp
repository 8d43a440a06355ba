#include "game/character/levels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "game/character/carried_items.h"
#include "game/character/money.h"
#include "game/character/party_members.h"
#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

namespace {

// factor^exponent, where a missing factor (an undefined class) gives 0
// instead of an infinite value for negative exponents.
double grown(double base, double factor, int exponent) {
  if (factor == 0) return exponent == 0 ? base : 0;
  return base * std::pow(factor, exponent);
}

// A threshold beyond the 32-bit range cannot be reached (experience stops at
// 1,000,000,000), so it stays at the largest value instead of overflowing.
double asThreshold(double value) {
  return std::min(std::nearbyint(value), double{std::numeric_limits<int32_t>::max()});
}

// The base multiplied by the factor `times` times, each product rounded to a
// whole number on the way.
double multipliedStepwise(double base, double factor, int times) {
  double t = base;
  for (int k = 0; k < times; ++k) t = asThreshold(t * factor);
  return t;
}

void comeHome(Game& g, int c) {
  g.CharRec(c, LevelAndFloor) = static_cast<float>(levelOf(g, c));
  g.CharRec(c, LeftAt) = 0;
  g.CharRec(c, ArmourModifier) = 0;
  float& code = g.CharRec(c, Status);
  if (code > 2000) return;
  if (g.Setting(PoisonCharge) == 0) code = static_cast<float>(rt::MOD(code, 1000));
  if (g.Setting(ParalysisCharge) == 0) code = rt::toSingle(rt::INT(code / 1000) * 1000 + 1);
}

// The first member who is not exactly sound, or 0.
int firstUnsoundMember(const Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (g.CharRec(memberSlot(g, p), Status) != status::Normal) return p;
  }
  return 0;
}

}  // namespace

double experienceTableValue(const Game& g, int cls, int level) {
  const double base = g.ClassTable(cls, ClassExpBase);
  const double factor = g.ClassExpFactor(cls);
  const int linearFrom = rt::toInt32(g.Setting(LinearLevel));
  double value = base;
  if (level > 2 && level < linearFrom + 2) {
    value = grown(base, factor, level - 2);
  } else if (level > 2) {
    const double high = grown(base, factor, linearFrom - 1);
    const double low = grown(base, factor, linearFrom - 2);
    value = high + (high - low) * (level - linearFrom - 1);
  }
  // The remainder is taken on the whole number, so that thresholds beyond the
  // 32-bit range wrap instead of overflowing.
  return std::fmod(std::nearbyint(value), kExperienceAndGoldCap);
}

void LVCALC(Game& g) {
  const int c = rt::toInt32(g.SysWord(ActingSlot));
  const int cls = classOf(g, c);
  const double base = asThreshold(g.ClassTable(cls, ClassExpBase));
  const double factor = g.ClassExpFactor(cls);
  const int linearFrom = rt::toInt32(g.Setting(LinearLevel));
  const int next = levelOf(g, c) + 1;
  if (next <= 2 || next < linearFrom + 2) {
    g.WorkLong(NextLevelExperience) = rt::toInt32(multipliedStepwise(base, factor, next - 2));
    return;
  }
  const double high = multipliedStepwise(base, factor, linearFrom - 1);
  const double low = multipliedStepwise(base, factor, linearFrom - 2);
  g.WorkLong(NextLevelExperience) =
      rt::toInt32(asThreshold(high + (high - low) * (next - linearFrom - 1)));
}

void GTAK(Game& g) {
  double total = 0;
  for (int p = 1; p <= partySize(g); ++p) total += g.CharLong(memberSlot(g, p), Gold);
  if (total > kExperienceAndGoldCap) return;
  for (int p = 1; p <= partySize(g); ++p) g.CharLong(memberSlot(g, p), Gold) = 0;
  g.CharLong(rt::toInt32(g.SysWord(ActingSlot)), Gold) = rt::toInt32(total);
}

// The remains of a broken item are carried, never worn.
void ITBR(Game& g) {
  float& slot =
      itemSlot(g, rt::toInt32(g.SysWord(ActingSlot)), rt::toInt32(g.SysWord(BreakingSlot)));
  const bool identified = isIdentified(slot) || !identificationUsed(g);
  const double remains = rt::INT(g.ItemTable(itemNumber(slot), ItemWeightAndBreak) / 100);
  slot = rt::toSingle(remains + (identified ? kIdentifiedMark : 0));
}

void KIKAN(Game& g) {
  for (int n = FloorAndFacing; n <= TimedEffect; ++n) g.GameState(n) = 0;
  for (int p = 1; p <= partySize(g); ++p) comeHome(g, memberSlot(g, p));
  while (const int p = firstUnsoundMember(g)) leaveParty(g, p);
}

}  // namespace kestrun::game
