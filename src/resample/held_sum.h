#pragma once
// A float sum held in a double over a chain of additions: each step adds
// the exact product prod and rounds the sum to float on its bits (half a
// float unit added, the bits below float precision cleared), as the held
// rows of the species kernels round (resample/sum_kernels.cpp). The
// caller guarantees that every sum is 0 or a normal float. A sum on a
// midpoint between floats is redone in extended precision. The chain from
// step to step is then an addition and two integer operations, where the
// conversions to double and back take twice as long.
//
// On x86-64 the sum stays in a vector register, so that the chain never
// moves between register files; elsewhere it is a plain double, its bits
// taken by bit_cast. Both give the same bits.

#include <bit>
#include <cstdint>

#include "numeric/exact_float.h"
#include "resample/kernel_path.h"

#if ECO_X86_KERNELS
#include <immintrin.h>
#endif

namespace eco {

inline double addHeldSumPortable(double held, double prod) {
  const uint64_t up = std::bit_cast<uint64_t>(held + prod) + kFloatMidpointTail;
  if ((up & kFloatTailMask) == 0) [[unlikely]] {
    return addExtendedSum(static_cast<float>(held), prod);
  }
  return std::bit_cast<double>(up & ~kFloatTailMask);
}

#if ECO_X86_KERNELS

using HeldSum = __m128d;

inline HeldSum addHeldSum(HeldSum held, double prod) {
  const __m128i half = _mm_set1_epi64x(static_cast<int64_t>(kFloatMidpointTail));
  const __m128i keep = _mm_set1_epi64x(~static_cast<int64_t>(kFloatTailMask));
  const __m128i up = _mm_add_epi64(_mm_castpd_si128(_mm_add_sd(held, _mm_set_sd(prod))), half);
  if ((_mm_cvtsi128_si64(up) & static_cast<int64_t>(kFloatTailMask)) == 0) [[unlikely]] {
    return _mm_set_sd(addExtendedSum(static_cast<float>(_mm_cvtsd_f64(held)), prod));
  }
  return _mm_castsi128_pd(_mm_and_si128(up, keep));
}
inline HeldSum heldSumOf(double x) { return _mm_set_sd(x); }
inline double heldSumValue(HeldSum h) { return _mm_cvtsd_f64(h); }

#else

using HeldSum = double;

inline HeldSum addHeldSum(HeldSum held, double prod) { return addHeldSumPortable(held, prod); }
inline HeldSum heldSumOf(double x) { return x; }
inline double heldSumValue(HeldSum h) { return h; }

#endif

}  // namespace eco
