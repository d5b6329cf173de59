#pragma once
// Float sums held in doubles over a chain of additions: each step adds the
// exact product prod and rounds the sum to float on its bits (half a float
// unit added, the bits below float precision cleared), as the held rows of
// the species kernels round (resample/sum_kernels.cpp). The caller
// guarantees that every sum is 0 or a normal float. A sum on a midpoint
// between floats is redone in extended precision. The chain from step to
// step is then an addition and two integer operations, where the
// conversions to double and back take twice as long.
//
// The draws hold two such sums side by side, a pseudo-sample's density and
// biomass totals: one vector of the baseline vectors (resample/vector128.h)
// where there are any, two plain doubles elsewhere. Both give the same bits.

#include <bit>
#include <cstdint>

#include "numeric/exact_float.h"
#include "resample/vector128.h"

namespace eco {

inline double addHeldSumPortable(double held, double prod) {
  const uint64_t up = std::bit_cast<uint64_t>(held + prod) + kFloatMidpointTail;
  if ((up & kFloatTailMask) == 0) [[unlikely]] {
    return addExtendedSum(static_cast<float>(held), prod);
  }
  return std::bit_cast<double>(up & ~kFloatTailMask);
}

#if ECO_VECTOR128

struct HeldPair {
  v128::D2 sums;
};

inline HeldPair heldPairOf(double first, double second) {
  alignas(16) const double v[2] = {first, second};
  return {v128::load(v)};
}
inline double heldFirst(HeldPair h) {
  alignas(16) double v[2];
  v128::store(v, h.sums);
  return v[0];
}
inline double heldSecond(HeldPair h) {
  alignas(16) double v[2];
  v128::store(v, h.sums);
  return v[1];
}

// Both sums plus prod[0] and prod[1]; on a midpoint in either, both are
// redone in extended precision (which gives the other its rounding too).
inline HeldPair addHeldPair(HeldPair held, const double* prod) {
  const v128::U2 up = v128::add64(v128::bits(v128::add(held.sums, v128::load(prod))),
                                  v128::splat64(kFloatMidpointTail));
  if (v128::anyEqualUnder(up, up, kFloatTailMask, 0)) [[unlikely]] {
    return heldPairOf(addExtendedSum(static_cast<float>(heldFirst(held)), prod[0]),
                      addExtendedSum(static_cast<float>(heldSecond(held)), prod[1]));
  }
  return {v128::fromBits(v128::clear(up, v128::splat64(kFloatTailMask)))};
}

#else

struct HeldPair {
  double first, second;
};

inline HeldPair heldPairOf(double first, double second) { return {first, second}; }
inline double heldFirst(HeldPair h) { return h.first; }
inline double heldSecond(HeldPair h) { return h.second; }
inline HeldPair addHeldPair(HeldPair held, const double* prod) {
  return {addHeldSumPortable(held.first, prod[0]), addHeldSumPortable(held.second, prod[1])};
}

#endif

}  // namespace eco
