#include "numeric/soft_extended.h"

#include <bit>
#include <cstring>
#include <limits>

#include "numeric/wide_uint.h"

namespace eco {
namespace {

constexpr int32_t kExtendedMinExp = -16382, kExtendedMaxExp = 16383;
constexpr int32_t kDoubleMinExp = -1022, kDoubleMaxExp = 1023;
constexpr int32_t kFloatMinExp = -126, kFloatMaxExp = 127;

SoftExtended special(SoftExtended::Kind kind, bool neg) {
  SoftExtended r;
  r.kind = kind;
  r.neg = neg;
  return r;
}

SoftExtended nan() { return special(SoftExtended::kNaN, true); }

// A finite non-zero value with sig's top bit set; exp may lie below the
// normal range (subnormal values are brought to this form first).
struct Normal {
  bool neg;
  int32_t exp;
  uint64_t sig;
};

Normal normalised(const SoftExtended& x) {
  const int lead = std::countl_zero(x.sig);
  return {x.neg, x.exp - lead, x.sig << lead};
}

SoftExtended finite(bool neg, int32_t exp, uint64_t sig) {
  SoftExtended r;
  r.kind = SoftExtended::kFinite;
  r.neg = neg;
  r.exp = exp;
  r.sig = sig;
  return r;
}

SoftExtended fromMagnitude(bool neg, int32_t msbExp, uint64_t mag) {
  // mag != 0 is an integer scaled so that its top set bit stands for 2^msbExp.
  const int lead = std::countl_zero(mag);
  return finite(neg, msbExp, mag << lead);
}

// Rounds (-1)^neg x (hi:lo) x 2^(exp - 127), hi's top bit set and any bit
// lost earlier jammed into lo's lowest bit, to p significant bits (1..64)
// with the exponent range [emin, emax]: to nearest, ties to even, gradual
// underflow, overflow to infinity. The result has the SoftExtended layout
// (a p-bit significand left-aligned in sig).
SoftExtended roundWide(bool neg, int32_t exp, U128 v, int p, int32_t emin, int32_t emax) {
  int64_t shift = 128 - p;  // bits below the kept ones, at least 64
  if (exp < emin) {
    shift += static_cast<int64_t>(emin) - exp;
    exp = emin;
  }
  uint64_t q = 0;
  bool half = false, rest = false;
  if (shift == 64) {
    q = v.hi;
    half = (v.lo >> 63) != 0;
    rest = (v.lo << 1) != 0;
  } else if (shift < 128) {
    const int s = static_cast<int>(shift - 64);  // 1..63
    q = v.hi >> s;
    half = ((v.hi >> (s - 1)) & 1) != 0;
    rest = (v.hi & ((uint64_t{1} << (s - 1)) - 1)) != 0 || v.lo != 0;
  } else if (shift == 128) {
    half = (v.hi >> 63) != 0;
    rest = (v.hi << 1) != 0 || v.lo != 0;
  } else {
    rest = true;  // far below half of the smallest unit
  }
  if (half && (rest || (q & 1) != 0)) {
    ++q;
    const bool carry = p == 64 ? q == 0 : q == (uint64_t{1} << p);
    if (carry) {
      q = uint64_t{1} << (p - 1);
      ++exp;
    }
  }
  if (q == 0) return special(SoftExtended::kZero, neg);
  if (exp > emax) return special(SoftExtended::kInfinity, neg);
  return finite(neg, exp, q << (64 - p));
}

SoftExtended roundExtended(bool neg, int32_t exp, U128 v) {
  return roundWide(neg, exp, v, 64, kExtendedMinExp, kExtendedMaxExp);
}

// The value rounded to a binary format with p-bit significands and the
// given exponent range, as (kind, sign, biased exponent, fraction bits).
struct Packed {
  SoftExtended::Kind kind;
  bool neg;
  uint64_t biased, fraction;
};

Packed pack(const SoftExtended& x, int p, int32_t emin, int32_t emax) {
  if (x.kind != SoftExtended::kFinite) return {x.kind, x.neg, 0, 0};
  const Normal n = normalised(x);
  const SoftExtended r = roundWide(n.neg, n.exp, {n.sig, 0}, p, emin, emax);
  if (r.kind != SoftExtended::kFinite) return {r.kind, r.neg, 0, 0};
  const uint64_t q = r.sig >> (64 - p);
  const uint64_t lead = uint64_t{1} << (p - 1);
  if ((q & lead) == 0) return {r.kind, r.neg, 0, q};  // subnormal
  return {r.kind, r.neg, static_cast<uint64_t>(r.exp - emin + 1), q & (lead - 1)};
}

int compareMagnitude(const Normal& a, const Normal& b) {
  if (a.exp != b.exp) return a.exp < b.exp ? -1 : 1;
  if (a.sig != b.sig) return a.sig < b.sig ? -1 : 1;
  return 0;
}

}  // namespace

SoftExtended::SoftExtended(float x) {
  uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  neg = (bits >> 31) != 0;
  const uint32_t e = (bits >> 23) & 0xFF, f = bits & 0x7FFFFF;
  if (e == 0xFF) {
    kind = f == 0 ? kInfinity : kNaN;
  } else if (e == 0) {
    if (f != 0) *this = fromMagnitude(neg, 31 - std::countl_zero(f) - 149, f);
  } else {
    *this = finite(neg, static_cast<int32_t>(e) - 127, uint64_t{f | 0x800000} << 40);
  }
}

SoftExtended::SoftExtended(double x) {
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  neg = (bits >> 63) != 0;
  const uint64_t e = (bits >> 52) & 0x7FF, f = bits & 0xFFFFFFFFFFFFF;
  if (e == 0x7FF) {
    kind = f == 0 ? kInfinity : kNaN;
  } else if (e == 0) {
    if (f != 0) *this = fromMagnitude(neg, 63 - std::countl_zero(f) - 1074, f);
  } else {
    *this = finite(neg, static_cast<int32_t>(e) - 1023, (f | (uint64_t{1} << 52)) << 11);
  }
}

SoftExtended::SoftExtended(int32_t x) : SoftExtended(static_cast<int64_t>(x)) {}

SoftExtended::SoftExtended(int64_t x) {
  if (x == 0) return;
  const bool negative = x < 0;
  // The magnitude in unsigned arithmetic, where INT64_MIN has one too.
  const uint64_t mag = negative ? uint64_t{0} - static_cast<uint64_t>(x) : static_cast<uint64_t>(x);
  *this = fromMagnitude(negative, 63 - std::countl_zero(mag), mag);
}

SoftExtended::operator float() const {
  const Packed p = pack(*this, 24, kFloatMinExp, kFloatMaxExp);
  uint32_t bits = p.neg ? 0x80000000u : 0u;
  if (p.kind == kInfinity) bits |= 0x7F800000u;
  if (p.kind == kNaN) bits |= 0x7FC00000u;
  if (p.kind == kFinite) bits |= static_cast<uint32_t>(p.biased << 23 | p.fraction);
  float r;
  std::memcpy(&r, &bits, sizeof r);
  return r;
}

SoftExtended::operator double() const {
  const Packed p = pack(*this, 53, kDoubleMinExp, kDoubleMaxExp);
  uint64_t bits = p.neg ? uint64_t{1} << 63 : 0;
  if (p.kind == kInfinity) bits |= 0x7FF0000000000000u;
  if (p.kind == kNaN) bits |= 0x7FF8000000000000u;
  if (p.kind == kFinite) bits |= p.biased << 52 | p.fraction;
  double r;
  std::memcpy(&r, &bits, sizeof r);
  return r;
}

SoftExtended operator+(const SoftExtended& a, const SoftExtended& b) {
  using K = SoftExtended::Kind;
  if (a.kind == K::kNaN || b.kind == K::kNaN) return nan();
  if (a.kind == K::kInfinity) {
    return b.kind == K::kInfinity && a.neg != b.neg ? nan() : a;
  }
  if (b.kind == K::kInfinity) return b;
  if (a.kind == K::kZero) {
    // -0 only when both are -0.
    return b.kind == K::kZero ? special(K::kZero, a.neg && b.neg) : b;
  }
  if (b.kind == K::kZero) return a;
  Normal x = normalised(a), y = normalised(b);
  if (compareMagnitude(x, y) < 0) std::swap(x, y);
  const int64_t d = static_cast<int64_t>(x.exp) - y.exp;
  const U128 big{x.sig, 0};
  const U128 small = shiftRightJam({y.sig, 0}, d > 200 ? 200 : static_cast<int>(d));
  int32_t exp = x.exp;
  if (x.neg == y.neg) {
    bool carry = false;
    U128 s = add(big, small, carry);
    if (carry) {
      s = shiftRightJam(s, 1);
      s.hi |= uint64_t{1} << 63;
      ++exp;
    }
    return roundExtended(x.neg, exp, s);
  }
  const U128 diff = subtract(big, small);
  if (diff.hi == 0 && diff.lo == 0) return SoftExtended{};  // exact cancellation: +0
  const int lead = countLeadingZeros(diff);
  return roundExtended(x.neg, exp - lead, shiftLeft(diff, lead));
}

SoftExtended operator-(const SoftExtended& a, const SoftExtended& b) { return a + (-b); }

SoftExtended operator*(const SoftExtended& a, const SoftExtended& b) {
  using K = SoftExtended::Kind;
  const bool neg = a.neg != b.neg;
  if (a.kind == K::kNaN || b.kind == K::kNaN) return nan();
  if (a.kind == K::kInfinity || b.kind == K::kInfinity) {
    if (a.kind == K::kZero || b.kind == K::kZero) return nan();
    return special(K::kInfinity, neg);
  }
  if (a.kind == K::kZero || b.kind == K::kZero) return special(K::kZero, neg);
  const Normal x = normalised(a), y = normalised(b);
  U128 p = multiply(x.sig, y.sig);  // in [2^126, 2^128)
  int32_t exp = x.exp + y.exp;
  if ((p.hi >> 63) != 0) {
    ++exp;
  } else {
    p = shiftLeft(p, 1);
  }
  return roundExtended(neg, exp, p);
}

SoftExtended operator/(const SoftExtended& a, const SoftExtended& b) {
  using K = SoftExtended::Kind;
  const bool neg = a.neg != b.neg;
  if (a.kind == K::kNaN || b.kind == K::kNaN) return nan();
  if (a.kind == K::kInfinity) return b.kind == K::kInfinity ? nan() : special(K::kInfinity, neg);
  if (b.kind == K::kInfinity) return special(K::kZero, neg);
  if (b.kind == K::kZero) return a.kind == K::kZero ? nan() : special(K::kInfinity, neg);
  if (a.kind == K::kZero) return special(K::kZero, neg);
  const Normal x = normalised(a), y = normalised(b);
  // q = floor(x.sig x 2^65 / y.sig), 65 or 66 bits, one bit at a time; the
  // remainder needs 65 bits, its top one kept in `over`.
  uint64_t r = x.sig, qhi = 0, qlo = 0;
  for (int i = 0; i < 66; ++i) {
    const bool over = i > 0 && (r >> 63) != 0;
    if (i > 0) r <<= 1;
    qhi = qhi << 1 | qlo >> 63;
    qlo <<= 1;
    if (over || r >= y.sig) {
      r -= y.sig;
      qlo |= 1;
    }
  }
  // x / y = q x 2^-65 x 2^(x.exp - y.exp), q in [2^64, 2^66).
  U128 q = shiftLeft({qhi, qlo}, 62);
  if (r != 0) q.lo |= 1;
  int32_t exp = x.exp - y.exp;
  if ((q.hi >> 63) == 0) {
    q = shiftLeft(q, 1);
    --exp;
  }
  return roundExtended(neg, exp, q);
}

SoftExtended sqrt(const SoftExtended& x) {
  using K = SoftExtended::Kind;
  if (x.kind == K::kNaN) return nan();
  if (x.kind == K::kZero) return x;
  if (x.neg) return nan();
  if (x.kind == K::kInfinity) return x;
  const Normal n = normalised(x);
  // x = sig x 2^e, e = exp - 63; with an even exponent of two, N = sig x
  // 2^64 or 2^63 has a 64-bit integer root.
  const int32_t e = n.exp - 63;
  const bool odd = (e & 1) != 0;
  const U128 radicand = shiftLeft({0, n.sig}, odd ? 63 : 64);
  U128 rem{};
  const uint64_t root = integerSquareRoot(radicand, rem);
  const int32_t exp = (odd ? (e - 63) / 2 : (e - 64) / 2) + 63;
  // sqrt(N) = root + f, 0 <= f < 1, and f > 1/2 exactly when N - root^2 >
  // root (f = 1/2 is impossible, and so is a result below the normal
  // range): only the side of the midpoint matters for the rounding.
  U128 v{root, 0};
  if (less({0, root}, rem)) v.lo = uint64_t{1} << 63 | 1;
  return roundExtended(false, exp, v);
}

int64_t truncToInt64(const SoftExtended& x) {
  constexpr int64_t kIndefinite = std::numeric_limits<int64_t>::min();
  if (x.kind == SoftExtended::kZero) return 0;
  if (x.kind != SoftExtended::kFinite) return kIndefinite;
  const Normal n = normalised(x);
  if (n.exp < 0) return 0;
  if (n.exp >= 63) return kIndefinite;
  const uint64_t mag = n.sig >> (63 - n.exp);
  return n.neg ? -static_cast<int64_t>(mag) : static_cast<int64_t>(mag);
}

bool isNaN(const SoftExtended& x) { return x.kind == SoftExtended::kNaN; }

bool operator==(const SoftExtended& a, const SoftExtended& b) {
  using K = SoftExtended::Kind;
  if (a.kind == K::kNaN || b.kind == K::kNaN) return false;
  if (a.kind == K::kZero || b.kind == K::kZero) return a.kind == b.kind;
  if (a.neg != b.neg || a.kind != b.kind) return false;
  return a.kind == K::kInfinity || compareMagnitude(normalised(a), normalised(b)) == 0;
}

bool operator<(const SoftExtended& a, const SoftExtended& b) {
  using K = SoftExtended::Kind;
  if (a.kind == K::kNaN || b.kind == K::kNaN) return false;
  // Signed rank: -inf < negative < zero < positive < +inf, then magnitude.
  auto rank = [](const SoftExtended& v) {
    if (v.kind == K::kZero) return 0;
    const int r = v.kind == K::kInfinity ? 2 : 1;
    return v.neg ? -r : r;
  };
  const int ra = rank(a), rb = rank(b);
  if (ra != rb) return ra < rb;
  if (ra == 0 || ra == 2 || ra == -2) return false;
  const int c = compareMagnitude(normalised(a), normalised(b));
  return a.neg ? c > 0 : c < 0;
}

ExtendedImage imageOf(const SoftExtended& x) {
  ExtendedImage im;
  const uint16_t sign = x.neg ? 0x8000 : 0;
  switch (x.kind) {
    case SoftExtended::kZero:
      im.signExponent = sign;
      break;
    case SoftExtended::kInfinity:
      im.signExponent = sign | 0x7FFF;
      im.significand = uint64_t{1} << 63;
      break;
    case SoftExtended::kNaN:
      im.signExponent = 0xFFFF;
      im.significand = uint64_t{3} << 62;
      break;
    case SoftExtended::kFinite:
      im.significand = x.sig;
      im.signExponent = sign | ((x.sig >> 63) != 0 ? static_cast<uint16_t>(x.exp + 16383)
                                                   : 0);  // subnormal: exponent field 0
      break;
  }
  return im;
}

SoftExtended fromImage(const ExtendedImage& im) {
  const bool neg = (im.signExponent & 0x8000) != 0;
  const int32_t e = im.signExponent & 0x7FFF;
  if (e == 0x7FFF) {
    return special((im.significand << 1) == 0 ? SoftExtended::kInfinity : SoftExtended::kNaN, neg);
  }
  if (im.significand == 0) return special(SoftExtended::kZero, neg);
  // Exponent field 0 stands for -16382 with no implicit bit.
  return finite(neg, e == 0 ? kExtendedMinExp : e - 16383, im.significand);
}

}  // namespace eco
