#pragma once

#include <cstdint>
#include <string>

#include "runtime/errors.h"
#include "runtime/random.h"
#include "runtime/textscreen.h"

namespace kestrun::rt {

// The code of the run-time error the action raises, or 0 when it raises none.
template <typename Action>
int errorCodeOf(Action&& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.code();
  }
  return 0;
}

// One row of the text grid as its bytes, trailing blanks removed.
inline std::string rowText(const TextScreen& screen, int row) {
  std::string bytes;
  for (int c = 0; c < kColumns; ++c) bytes.push_back(static_cast<char>(screen.cell(c, row).ch));
  bytes.erase(bytes.find_last_not_of(' ') + 1);
  return bytes;
}

// Sets the generator so that its next RND(1) is m / 2^23: the seed that
// steps to m in bits 9..31 (the step undone with the multiplier's inverse).
inline void makeNextFraction(Random& random, uint32_t m) {
  constexpr uint32_t kMultiplier = 0x7AB34155u;
  constexpr uint32_t kIncrement = 0x4C19ABE3u;
  uint32_t inverse = kMultiplier;  // Newton's steps, each doubling the bits right
  for (int i = 0; i < 5; ++i) inverse *= 2u - kMultiplier * inverse;
  const uint32_t before = (m << 9) - kIncrement;
  random.RANDOMIZE(static_cast<int32_t>(random.seed() ^ (before * inverse)));
}

}  // namespace kestrun::rt
