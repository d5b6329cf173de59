#pragma once
// The arithmetic of the straightforward evaluation: long double on the x87
// unit, written out here so that the reference the tests compare against
// shares nothing with the program's own evaluation model.

#include <cfloat>
#include <cmath>

static_assert(LDBL_MANT_DIG == 64, "the reference evaluation needs the 80-bit long double");

namespace eco {

inline float x87AddProduct(float acc, float a, float b) {
  return static_cast<float>(static_cast<long double>(acc) + static_cast<long double>(a) * b);
}

inline float x87Root4(float x) {
  if (!(x > 0.0f)) return 0.0f;
  return static_cast<float>(std::sqrt(std::sqrt(static_cast<long double>(x))));
}

inline float x87DiffPow4(float p, float r) {
  const long double p2 = static_cast<long double>(p) * p;
  const long double r2 = static_cast<long double>(r) * r;
  return static_cast<float>(p2 * p2 - r2 * r2);
}

}  // namespace eco
