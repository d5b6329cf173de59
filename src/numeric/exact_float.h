#pragma once
// Double-precision shortcuts that give exactly the float results of the
// extended-precision evaluation (numeric/evaluation.h), with the tests
// that tell when a shortcut cannot be trusted and the extended evaluation
// must be made instead.
//
// Why they are exact. The product of two floats (24-bit significands) is
// exact in double. A sum acc + prod that is then rounded to float is
// rounded twice, first to the working precision (53 bits in double, 64 in
// extended), then to 24 bits. Rounding to a grid that contains every float
// and every midpoint between neighbouring floats cannot move a value across
// such a midpoint, so both double roundings give the correctly rounded
// float, unless the first rounding lands exactly on a midpoint. And if the
// 64-bit rounding lands on a midpoint, so does the 53-bit one (the midpoint
// is the nearest 53-bit value as well). So: when the double result is not a
// float midpoint (its low 29 significand bits are not 1 followed by zeros)
// and lies in the normal float range, it rounds to the extended result;
// otherwise the extended evaluation is made.

#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "numeric/evaluation.h"

namespace eco {

inline constexpr uint64_t kFloatTailMask = 0x1FFFFFFFu;      // double bits below float precision
inline constexpr uint64_t kFloatMidpointTail = 0x10000000u;  // ... of a midpoint between floats
inline constexpr double kSmallestNormalFloat = 0x1p-126;
inline constexpr double kFloatOverflowGuard = 0x1p127;

inline uint64_t doubleBits(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// True when rounding x to float would be a tie.
inline bool onFloatMidpoint(double x) {
  return (doubleBits(x) & kFloatTailMask) == kFloatMidpointTail;
}

// float(acc + prod) rounded once from extended precision, prod the exact
// product of two floats: addProduct's value, and the fallback of the
// shortcuts below.
inline float addExtendedSum(float acc, double prod) {
  return static_cast<float>(static_cast<Extended>(acc) + static_cast<Extended>(prod));
}

// float(acc + prod), prod the exact product of two floats, as addProduct
// evaluates it, for any values (zero, subnormal, infinite, NaN included).
inline float addExactProduct(float acc, double prod) {
  const double r = static_cast<double>(acc) + prod;
  const double mag = std::fabs(r);
  if ((mag >= kSmallestNormalFloat && mag < kFloatOverflowGuard && !onFloatMidpoint(r)) ||
      r == 0.0) {
    return static_cast<float>(r);
  }
  return addExtendedSum(acc, prod);
}

// The same when the caller knows that the result lies in the normal float
// range (or is 0): only the midpoint needs a test.
inline float addExactProductInRange(float acc, double prod) {
  const double r = static_cast<double>(acc) + prod;
  assert(r == 0.0 || (std::fabs(r) >= kSmallestNormalFloat && std::fabs(r) < kFloatOverflowGuard));
  return onFloatMidpoint(r) ? addExtendedSum(acc, prod) : static_cast<float>(r);
}

// Whether the exact product p (of two floats) is itself a float: then
// float(acc + p), rounded once from extended precision, is the float
// addition acc + p. That sum is exact in extended precision whenever the
// two exponents lie at most 40 apart (24 + 40 bits); further apart, the
// smaller term is below 2^-39 of the larger one, which is a float, so the
// exact sum lies far from every midpoint between floats and no rounding
// can reach one. Either way both round to the same float.
inline bool isFloatValue(double p) {
  return std::fabs(p) <= 0x1.fffffep127 && static_cast<double>(static_cast<float>(p)) == p;
}

// Whether a double sum of non-negative float terms, formed in any order,
// is exactly their sum in extended precision in sequence. The terms are
// multiples of the smallest positive term's unit in the last place; when
// the sum is at most 2^28 times that term, every partial sum in any order
// fits 53 bits and nothing is ever rounded. The test asks for 2^27 so that
// the rounding of the tested sum itself cannot let an inexact one pass.
inline bool floatSumExact(double sum, double smallestPositiveTerm) {
  return sum == 0.0 || sum <= 0x1p27 * smallestPositiveTerm;
}

// Whether the double fourth root y may round to a float other than the
// extended one. Each of the two square roots is within half a unit of 53
// bits, so y lies within 1.5 units of the true root, and the extended root
// far closer; only a y within a few units of a float midpoint can round
// differently. The margin is generous.
inline constexpr uint64_t kRootMargin = 16;
inline bool rootNearMidpoint(double y) {
  const uint64_t tail = doubleBits(y) & kFloatTailMask;
  return tail - (kFloatMidpointTail - kRootMargin) <= 2 * kRootMargin;
}

// root4 (evaluation.h) by double square roots, exact by the margin test.
inline float root4Exact(float x) {
  if (!(x > 0.0f)) return 0.0f;
  const double y = std::sqrt(std::sqrt(static_cast<double>(x)));
  if (rootNearMidpoint(y)) return root4(x);
  return static_cast<float>(y);
}

}  // namespace eco
