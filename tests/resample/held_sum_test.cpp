#include "resample/held_sum.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
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
// precision, step by step: the pair of held sums of this build (a vector
// on x86-64 and arm64), each chain once in each lane beside another, and
// the portable held sum must give its bits, midpoints included.
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
  constexpr std::size_t kChains = std::size(chains);
  for (std::size_t i = 0; i < kChains; ++i) {
    const Chain* lane[2] = {&chains[i], &chains[(i + 1) % kChains]};
    // Each chain draws from its own generator, the same in either lane.
    std::mt19937_64 rng[2] = {std::mt19937_64(7 + i), std::mt19937_64(7 + (i + 1) % kChains)};
    HeldPair held = heldPairOf(0.0, 0.0);
    double portable = 0.0;
    float want[2] = {0.0f, 0.0f};
    int64_t midpoints[2] = {0, 0};
    for (int step = 0; step < 200000; ++step) {
      double prod[2];
      for (int l = 0; l < 2; ++l) {
        prod[l] = lane[l]->product(rng[l]);
        if (onFloatMidpoint(static_cast<double>(want[l]) + prod[l])) ++midpoints[l];
        want[l] = addExtendedSum(want[l], prod[l]);
      }
      held = addHeldPair(held, prod);
      portable = addHeldSumPortable(portable, prod[0]);
      // The held values are always the floats themselves, exactly.
      ASSERT_EQ(heldFirst(held), static_cast<double>(want[0])) << lane[0]->name << " step " << step;
      ASSERT_EQ(heldSecond(held), static_cast<double>(want[1]))
          << lane[1]->name << " step " << step;
      ASSERT_EQ(portable, static_cast<double>(want[0])) << lane[0]->name << " step " << step;
    }
    for (int l = 0; l < 2; ++l) {
      if (lane[l]->midpoints) {
        EXPECT_GT(midpoints[l], 1000) << lane[l]->name;
      }
    }
  }
}

}  // namespace
}  // namespace eco
