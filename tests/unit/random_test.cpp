#include "runtime/random.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace kestrun::rt {
namespace {

constexpr float kScale = 1.0f / 8388608.0f;  // 2^-23

TEST(RandomTest, FollowsTheGameSequenceFromTheInitialSeed) {
  Random random;
  EXPECT_EQ(random.seed(), 204u);
  random.RANDOMIZE(0);
  EXPECT_EQ(random.RND(1), 620765 * kScale);
  EXPECT_EQ(random.seed(), 0x12F1BB9Fu);
  EXPECT_EQ(random.RND(1), 7771819 * kScale);
  EXPECT_NEAR(7771819 * kScale, 0.9264730f, 1e-7f);
  EXPECT_EQ(random.seed(), 0xED2D56AEu);
}

TEST(RandomTest, RandomizeXorsTheSeed) {
  Random random;
  random.RANDOMIZE(5);
  EXPECT_EQ(random.seed(), 204u ^ 5u);
  random.RANDOMIZE(-1);
  EXPECT_EQ(random.seed(), ~(204u ^ 5u));
}

TEST(RandomTest, ZeroRepeatsThePreviousValueWithoutStepping) {
  Random random;
  float first = random.RND(1);
  uint32_t seed = random.seed();
  EXPECT_EQ(random.RND(0), first);
  EXPECT_EQ(random.RND(0), first);
  EXPECT_EQ(random.seed(), seed);
  EXPECT_NE(random.RND(1), first);
}

TEST(RandomTest, NegativeArgumentReseedsFromTheSingleBits) {
  // -1.0f is 0xBF800000; its halves exchanged give the seed 0x0000BF80.
  Random a;
  EXPECT_EQ(a.RND(-1), 3259488 * kScale);
  EXPECT_EQ(a.seed(), 0x6378C163u);

  Random b;
  b.RANDOMIZE(12345);
  b.RND(1);
  EXPECT_EQ(b.RND(-1), 3259488 * kScale);
  EXPECT_EQ(b.RND(1), a.RND(1));
  EXPECT_EQ(Random().RND(-2.5), 639179 * kScale);
}

TEST(RandomTest, NeverProducesZero) {
  // This RANDOMIZE leaves a seed whose next step has bits 9..31 all zero; the
  // generator must step once more.
  Random random;
  random.RANDOMIZE(-1774602575);
  EXPECT_EQ(random.RND(1), 1904536 * kScale);
  EXPECT_EQ(random.seed(), 0x3A1F3117u);

  Random many;
  for (int i = 0; i < 100000; ++i) {
    float value = many.RND(1);
    ASSERT_GT(value, 0.0f);
    ASSERT_LT(value, 1.0f);
  }
}

TEST(RandomTest, ScaledDrawsAreComputedInDoublePrecision) {
  // Fractions just below a whole multiple: rounded to a single, RND x n
  // would reach the next whole number.
  struct Case {
    uint32_t m;
    int n;
    double whole;
  };
  for (Case c : {Case{1090519, 100, 12}, Case{61117, 7000, 50}, Case{427819, 1000, 50},
                 Case{850352, 365, 36}, Case{4567131, 90, 48}}) {
    Random random;
    makeNextFraction(random, c.m);
    EXPECT_EQ(std::floor(random.RND(1) * c.n), c.whole) << c.m;
    EXPECT_EQ(random.RND(0), c.m / 8388608.0);
    const float single = static_cast<float>(random.RND(0)) * static_cast<float>(c.n);
    EXPECT_EQ(std::floor(single), c.whole + 1);
  }
}

}  // namespace
}  // namespace kestrun::rt
