#pragma once
// A fixed jump of the uniform generator, precomputed once and applied in
// constant time: the state after n steps is a^n x state for each component.

#include <cstdint>

#include "numeric/random.h"

namespace eco {

struct UniformJump {
  int64_t a1 = 1;  // 40014^n mod 2147483563
  int64_t a2 = 1;  // 40692^n mod 2147483399
};

UniformJump makeUniformJump(uint64_t n);
// The state n steps after `from`.
UniformGenerator jumped(const UniformGenerator& from, const UniformJump& jump);

}  // namespace eco
