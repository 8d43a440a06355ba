#pragma once

#include "game/state/file_format.h"
#include "runtime/values.h"

namespace kestrun::game::format {

// The offsets added to stored numbers. MOD is the game's MOD: both operands
// rounded to whole numbers, the remainder truncated toward zero.
inline double gridOffset(const GridMask& m, double key, int i, int j) {
  return rt::MOD(key, m.M + i) + m.D + rt::MOD(i * j, m.P);
}
inline double linearOffset(const LinearMask& m, double key, int n) {
  return rt::MOD(key, m.M + n) + m.D + n * m.Q;
}
inline double cycleOffset(const CycleMask& m, double key, int n) {
  return rt::MOD(key, m.M + n) + m.D + rt::MOD(n * m.Q, m.P);
}
inline double fixedOffset(const FixedMask& m, double key) {
  return rt::MOD(key, m.M) + m.D;
}

}  // namespace kestrun::game::format
