// The generator's jumps over whole pseudo-samples, and the station index in
// double precision.
#include <gtest/gtest.h>

#include <cstdint>

#include "long_tests.h"
#include "numeric/evaluation.h"
#include "numeric/random.h"

namespace eco {
namespace {

TEST(UniformStream, RepeatedJumpIsTheJumpOverTheProduct) {
  const UniformGenerator start{123456789, 987654321};
  for (uint64_t perSample : {0ull, 1ull, 6ull, 2500ull, 40000ull}) {
    const UniformJump jump = makeUniformJump(perSample);
    for (uint64_t times : {0ull, 1ull, 2ull, 1999ull, 2000ull * 1250ull}) {
      const UniformGenerator a = jumped(start, repeatJump(jump, times));
      UniformGenerator b = start;
      advanceUniform(b, perSample * times);
      EXPECT_EQ(a.s1, b.s1) << perSample << " x " << times;
      EXPECT_EQ(a.s2, b.s2) << perSample << " x " << times;
    }
  }
  // Beyond 64 bits of steps the exponent is never formed: 2^40 pseudo-samples
  // of 2^40 steps each, against the same jump squared 40 times.
  const UniformJump big = makeUniformJump(uint64_t{1} << 40);
  UniformJump squared = big;
  for (int i = 0; i < 40; ++i) squared = repeatJump(squared, 2);
  const UniformGenerator c = jumped(start, squared);
  const UniformGenerator d = jumped(start, repeatJump(big, uint64_t{1} << 40));
  EXPECT_EQ(c.s1, d.s1);
  EXPECT_EQ(c.s2, d.s2);
}

// n x r needs 24 + 29 bits below 2^29 stations: exact in double.
TEST(UniformStream, StationIndexInDoubleBelowTwoToTheTwentyNine) {
  UniformGenerator g;
  const long n = test::inputs(2000000, 200000000);
  for (long i = 0; i < n; ++i) {
    const float r = nextUniform(g);
    const int64_t stations = 1 + static_cast<int64_t>(nextUniform(g) * 536870910.0);
    ASSERT_EQ(static_cast<int64_t>(static_cast<double>(stations) * r),
              static_cast<int64_t>(static_cast<long double>(stations) * r));
  }
  const float largest = 0x1.fffffep-1f;  // the generator's largest value
  for (int64_t stations : {int64_t{7}, (int64_t{1} << 29) - 1}) {
    const int64_t i = static_cast<int64_t>(static_cast<double>(stations) * largest);
    EXPECT_EQ(i, static_cast<int64_t>(static_cast<long double>(stations) * largest));
    EXPECT_LT(i, stations);
  }
}

}  // namespace
}  // namespace eco
