#pragma once
// The run's only source of randomness: the combined multiplicative
// congruential generator of L'Ecuyer (1988), never seeded, so every run
// draws the same stream.

#include <cstdint>

namespace eco {

// The two components: s -> a s (mod m).
inline constexpr int32_t kUniformA1 = 40014, kUniformM1 = 2147483563;
inline constexpr int32_t kUniformA2 = 40692, kUniformM2 = 2147483399;

struct UniformGenerator {
  int32_t s1 = 2147483562;
  int32_t s2 = 2147483398;
};

// One step: advances the state and returns a value in (0, 1). Inline: the
// resampling's inner loop takes one per drawn station.
inline float nextUniform(UniformGenerator& g) {
  // Schrage's decomposition keeps every intermediate within 32 bits:
  // s1 = 40014 x s1 mod 2147483563, s2 = 40692 x s2 mod 2147483399.
  int32_t k = g.s1 / 53668;
  g.s1 = 40014 * (g.s1 - k * 53668) - k * 12211;
  if (g.s1 < 0) g.s1 += 2147483563;

  k = g.s2 / 52774;
  g.s2 = 40692 * (g.s2 - k * 52774) - k * 3791;
  if (g.s2 < 0) g.s2 += 2147483399;

  int32_t z = g.s1 - g.s2;
  if (z < 1) z += 2147483562;
  // z x 2^-31 is exact in double; the one rounding is to float, and the
  // largest z gives 1 - 2^-24, never 1.
  return static_cast<float>(static_cast<double>(z) * 0x1p-31);
}

// Advances the state by n steps exactly as n calls of nextUniform would,
// in O(log n).
void advanceUniform(UniformGenerator& g, uint64_t n);

// A fixed jump, precomputed once and applied in constant time: the state
// n steps on is a^n x state (mod m) for each component.
struct UniformJump {
  int64_t a1 = 1;  // 40014^n mod 2147483563
  int64_t a2 = 1;  // 40692^n mod 2147483399
};
UniformJump makeUniformJump(uint64_t n);
// The state n steps after `from`, for the n of the jump.
UniformGenerator jumped(const UniformGenerator& from, const UniformJump& jump);
// The jump j made `times` times over: with j the advance over n steps, the
// advance over times x n steps (the exponent times x n is never formed, so
// it may exceed 64 bits).
UniformJump repeatJump(const UniformJump& j, uint64_t times);

}  // namespace eco
