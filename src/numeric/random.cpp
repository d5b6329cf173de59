#include "numeric/random.h"

namespace eco {
namespace {

constexpr int32_t kA1 = 40014, kM1 = 2147483563, kQ1 = 53668, kR1 = 12211;
constexpr int32_t kA2 = 40692, kM2 = 2147483399, kQ2 = 52774, kR2 = 3791;

// a^n mod m; every residue is below 2^31, so products fit in 64 bits.
uint64_t powMod(uint64_t a, uint64_t n, uint64_t m) {
  uint64_t result = 1;
  a %= m;
  while (n > 0) {
    if (n & 1u) result = result * a % m;
    a = a * a % m;
    n >>= 1;
  }
  return result;
}

}  // namespace

float nextUniform(UniformGenerator& g) {
  // Schrage's decomposition keeps every intermediate within 32 bits.
  int32_t k = g.s1 / kQ1;
  g.s1 = kA1 * (g.s1 - k * kQ1) - k * kR1;
  if (g.s1 < 0) g.s1 += kM1;

  k = g.s2 / kQ2;
  g.s2 = kA2 * (g.s2 - k * kQ2) - k * kR2;
  if (g.s2 < 0) g.s2 += kM2;

  int32_t z = g.s1 - g.s2;
  if (z < 1) z += kM1 - 1;
  // z x 2^-31 is exact in double; the one rounding is to float, and the
  // largest z gives 1 - 2^-24, never 1.
  return static_cast<float>(static_cast<double>(z) * 0x1p-31);
}

UniformJump makeUniformJump(uint64_t n) {
  return {static_cast<int64_t>(powMod(kA1, n, kM1)), static_cast<int64_t>(powMod(kA2, n, kM2))};
}

UniformGenerator jumped(const UniformGenerator& from, const UniformJump& jump) {
  UniformGenerator g;
  g.s1 = static_cast<int32_t>(jump.a1 * from.s1 % kM1);
  g.s2 = static_cast<int32_t>(jump.a2 * from.s2 % kM2);
  return g;
}

void advanceUniform(UniformGenerator& g, uint64_t n) { g = jumped(g, makeUniformJump(n)); }

}  // namespace eco
