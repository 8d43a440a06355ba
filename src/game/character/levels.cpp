#include "game/character/levels.h"

#include <cmath>

#include "game/state/game.h"

namespace kestrun::game {

namespace {

constexpr double kExperienceLimit = 1000000000;

// factor^exponent, where a missing factor (an undefined class) gives 0
// instead of an infinite value for negative exponents.
double grown(double base, double factor, int exponent) {
  if (factor == 0) return exponent == 0 ? base : 0;
  return base * std::pow(factor, exponent);
}

}  // namespace

double experienceTableValue(const Game& g, int cls, int level) {
  const double base = g.ClassTable(cls, 12);
  const double factor = g.ClassExpFactor(cls);
  const int linearFrom = rt::toInt32(g.Setting(58));
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
  return std::fmod(std::nearbyint(value), kExperienceLimit);
}

}  // namespace kestrun::game
