#pragma once

#include <cstdint>

namespace kestrun::rt {

// The game's random generator: a 32-bit linear congruential seed, starting at
// 204. Every session with the same seed and the same keys plays the same.
class Random {
 public:
  // RND(x): x = 0 repeats the previous value; x < 0 reseeds from the bits of x
  // as a single; then the seed steps. The result lies in (0, 1). It is a
  // single's value handed out as a double, so that an expression such as
  // RND x 100 is computed in double precision, not rounded to a single.
  double RND(double x = 1);
  // RANDOMIZE n: the seed is XORed with n.
  void RANDOMIZE(int32_t n);

  uint32_t seed() const { return seed_; }

 private:
  uint32_t seed_ = 204;
};

}  // namespace kestrun::rt
