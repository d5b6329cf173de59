#pragma once
// The few operations on 128-bit vectors that the baseline kernels use, for
// the two vector units every processor of its architecture has: SSE2 on
// x86-64 and NEON (Advanced SIMD) on arm64. Written once against these
// functions, the baseline kernels are vector code on both without a
// runtime check. ECO_VECTOR128 is 0 where neither exists; the kernels are
// then scalar.
//
// Two doubles or two 64-bit integers per vector (D2, U2), four floats per
// vector (F4). Lane masks are small integers, bit l for lane l.

#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#define ECO_VECTOR128 1
#include <emmintrin.h>
#elif defined(__aarch64__) || defined(_M_ARM64)
#define ECO_VECTOR128 1
#include <arm_neon.h>
#else
#define ECO_VECTOR128 0
#endif

#if ECO_VECTOR128

namespace eco::v128 {

#if defined(__x86_64__) || defined(_M_X64)

using D2 = __m128d;
using U2 = __m128i;
using F4 = __m128;

inline U2 splat64(uint64_t x) { return _mm_set1_epi64x(static_cast<int64_t>(x)); }
inline D2 load(const double* p) { return _mm_loadu_pd(p); }
// p on a multiple of 16 bytes: SSE2 then takes the load into the addition.
inline D2 loadAligned(const double* p) { return _mm_load_pd(p); }
inline void store(double* p, D2 x) { _mm_storeu_pd(p, x); }
// Two floats widened to doubles, and back (exact for doubles that are floats).
inline D2 loadWidened(const float* p) {
  return _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
}
inline void storeNarrowed(float* p, D2 x) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_castps_si128(_mm_cvtpd_ps(x)));
}
inline D2 add(D2 a, D2 b) { return _mm_add_pd(a, b); }
inline D2 sqrt(D2 a) { return _mm_sqrt_pd(a); }
inline U2 bits(D2 a) { return _mm_castpd_si128(a); }
inline D2 fromBits(U2 a) { return _mm_castsi128_pd(a); }
inline U2 add64(U2 a, U2 b) { return _mm_add_epi64(a, b); }
inline U2 loadU(const uint64_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline uint64_t lane1(U2 x) {
  return static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(x, x)));
}
inline U2 andBits(U2 a, U2 b) { return _mm_and_si128(a, b); }
inline U2 sub64(U2 a, U2 b) { return _mm_sub_epi64(a, b); }
template <int kBits>
inline U2 shiftRight(U2 x) {
  return _mm_srli_epi64(x, kBits);
}
// The products of the low 32 bits of each lane, as 64-bit lanes.
inline U2 mulLow32(U2 a, U2 b) { return _mm_mul_epu32(a, b); }
// x - m where x >= m, else x, for x below 2^62 and m below 2^31.
inline U2 reduceBelow(U2 x, U2 m) {
  const __m128i d = _mm_sub_epi64(x, m);
  const __m128i below = _mm_shuffle_epi32(_mm_srai_epi32(d, 31), _MM_SHUFFLE(3, 3, 1, 1));
  return _mm_or_si128(_mm_and_si128(below, x), _mm_andnot_si128(below, d));
}
// The low 32 bits of each lane as a signed integer, z < 1 raised by
// `raise`, then z x scale in double rounded to float: the generator's
// uniform numbers, widened back to double.
inline D2 uniformOf(U2 x, int32_t raise, double scale) {
  __m128i z = _mm_shuffle_epi32(x, _MM_SHUFFLE(3, 1, 2, 0));
  z = _mm_add_epi32(z, _mm_and_si128(_mm_cmpgt_epi32(_mm_set1_epi32(1), z), _mm_set1_epi32(raise)));
  const __m128 r = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtepi32_pd(z), _mm_set1_pd(scale)));
  return _mm_cvtps_pd(r);
}
inline D2 splatD(double x) { return _mm_set1_pd(x); }
inline D2 mul(D2 a, D2 b) { return _mm_mul_pd(a, b); }
inline D2 minD(D2 a, D2 b) { return _mm_min_pd(a, b); }
// Both lanes truncated to int32_t (each within range).
inline void storeTruncated(int32_t* p, D2 x) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_cvttpd_epi32(x));
}
// x & ~mask
inline U2 clear(U2 x, U2 mask) { return _mm_andnot_si128(mask, x); }
// Whether a lane of x or y has its bits under `mask` equal to `value`;
// both lie in the low 32 bits of a lane, so the low halves decide: the
// four are gathered into one vector and tested at once.
inline bool anyEqualUnder(U2 x, U2 y, uint32_t mask, uint32_t value) {
  const __m128 lows =
      _mm_shuffle_ps(_mm_castsi128_ps(x), _mm_castsi128_ps(y), _MM_SHUFFLE(2, 0, 2, 0));
  const __m128i equal = _mm_cmpeq_epi32(
      _mm_and_si128(_mm_castps_si128(lows), _mm_set1_epi32(static_cast<int32_t>(mask))),
      _mm_set1_epi32(static_cast<int32_t>(value)));
  return _mm_movemask_ps(_mm_castsi128_ps(equal)) != 0;
}
// The lanes of x, then of y, whose bits under `mask` (in the low 32 bits)
// minus `low` lie in [0, span], as four bits; low and span below 2^30. The
// four low halves are gathered into one vector. SSE2 has no unsigned
// comparison: the offset less 2^31, as a signed number, lies below
// span + 1 - 2^31 exactly when the offset lies in [0, span].
inline int offsetsWithin(U2 x, U2 y, uint32_t mask, uint32_t low, uint32_t span) {
  const __m128i lows = _mm_castps_si128(
      _mm_shuffle_ps(_mm_castsi128_ps(x), _mm_castsi128_ps(y), _MM_SHUFFLE(2, 0, 2, 0)));
  const __m128i biased =
      _mm_sub_epi32(_mm_and_si128(lows, _mm_set1_epi32(static_cast<int32_t>(mask))),
                    _mm_set1_epi32(static_cast<int32_t>(low + 0x80000000u)));
  const __m128i in =
      _mm_cmpgt_epi32(_mm_set1_epi32(static_cast<int32_t>(span + 1 + 0x80000000u)), biased);
  return _mm_movemask_ps(_mm_castsi128_ps(in));
}

inline F4 loadF(const float* p) { return _mm_loadu_ps(p); }
inline void storeF(float* p, F4 x) { _mm_storeu_ps(p, x); }
inline F4 splatF(float x) { return _mm_set1_ps(x); }
inline F4 div(F4 a, F4 b) { return _mm_div_ps(a, b); }
// The lanes above 0 (NaN is not), as a mask vector and as bits.
inline F4 positive(F4 a) { return _mm_cmpgt_ps(a, _mm_setzero_ps()); }
inline int laneBits(F4 m) { return _mm_movemask_ps(m); }
inline F4 keep(F4 a, F4 m) { return _mm_and_ps(a, m); }
inline F4 select(F4 m, F4 a, F4 b) { return _mm_or_ps(_mm_and_ps(m, a), _mm_andnot_ps(m, b)); }
inline F4 min(F4 a, F4 b) { return _mm_min_ps(a, b); }
inline F4 addF(F4 a, F4 b) { return _mm_add_ps(a, b); }
inline D2 low(F4 a) { return _mm_cvtps_pd(a); }
inline D2 high(F4 a) { return _mm_cvtps_pd(_mm_movehl_ps(a, a)); }
inline F4 narrow(D2 lo, D2 hi) { return _mm_movelh_ps(_mm_cvtpd_ps(lo), _mm_cvtpd_ps(hi)); }
// The floats at p and q widened to doubles, and a vector's two lanes
// narrowed and stored there (exact for doubles that are floats).
inline D2 loadWidened(const float* p, const float* q) {
  return _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(p), _mm_load_ss(q)));
}
inline void storeNarrowed(float* p, float* q, D2 x) {
  const __m128 f = _mm_cvtpd_ps(x);
  _mm_store_ss(p, f);
  _mm_store_ss(q, _mm_castsi128_ps(_mm_shuffle_epi32(_mm_castps_si128(f), 1)));
}

#else  // arm64

using D2 = float64x2_t;
using U2 = uint64x2_t;
using F4 = float32x4_t;

inline U2 splat64(uint64_t x) { return vdupq_n_u64(x); }
inline D2 load(const double* p) { return vld1q_f64(p); }
inline D2 loadAligned(const double* p) { return vld1q_f64(p); }
inline void store(double* p, D2 x) { vst1q_f64(p, x); }
inline D2 loadWidened(const float* p) { return vcvt_f64_f32(vld1_f32(p)); }
inline void storeNarrowed(float* p, D2 x) { vst1_f32(p, vcvt_f32_f64(x)); }
inline D2 add(D2 a, D2 b) { return vaddq_f64(a, b); }
inline D2 sqrt(D2 a) { return vsqrtq_f64(a); }
inline U2 bits(D2 a) { return vreinterpretq_u64_f64(a); }
inline D2 fromBits(U2 a) { return vreinterpretq_f64_u64(a); }
inline U2 add64(U2 a, U2 b) { return vaddq_u64(a, b); }
inline U2 loadU(const uint64_t* p) { return vld1q_u64(p); }
inline uint64_t lane1(U2 x) { return vgetq_lane_u64(x, 1); }
inline U2 andBits(U2 a, U2 b) { return vandq_u64(a, b); }
inline U2 sub64(U2 a, U2 b) { return vsubq_u64(a, b); }
template <int kBits>
inline U2 shiftRight(U2 x) {
  return vshrq_n_u64(x, kBits);
}
inline U2 mulLow32(U2 a, U2 b) { return vmull_u32(vmovn_u64(a), vmovn_u64(b)); }
inline U2 reduceBelow(U2 x, U2 m) { return vbslq_u64(vcltq_u64(x, m), x, vsubq_u64(x, m)); }
inline D2 uniformOf(U2 x, int32_t raise, double scale) {
  int32x2_t z = vreinterpret_s32_u32(vmovn_u64(x));
  z = vadd_s32(z, vand_s32(vreinterpret_s32_u32(vclt_s32(z, vdup_n_s32(1))), vdup_n_s32(raise)));
  const float32x2_t r = vcvt_f32_f64(vmulq_f64(vcvtq_f64_s64(vmovl_s32(z)), vdupq_n_f64(scale)));
  return vcvt_f64_f32(r);
}
inline D2 splatD(double x) { return vdupq_n_f64(x); }
inline D2 mul(D2 a, D2 b) { return vmulq_f64(a, b); }
inline D2 minD(D2 a, D2 b) { return vminq_f64(a, b); }
inline void storeTruncated(int32_t* p, D2 x) { vst1_s32(p, vmovn_s64(vcvtq_s64_f64(x))); }
inline U2 clear(U2 x, U2 mask) { return vbicq_u64(x, mask); }
// A lane mask as bits: each lane's top bit moved to bit k of lane k, then
// the lanes summed across (three instructions, where reading the lanes one
// by one took ten and more).
inline int laneBits32(uint32x4_t m) {
  constexpr int32_t kBit[4] = {0, 1, 2, 3};
  return static_cast<int>(vaddvq_u32(vshlq_u32(vshrq_n_u32(m, 31), vld1q_s32(kBit))));
}
inline bool anyEqualUnder(U2 x, U2 y, uint32_t mask, uint32_t value) {
  // As on x86-64: the four low halves gathered into one vector.
  const uint32x4_t lows = vuzp1q_u32(vreinterpretq_u32_u64(x), vreinterpretq_u32_u64(y));
  const uint32x4_t equal = vceqq_u32(vandq_u32(lows, vdupq_n_u32(mask)), vdupq_n_u32(value));
  return vmaxvq_u32(equal) != 0;
}
inline int offsetsWithin(U2 x, U2 y, uint32_t mask, uint32_t low, uint32_t span) {
  // Unsigned: an offset below 0 wraps far above span. The four lanes'
  // answers (all ones or zeros) are gathered by their low halves.
  const uint64x2_t m = vdupq_n_u64(mask), l = vdupq_n_u64(low), s = vdupq_n_u64(span);
  const uint64x2_t inX = vcleq_u64(vsubq_u64(vandq_u64(x, m), l), s);
  const uint64x2_t inY = vcleq_u64(vsubq_u64(vandq_u64(y, m), l), s);
  return laneBits32(vuzp1q_u32(vreinterpretq_u32_u64(inX), vreinterpretq_u32_u64(inY)));
}

inline F4 loadF(const float* p) { return vld1q_f32(p); }
inline void storeF(float* p, F4 x) { vst1q_f32(p, x); }
inline F4 splatF(float x) { return vdupq_n_f32(x); }
inline F4 div(F4 a, F4 b) { return vdivq_f32(a, b); }
inline F4 positive(F4 a) { return vreinterpretq_f32_u32(vcgtzq_f32(a)); }
inline int laneBits(F4 m) { return laneBits32(vreinterpretq_u32_f32(m)); }
inline F4 keep(F4 a, F4 m) {
  return vreinterpretq_f32_u32(vandq_u32(vreinterpretq_u32_f32(a), vreinterpretq_u32_f32(m)));
}
inline F4 select(F4 m, F4 a, F4 b) { return vbslq_f32(vreinterpretq_u32_f32(m), a, b); }
inline F4 min(F4 a, F4 b) { return vminq_f32(a, b); }
inline F4 addF(F4 a, F4 b) { return vaddq_f32(a, b); }
inline D2 low(F4 a) { return vcvt_f64_f32(vget_low_f32(a)); }
inline D2 high(F4 a) { return vcvt_high_f64_f32(a); }
inline F4 narrow(D2 lo, D2 hi) { return vcvt_high_f32_f64(vcvt_f32_f64(lo), hi); }
inline D2 loadWidened(const float* p, const float* q) {
  return vcvt_f64_f32(vld1_lane_f32(q, vld1_dup_f32(p), 1));
}
inline void storeNarrowed(float* p, float* q, D2 x) {
  const float32x2_t f = vcvt_f32_f64(x);
  vst1_lane_f32(p, f, 0);
  vst1_lane_f32(q, f, 1);
}

#endif

}  // namespace eco::v128

#endif  // ECO_VECTOR128
