#include "runtime/random.h"

#include <bit>

namespace kestrun::rt {

namespace {

constexpr uint32_t kMultiplier = 0x7AB34155u;
constexpr uint32_t kIncrement = 0x4C19ABE3u;

// Bits 9..31 of the seed as a fraction of 2^23, built as the single
// 1 + m / 2^23 minus 1 (exact, so never rounded up to 1).
float fractionOf(uint32_t seed) {
  uint32_t mantissa = (seed >> 9) & 0x7FFFFFu;
  float oneToTwo = std::bit_cast<float>(0x3F800000u | mantissa);
  return oneToTwo - 1.0f;
}

}  // namespace

double Random::RND(double x) {
  if (x < 0) {
    uint32_t bits = std::bit_cast<uint32_t>(static_cast<float>(x));
    seed_ = (bits << 16) | (bits >> 16);
  }
  // RND(0) reads the current seed without stepping: the previous value again.
  bool step = x != 0;
  for (;;) {
    if (step) seed_ = seed_ * kMultiplier + kIncrement;
    float value = fractionOf(seed_);
    if (value != 0.0f) return value;
    step = true;
  }
}

void Random::RANDOMIZE(int32_t n) {
  seed_ ^= static_cast<uint32_t>(n);
}

}  // namespace kestrun::rt
