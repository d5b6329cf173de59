#include "numeric/random_jump.h"

namespace eco {
namespace {

constexpr int64_t kM1 = 2147483563, kA1 = 40014;
constexpr int64_t kM2 = 2147483399, kA2 = 40692;

// Products of two residues below 2^31 fit in 63 bits.
int64_t powMod(int64_t a, uint64_t n, int64_t m) {
  int64_t result = 1;
  a %= m;
  while (n > 0) {
    if (n & 1u) result = result * a % m;
    a = a * a % m;
    n >>= 1;
  }
  return result;
}

}  // namespace

UniformJump makeUniformJump(uint64_t n) { return {powMod(kA1, n, kM1), powMod(kA2, n, kM2)}; }

UniformGenerator jumped(const UniformGenerator& from, const UniformJump& jump) {
  UniformGenerator g;
  g.s1 = static_cast<int32_t>(jump.a1 * from.s1 % kM1);
  g.s2 = static_cast<int32_t>(jump.a2 * from.s2 % kM2);
  return g;
}

}  // namespace eco
