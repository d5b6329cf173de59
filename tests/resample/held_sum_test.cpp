#include "resample/held_sum.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

namespace eco {
namespace {

struct Chain {
  const char* name;
  // The next product of two floats, exact in double.
  double (*product)(std::mt19937_64&);
  bool midpoints;  // whether the chain is made to land on float midpoints
};

// Chains of held sums against the float sum rounded once from extended
// precision, step by step: the held sum of this build (a vector register on
// x86-64) and the portable one must give its bits, midpoints included.
TEST(HeldSum, EveryStepRoundsAsTheExtendedSum) {
  const Chain chains[] = {
      // Integer counts: past 2^24 every other sum lies on a float midpoint.
      {"counts past 2^24",
       [](std::mt19937_64& r) { return static_cast<double>(float(r() % 2000) * 1.0f); }, true},
      // Two-decimal densities times small surfaces.
      {"decimal densities",
       [](std::mt19937_64& r) {
         return static_cast<double>(float(r() % 100000) / 100.0f) * static_cast<double>(0.015f);
       },
       false},
      // Ones on a sum of 2^24 or more: every step a tie, rounded to even.
      {"ones past 2^24", [](std::mt19937_64& r) { return r() % 5000 == 0 ? 0x1p24 : 1.0; }, true},
      {"wide spread",
       [](std::mt19937_64& r) {
         return static_cast<double>(std::ldexp(float(1 + r() % 0xFFFFFF), int(r() % 40)) *
                                    static_cast<double>(std::ldexp(1.0f, -int(r() % 40))));
       },
       false},
  };
  std::mt19937_64 rng(7);
  for (const Chain& c : chains) {
    HeldSum held = heldSumOf(0.0);
    double portable = 0.0;
    float want = 0.0f;
    int64_t midpoints = 0;
    for (int step = 0; step < 200000; ++step) {
      const double prod = c.product(rng);
      if (onFloatMidpoint(static_cast<double>(want) + prod)) ++midpoints;
      want = addExtendedSum(want, prod);
      held = addHeldSum(held, prod);
      portable = addHeldSumPortable(portable, prod);
      const uint32_t wantBits = std::bit_cast<uint32_t>(want);
      ASSERT_EQ(std::bit_cast<uint32_t>(static_cast<float>(heldSumValue(held))), wantBits)
          << c.name << " step " << step;
      ASSERT_EQ(std::bit_cast<uint32_t>(static_cast<float>(portable)), wantBits)
          << c.name << " step " << step;
      // The held value is always the float itself, exactly.
      ASSERT_EQ(heldSumValue(held), static_cast<double>(want)) << c.name << " step " << step;
      ASSERT_EQ(portable, static_cast<double>(want)) << c.name << " step " << step;
    }
    if (c.midpoints) {
      EXPECT_GT(midpoints, 1000) << c.name;
    }
  }
}

}  // namespace
}  // namespace eco
