#pragma once
// How the system evaluates its arithmetic, in one place.
//
// Every named quantity is a 32-bit real. A single operation on floats is
// done in float. A formula that combines several operations (a product
// inside a sum, a fourth root, a difference of fourth powers) is evaluated
// with Extended intermediates (numeric/extended.h: a 64-bit significand,
// every step rounded to nearest) and rounded to float once, where its
// result is stored. Sums that are carried in extended precision are
// Extended variables. Nothing here may be contracted into fused
// multiply-adds: the project compiles with -ffp-contract=off.

#include "numeric/extended.h"

namespace eco {

// acc + a x b, rounded once.
inline float addProduct(float acc, float a, float b) {
  return static_cast<float>(static_cast<Extended>(acc) + static_cast<Extended>(a) * b);
}

// The fourth root of a positive value (the square root of the square
// root), 0 for zero, negative values and NaN. Every species profile of
// the system is on this scale.
inline float root4(float x) {
  if (!(x > 0.0f)) return 0.0f;
  return static_cast<float>(sqrt(sqrt(static_cast<Extended>(x))));
}

// x^4 as the square of the square: the back-transformed profile value.
inline float pow4(float x) {
  const Extended sq = static_cast<Extended>(x) * x;
  return static_cast<float>(sq * sq);
}

// p^4 - r^4, each power the square of the square, rounded once.
inline float diffPow4(float p, float r) {
  const Extended p2 = static_cast<Extended>(p) * p;
  const Extended r2 = static_cast<Extended>(r) * r;
  return static_cast<float>(p2 * p2 - r2 * r2);
}

}  // namespace eco
