#include "numeric/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace eco {
namespace {

constexpr uint64_t kM1 = 2147483563, kA1 = 40014;
constexpr uint64_t kM2 = 2147483399, kA2 = 40692;

uint64_t inverse(uint64_t a, uint64_t m) {  // a^(m-2) mod m, m prime
  uint64_t r = 1, b = a % m, e = m - 2;
  for (; e > 0; e >>= 1, b = b * b % m)
    if (e & 1) r = r * b % m;
  return r;
}

// The state whose next step lands on (t1, t2).
UniformGenerator before(uint64_t t1, uint64_t t2) {
  UniformGenerator g;
  g.s1 = static_cast<int32_t>(t1 * inverse(kA1, kM1) % kM1);
  g.s2 = static_cast<int32_t>(t2 * inverse(kA2, kM2) % kM2);
  return g;
}

TEST(UniformGenerator, FirstFiveValuesFromTheStartState) {
  UniformGenerator g;
  EXPECT_EQ(g.s1, 2147483562);
  EXPECT_EQ(g.s2, 2147483398);
  const float expected[] = {3.9208680e-07f, 0.025480442f, 0.35251614f, 0.66691446f, 0.96305549f};
  const int32_t z[] = {842, 54718832, 757022662, 1432187887, 2068145925};
  for (int i = 0; i < 5; ++i) {
    const float u = nextUniform(g);
    EXPECT_EQ(u, expected[i]) << i;
    // u is the float nearest to z x 2^-31.
    const double exact = std::ldexp(static_cast<double>(z[i]), -31);
    EXPECT_LE(std::fabs(u - exact), std::fabs(std::nextafter(u, 0.0f) - exact)) << i;
    EXPECT_LE(std::fabs(u - exact), std::fabs(std::nextafter(u, 1.0f) - exact)) << i;
    if (i == 0) {
      EXPECT_EQ(g.s1, 2147443549);
      EXPECT_EQ(g.s2, 2147442707);
    }
  }
}

TEST(UniformGenerator, SmallestOutputIsTwoToMinus31) {
  UniformGenerator g = before(2, 1);  // z = 1
  EXPECT_EQ(nextUniform(g), 0x1p-31f);
  EXPECT_EQ(g.s1, 2);
  EXPECT_EQ(g.s2, 1);
}

TEST(UniformGenerator, LargestOutputStaysBelowOne) {
  UniformGenerator g = before(1000, 1000);  // z = 0 + 2147483562
  EXPECT_EQ(nextUniform(g), 1.0f - 0x1p-24f);
  UniformGenerator h = before(kM1 - 1, 1);  // z = 2147483561
  EXPECT_EQ(nextUniform(h), 1.0f - 0x1p-24f);
}

TEST(UniformGenerator, StateStaysInItsRanges) {
  UniformGenerator g;
  for (int i = 0; i < 200000; ++i) {
    const float u = nextUniform(g);
    ASSERT_GT(u, 0.0f);
    ASSERT_LT(u, 1.0f);
    ASSERT_GE(g.s1, 1);
    ASSERT_LE(g.s1, 2147483562);
    ASSERT_GE(g.s2, 1);
    ASSERT_LE(g.s2, 2147483398);
  }
}

TEST(UniformGenerator, AdvanceMatchesStepping) {
  const uint64_t checkpoints[] = {0, 1, 2, 3, 10, 1000, 65536, 999999, 3000000};
  UniformGenerator stepped;
  uint64_t done = 0;
  for (uint64_t n : checkpoints) {
    for (; done < n; ++done) nextUniform(stepped);
    UniformGenerator jumped;
    advanceUniform(jumped, n);
    EXPECT_EQ(jumped.s1, stepped.s1) << n;
    EXPECT_EQ(jumped.s2, stepped.s2) << n;
  }
}

TEST(UniformGenerator, AdvanceComposesFromAnyState) {
  UniformGenerator a;
  advanceUniform(a, 123456789);
  UniformGenerator b = a;
  advanceUniform(a, 5);
  for (int i = 0; i < 5; ++i) nextUniform(b);
  EXPECT_EQ(a.s1, b.s1);
  EXPECT_EQ(a.s2, b.s2);
  // Each component has a period dividing its modulus minus one.
  UniformGenerator c;
  advanceUniform(c, (kM1 - 1) * (kM2 - 1));
  EXPECT_EQ(c.s1, 2147483562);
  EXPECT_EQ(c.s2, 2147483398);
}

}  // namespace
}  // namespace eco
