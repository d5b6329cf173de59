#pragma once
// The drawn station indices of the resampling, a block at a time: each is
// trunc(n x r) for the next random number r of the generator (n x r formed
// in double, where it is exact: n below 2^29), capped at n - 1.
//
// The generator's two components are chains from step to step, each step a
// few multiplications long. The block forms its steps side by side instead:
// step k from the block's start state is a^k x state (mod m), the powers
// precomputed, so the only chain left is from block to block. The vector
// paths form the block in vectors per component: 8 steps per vector on
// AVX-512, 4 on AVX2, 2 on the portable path (resample/vector128.h: SSE2
// or NEON); the scalar path, and the portable path of a build without
// vectors, step nextUniform. Every path gives the generator's values
// exactly.

#include <cstdint>

#include "numeric/random.h"

namespace eco {

inline constexpr int kStationDrawBlock = 16;
inline constexpr int32_t kStationDrawLimit = int32_t{1} << 29;  // n below this

// Advances g by kStationDrawBlock steps and writes the index of each step,
// in order, to out. Needs 0 < n < kStationDrawLimit.
using StationDrawKernel = void (*)(UniformGenerator& g, int32_t n, int32_t* out);

// Each path's kernel, for resample/path_kernels.cpp to choose from. A build
// without the x86 paths has the portable kernel under their names.
// The scalar path steps nextUniform, the generator's definition, one step
// after the other.
void drawStationsScalar(UniformGenerator& g, int32_t n, int32_t* out);
void drawStationsPortable(UniformGenerator& g, int32_t n, int32_t* out);
void drawStationsAvx2(UniformGenerator& g, int32_t n, int32_t* out);
void drawStationsAvx512(UniformGenerator& g, int32_t n, int32_t* out);

}  // namespace eco
