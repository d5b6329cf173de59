#pragma once
// The generator's stream for the resampling's inner loop: one step inlined
// where it is drawn, and jumps over whole pseudo-samples, so that any
// pseudo-sample's first random number is known without drawing the ones
// before it.

#include <cstdint>

#include "numeric/random.h"

namespace eco {

// One step, exactly as nextUniform (the same state, the same value).
inline float stepUniform(UniformGenerator& g) {
  int32_t k = g.s1 / 53668;
  g.s1 = 40014 * (g.s1 - k * 53668) - k * 12211;
  if (g.s1 < 0) g.s1 += 2147483563;
  k = g.s2 / 52774;
  g.s2 = 40692 * (g.s2 - k * 52774) - k * 3791;
  if (g.s2 < 0) g.s2 += 2147483399;
  int32_t z = g.s1 - g.s2;
  if (z < 1) z += 2147483562;
  return static_cast<float>(static_cast<double>(z) * 0x1p-31);
}

// The jump j made `times` times over: with j the advance over n steps, the
// advance over times x n steps. Products of residues stay below 2^62, and
// the exponent never needs to be formed (times x n may exceed 64 bits).
inline UniformJump repeatJump(const UniformJump& j, uint64_t times) {
  auto power = [](uint64_t a, uint64_t e, uint64_t m) {
    uint64_t r = 1;
    a %= m;
    while (e > 0) {
      if (e & 1u) r = r * a % m;
      a = a * a % m;
      e >>= 1;
    }
    return static_cast<int64_t>(r);
  };
  return {power(static_cast<uint64_t>(j.a1), times, 2147483563u),
          power(static_cast<uint64_t>(j.a2), times, 2147483399u)};
}

}  // namespace eco
