// The block kernels of the drawn station indices against the generator
// stepped one value at a time, on every path the machine has: the same
// indices, and the same state after the block.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "numeric/random.h"
#include "resample/path_kernels.h"
#include "stats/long_tests.h"

namespace eco {
namespace {

using test::inputs;
using test::kAllPaths;

// The index the draws take for r: trunc(n x r) in double, capped at n - 1.
int32_t indexOf(int32_t n, float r) {
  const int32_t i = static_cast<int32_t>(static_cast<double>(n) * r);
  return i < n ? i : n - 1;
}

// One block from g by the kernel and by stepping, compared.
void checkBlock(KernelPath path, const UniformGenerator& g, int32_t n) {
  UniformGenerator stepped = g, blocked = g;
  int32_t want[kStationDrawBlock], got[kStationDrawBlock];
  for (int32_t& i : want) i = indexOf(n, nextUniform(stepped));
  pathKernels(path).stations(blocked, n, got);
  for (int k = 0; k < kStationDrawBlock; ++k) {
    ASSERT_EQ(got[k], want[k]) << kernelPathName(path) << " n " << n << " step " << k << " from "
                               << g.s1 << ", " << g.s2;
  }
  ASSERT_EQ(blocked.s1, stepped.s1) << kernelPathName(path);
  ASSERT_EQ(blocked.s2, stepped.s2) << kernelPathName(path);
}

// The state one step before the one given: each component times the
// inverse of its multiplier.
UniformGenerator stepBack(const UniformGenerator& g) {
  auto back = [](int64_t s, int64_t a, int64_t m) {
    int64_t inv = 1, b = a, e = m - 2;  // a^(m-2) = a^-1 (mod m), m prime
    for (; e > 0; e >>= 1, b = b * b % m) {
      if (e & 1) inv = inv * b % m;
    }
    return static_cast<int32_t>(s * inv % m);
  };
  return {back(g.s1, kUniformA1, kUniformM1), back(g.s2, kUniformA2, kUniformM2)};
}

constexpr int32_t kStationCounts[] = {1,   2,    3,     7,        60,
                                      300, 1250, 65537, 20000000, kStationDrawLimit - 1};

TEST(StationDraws, BlocksMatchTheGeneratorStepByStep) {
  uint64_t x = 0x2545F4914F6CDD1Dull;  // xorshift64 for the states
  auto next = [&x] {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return x;
  };
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) {
      std::printf("skipped: this machine has no %s\n", kernelPathName(path));
      continue;
    }
    // From the start state on, one block after the other, as the draws go.
    for (int32_t n : kStationCounts) {
      UniformGenerator g;
      for (int b = 0; b < 200; ++b) {
        checkBlock(path, g, n);
        advanceUniform(g, kStationDrawBlock);
      }
    }
    // From random states, with random station counts.
    const long count = inputs(100000, 20000000);
    for (long t = 0; t < count; ++t) {
      UniformGenerator g;
      g.s1 = static_cast<int32_t>(1 + next() % (kUniformM1 - 1));
      g.s2 = static_cast<int32_t>(1 + next() % (kUniformM2 - 1));
      const int32_t n = static_cast<int32_t>(1 + next() % (kStationDrawLimit - 1));
      checkBlock(path, g, n);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

// The values at the edges of the generator's range at every step of a
// block: z = s1 - s2 equal to 0 (wrapped to the largest value, whose r
// rounds to 1 - 2^-24 and so takes the last station), 1 (the smallest r),
// and the largest components.
TEST(StationDraws, EdgesOfTheRangeAtEveryStepOfABlock) {
  const UniformGenerator edges[] = {
      {1000, 1000},                      // z = 0
      {2, 1},                            // z = 1
      {kUniformM1 - 1, 1},               // z = m1 - 2
      {1, kUniformM2 - 1},               // z < 0
      {kUniformM1 - 1, kUniformM2 - 1},  // the start state
  };
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) {
      std::printf("skipped: this machine has no %s\n", kernelPathName(path));
      continue;
    }
    for (const UniformGenerator& edge : edges) {
      // The block in which step k lands on the edge state.
      UniformGenerator g = stepBack(edge);
      for (int k = 0; k < kStationDrawBlock; ++k) {
        for (int32_t n : kStationCounts) checkBlock(path, g, n);
        g = stepBack(g);
      }
    }
  }
}

// The largest r, 1 - 2^-24, takes the last station, never n, wherever n x r
// is above n - 1 (n up to 2^24).
TEST(StationDraws, LargestValueTakesTheLastStation) {
  const UniformGenerator edge{1000, 1000};  // z = 0: r = 1 - 2^-24
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) continue;
    for (int32_t n : {1, 2, 300, 65537, 1 << 24}) {
      UniformGenerator g = stepBack(edge);
      int32_t got[kStationDrawBlock];
      pathKernels(path).stations(g, n, got);
      EXPECT_EQ(got[0], n - 1) << kernelPathName(path) << " n " << n;
    }
  }
}

}  // namespace
}  // namespace eco
