#pragma once
// The run's only source of randomness: the combined multiplicative
// congruential generator of L'Ecuyer (1988), never seeded, so every run
// draws the same stream.

#include <cstdint>

namespace eco {

struct UniformGenerator {
  int32_t s1 = 2147483562;
  int32_t s2 = 2147483398;
};

// One step: advances the state and returns a value in (0, 1).
float nextUniform(UniformGenerator& g);

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

}  // namespace eco
