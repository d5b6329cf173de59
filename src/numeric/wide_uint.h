#pragma once
// Unsigned integers wider than 64 bits, in plain 64-bit arithmetic: what
// the software extended format and the correctly rounded fourth root need.

#include <bit>
#include <cstdint>

namespace eco {

struct U128 {
  uint64_t hi = 0, lo = 0;
};

inline bool less(const U128& a, const U128& b) { return a.hi != b.hi ? a.hi < b.hi : a.lo < b.lo; }

inline U128 add(const U128& a, const U128& b, bool& carry) {
  const uint64_t lo = a.lo + b.lo;
  const uint64_t c = lo < a.lo ? 1 : 0;
  const uint64_t hi = a.hi + b.hi + c;
  carry = hi < a.hi || (hi == a.hi && c != 0);
  return {hi, lo};
}

// a - b for a >= b.
inline U128 subtract(const U128& a, const U128& b) {
  return {a.hi - b.hi - (a.lo < b.lo ? 1 : 0), a.lo - b.lo};
}

// a << s, 0 <= s < 128.
inline U128 shiftLeft(const U128& a, int s) {
  if (s == 0) return a;
  if (s >= 64) return {a.lo << (s - 64), 0};
  return {a.hi << s | a.lo >> (64 - s), a.lo << s};
}

// a >> s with every bit shifted out ORed into the lowest bit, s >= 0.
inline U128 shiftRightJam(const U128& a, int s) {
  if (s == 0) return a;
  if (s < 64) {
    const uint64_t lost = (a.lo << (64 - s)) != 0 ? 1 : 0;
    return {a.hi >> s, (a.lo >> s) | (a.hi << (64 - s)) | lost};
  }
  if (s == 64) return {0, a.hi | (a.lo != 0 ? 1u : 0u)};
  if (s < 128) {
    const uint64_t lost = ((a.hi << (128 - s)) != 0 || a.lo != 0) ? 1 : 0;
    return {0, (a.hi >> (s - 64)) | lost};
  }
  return {0, uint64_t{(a.hi | a.lo) != 0 ? 1u : 0u}};
}

inline int countLeadingZeros(const U128& a) {
  return a.hi != 0 ? std::countl_zero(a.hi) : 64 + std::countl_zero(a.lo);
}

// The exact 128-bit product, from 32-bit halves.
inline U128 multiply(uint64_t a, uint64_t b) {
  const uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
  const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & 0xFFFFFFFFu)};
}

// floor(sqrt(n)) for n < 2^128, and n - root^2 (at most 2 root, 65 bits)
// in rem: two bits of n at a time from the top.
inline uint64_t integerSquareRoot(const U128& n, U128& rem) {
  U128 r{};
  uint64_t root = 0;
  for (int i = 63; i >= 0; --i) {
    const uint64_t two = i >= 32 ? (n.hi >> (2 * i - 64)) & 3 : (n.lo >> (2 * i)) & 3;
    r = shiftLeft(r, 2);
    r.lo |= two;
    const U128 trial = shiftLeft({0, root}, 2);
    const U128 trialOne{trial.hi, trial.lo | 1};
    root <<= 1;
    if (!less(r, trialOne)) {
      r = subtract(r, trialOne);
      root |= 1;
    }
  }
  rem = r;
  return root;
}

// A fixed-width unsigned integer of N 64-bit limbs, least significant
// first; arithmetic wraps silently, so callers size N for their values.
template <int N>
struct WideUint {
  uint64_t limb[N] = {};
};

template <int N>
WideUint<N> multiplyWide(const WideUint<N>& a, const WideUint<N>& b) {
  WideUint<N> r;
  for (int i = 0; i < N; ++i) {
    uint64_t carry = 0;
    for (int j = 0; i + j < N; ++j) {
      const U128 p = multiply(a.limb[i], b.limb[j]);
      bool c1 = false, c2 = false;
      U128 s = add(p, {0, r.limb[i + j]}, c1);
      s = add(s, {0, carry}, c2);
      r.limb[i + j] = s.lo;
      carry = s.hi;
    }
  }
  return r;
}

// a << s for 0 <= s < 64 N.
template <int N>
WideUint<N> shiftLeftWide(const WideUint<N>& a, int s) {
  WideUint<N> r;
  const int whole = s / 64, part = s % 64;
  for (int i = N - 1; i >= whole; --i) {
    uint64_t v = a.limb[i - whole] << part;
    if (part != 0 && i - whole - 1 >= 0) v |= a.limb[i - whole - 1] >> (64 - part);
    r.limb[i] = v;
  }
  return r;
}

template <int N>
bool lessWide(const WideUint<N>& a, const WideUint<N>& b) {
  for (int i = N - 1; i >= 0; --i) {
    if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i];
  }
  return false;
}

}  // namespace eco
