#include "numeric/random.h"

namespace eco {
namespace {

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
  return {static_cast<int64_t>(powMod(kUniformA1, n, kUniformM1)),
          static_cast<int64_t>(powMod(kUniformA2, n, kUniformM2))};
}

UniformGenerator jumped(const UniformGenerator& from, const UniformJump& jump) {
  UniformGenerator g;
  g.s1 = static_cast<int32_t>(jump.a1 * from.s1 % kUniformM1);
  g.s2 = static_cast<int32_t>(jump.a2 * from.s2 % kUniformM2);
  return g;
}

UniformJump repeatJump(const UniformJump& j, uint64_t times) {
  return {static_cast<int64_t>(powMod(static_cast<uint64_t>(j.a1), times, kUniformM1)),
          static_cast<int64_t>(powMod(static_cast<uint64_t>(j.a2), times, kUniformM2))};
}

void advanceUniform(UniformGenerator& g, uint64_t n) { g = jumped(g, makeUniformJump(n)); }

}  // namespace eco
