#pragma once
// The extended format in software: a 64-bit significand with an explicit
// leading bit and the exponent range of the x87 format (normal exponents
// -16382..16383, gradual underflow below), every operation rounded once
// to nearest with ties to even. This is what an x87 unit computes with its
// precision control at 64 bits, bit for bit, for every finite, infinite and
// zero operand. A NaN result is a NaN; which NaN (sign, payload) is not
// modelled, since no output tells NaNs apart.
//
// Used where long double is not that format (arm64, MSVC, a 64-bit long
// double); numeric/extended.h chooses.

#include <cstdint>

namespace eco {

struct SoftExtended {
  enum Kind : uint8_t { kZero, kFinite, kInfinity, kNaN };

  // A finite value is (-1)^neg x sig x 2^(exp - 63). sig's top bit is set
  // except below the normal range, where exp is -16382.
  uint64_t sig = 0;
  int32_t exp = 0;
  Kind kind = kZero;
  bool neg = false;

  constexpr SoftExtended() = default;
  SoftExtended(float x);             // exact
  SoftExtended(double x);            // exact
  SoftExtended(int32_t x);           // exact
  SoftExtended(int64_t x);           // exact
  explicit operator float() const;   // rounded to nearest, ties to even
  explicit operator double() const;  // rounded to nearest, ties to even

  friend SoftExtended operator+(const SoftExtended& a, const SoftExtended& b);
  friend SoftExtended operator-(const SoftExtended& a, const SoftExtended& b);
  friend SoftExtended operator*(const SoftExtended& a, const SoftExtended& b);
  friend SoftExtended operator/(const SoftExtended& a, const SoftExtended& b);
  friend SoftExtended operator-(SoftExtended a) {
    a.neg = !a.neg;
    return a;
  }
  SoftExtended& operator+=(const SoftExtended& b) { return *this = *this + b; }
  SoftExtended& operator-=(const SoftExtended& b) { return *this = *this - b; }
  SoftExtended& operator*=(const SoftExtended& b) { return *this = *this * b; }
  SoftExtended& operator/=(const SoftExtended& b) { return *this = *this / b; }

  // IEEE comparisons: every comparison with a NaN is false but !=; -0 == +0.
  friend bool operator==(const SoftExtended& a, const SoftExtended& b);
  friend bool operator<(const SoftExtended& a, const SoftExtended& b);
  friend bool operator!=(const SoftExtended& a, const SoftExtended& b) { return !(a == b); }
  friend bool operator>(const SoftExtended& a, const SoftExtended& b) { return b < a; }
  friend bool operator<=(const SoftExtended& a, const SoftExtended& b) { return a < b || a == b; }
  friend bool operator>=(const SoftExtended& a, const SoftExtended& b) { return b < a || a == b; }
};

// The square root, rounded once (NaN for values below -0, -0 for -0).
SoftExtended sqrt(const SoftExtended& x);
// The integer part (towards zero); NaN, infinities and values beyond the
// 64-bit range give INT64_MIN, as the x87 conversion does.
int64_t truncToInt64(const SoftExtended& x);
bool isNaN(const SoftExtended& x);

// The 80-bit memory image of the x87 format: the significand in the low 8
// bytes, sign and biased exponent in the next 2 (little-endian order).
// Lets tests and the native branch exchange values bit for bit.
struct ExtendedImage {
  uint64_t significand = 0;
  uint16_t signExponent = 0;
};
ExtendedImage imageOf(const SoftExtended& x);  // NaN as the x87 default NaN
SoftExtended fromImage(const ExtendedImage& image);

}  // namespace eco
