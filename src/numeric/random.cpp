#include "numeric/random.h"

namespace eco {
namespace {

constexpr int32_t kA1 = 40014, kM1 = 2147483563;
constexpr int32_t kA2 = 40692, kM2 = 2147483399;

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

UniformJump makeUniformJump(uint64_t n) {
  return {static_cast<int64_t>(powMod(kA1, n, kM1)), static_cast<int64_t>(powMod(kA2, n, kM2))};
}

UniformGenerator jumped(const UniformGenerator& from, const UniformJump& jump) {
  UniformGenerator g;
  g.s1 = static_cast<int32_t>(jump.a1 * from.s1 % kM1);
  g.s2 = static_cast<int32_t>(jump.a2 * from.s2 % kM2);
  return g;
}

UniformJump repeatJump(const UniformJump& j, uint64_t times) {
  return {static_cast<int64_t>(powMod(static_cast<uint64_t>(j.a1), times, kM1)),
          static_cast<int64_t>(powMod(static_cast<uint64_t>(j.a2), times, kM2))};
}

void advanceUniform(UniformGenerator& g, uint64_t n) { g = jumped(g, makeUniformJump(n)); }

}  // namespace eco
