#pragma once
// The extended format on an x87 unit: long double where it is the 80-bit
// format (64-bit significand), on x86 with a GNU-compatible compiler. The
// same interface as SoftExtended, each operation the unit's own, so that
// the program computes at native speed there. The results are those of
// SoftExtended only while the unit's precision control is at 64 bits and
// it rounds to nearest: ensureExtendedPrecision() sees to that in every
// thread that computes.

#include <cfloat>
#include <cmath>
#include <cstdint>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__) && LDBL_MANT_DIG == 64
#define ECO_HAS_X87_EXTENDED 1
#else
#define ECO_HAS_X87_EXTENDED 0
#endif

#if ECO_HAS_X87_EXTENDED
#include <cstring>

#include "numeric/soft_extended.h"

namespace eco {

struct NativeExtended {
  long double v = 0;

  constexpr NativeExtended() = default;
  constexpr NativeExtended(float x) : v(x) {}
  constexpr NativeExtended(double x) : v(x) {}
  constexpr NativeExtended(int32_t x) : v(x) {}
  constexpr NativeExtended(int64_t x) : v(static_cast<long double>(x)) {}
  static NativeExtended of(long double x) {
    NativeExtended r;
    r.v = x;
    return r;
  }
  explicit operator float() const { return static_cast<float>(v); }
  explicit operator double() const { return static_cast<double>(v); }

  friend NativeExtended operator+(NativeExtended a, NativeExtended b) { return of(a.v + b.v); }
  friend NativeExtended operator-(NativeExtended a, NativeExtended b) { return of(a.v - b.v); }
  friend NativeExtended operator*(NativeExtended a, NativeExtended b) { return of(a.v * b.v); }
  friend NativeExtended operator/(NativeExtended a, NativeExtended b) { return of(a.v / b.v); }
  friend NativeExtended operator-(NativeExtended a) { return of(-a.v); }
  NativeExtended& operator+=(NativeExtended b) { return v += b.v, *this; }
  NativeExtended& operator-=(NativeExtended b) { return v -= b.v, *this; }
  NativeExtended& operator*=(NativeExtended b) { return v *= b.v, *this; }
  NativeExtended& operator/=(NativeExtended b) { return v /= b.v, *this; }
  friend bool operator==(NativeExtended a, NativeExtended b) { return a.v == b.v; }
  friend bool operator!=(NativeExtended a, NativeExtended b) { return a.v != b.v; }
  friend bool operator<(NativeExtended a, NativeExtended b) { return a.v < b.v; }
  friend bool operator>(NativeExtended a, NativeExtended b) { return a.v > b.v; }
  friend bool operator<=(NativeExtended a, NativeExtended b) { return a.v <= b.v; }
  friend bool operator>=(NativeExtended a, NativeExtended b) { return a.v >= b.v; }
};

inline NativeExtended sqrt(NativeExtended x) { return NativeExtended::of(std::sqrt(x.v)); }
inline int64_t truncToInt64(NativeExtended x) {
  // In range, the conversion truncates; outside it the unit gives the
  // integer indefinite, as SoftExtended does (and C++ leaves undefined).
  if (!(std::fabs(x.v) < 0x1p63L)) return INT64_MIN;
  return static_cast<int64_t>(x.v);
}
inline bool isNaN(NativeExtended x) { return x.v != x.v; }

inline ExtendedImage imageOf(NativeExtended x) {
  ExtendedImage im;
  std::memcpy(&im.significand, &x.v, 8);
  std::memcpy(&im.signExponent, reinterpret_cast<const unsigned char*>(&x.v) + 8, 2);
  return im;
}
inline NativeExtended nativeOf(const ExtendedImage& im) {
  NativeExtended r;
  std::memcpy(&r.v, &im.significand, 8);
  std::memcpy(reinterpret_cast<unsigned char*>(&r.v) + 8, &im.signExponent, 2);
  return r;
}

// The x87 control word: precision control in bits 8-9 (3: 64 bits),
// rounding control in bits 10-11 (0: to nearest).
inline uint16_t x87ControlWord() {
  uint16_t cw;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  return cw;
}
inline void setX87ControlWord(uint16_t cw) { __asm__ volatile("fldcw %0" : : "m"(cw)); }

}  // namespace eco
#endif
