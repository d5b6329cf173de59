#include "resample/station_draws.h"

#include <array>

#include "resample/kernel_path.h"
#include "resample/vector128.h"

#if ECO_X86_KERNELS
#include <immintrin.h>
#endif

namespace eco {
namespace {

// Each component's modulus is 2^31 - c.
constexpr int64_t kM1 = kUniformM1, kC1 = (int64_t{1} << 31) - kM1;
constexpr int64_t kM2 = kUniformM2, kC2 = (int64_t{1} << 31) - kM2;

// a^1, a^2, ... (mod m): the multipliers of a block's steps.
constexpr std::array<int64_t, kStationDrawBlock> powers(int64_t a, int64_t m) {
  std::array<int64_t, kStationDrawBlock> p{};
  int64_t x = 1;
  for (int k = 0; k < kStationDrawBlock; ++k) {
    x = x * a % m;
    p[static_cast<std::size_t>(k)] = x;
  }
  return p;
}
alignas(64) constexpr std::array<int64_t, kStationDrawBlock> kPow1 = powers(kUniformA1, kM1);
alignas(64) constexpr std::array<int64_t, kStationDrawBlock> kPow2 = powers(kUniformA2, kM2);

// The block kernel, written once for every vector path against its vector
// of 64-bit lanes W::U (W::kLanes steps per vector) and of doubles W::D:
// each component's steps are p x s (mod 2^31 - c) for the powers p and the
// block's start state s, both below 2^31. The product is h 2^31 + l, which
// is h c + l (mod m); twice that brings it below 2^31 + 86 c, and one
// subtraction below m. The index of a step is min(n x r, n - 1) truncated,
// which is min(trunc(n x r), n - 1). The vectors pass by reference: a
// function compiled without their instruction set may not return one.
template <class W>
inline void mulModWith(typename W::U& x, const typename W::U& p, const typename W::U& s,
                       const typename W::U& c, const typename W::U& m) {
  typename W::U low31, h;
  W::splat64(low31, 0x7FFFFFFF);
  W::mulLow32(x, p, s);
  ECO_UNROLL
  for (int round = 0; round < 2; ++round) {
    W::shiftRight31(h, x);
    W::mulLow32(h, h, c);
    W::andBits(x, x, low31);
    W::add64(x, x, h);
  }
  W::reduceBelow(x, x, m);
}

template <class W>
inline void drawBlockWith(UniformGenerator& g, int32_t n, int32_t* out) {
  typename W::U s1, s2, c1, m1, c2, m2, x1, x2, z;
  typename W::D nd, last, r;
  W::splat64(s1, static_cast<uint64_t>(g.s1));
  W::splat64(s2, static_cast<uint64_t>(g.s2));
  W::splat64(c1, kC1);
  W::splat64(m1, kM1);
  W::splat64(c2, kC2);
  W::splat64(m2, kM2);
  W::splatD(nd, static_cast<double>(n));
  W::splatD(last, static_cast<double>(n - 1));
  const auto* p1 = reinterpret_cast<const uint64_t*>(kPow1.data());
  const auto* p2 = reinterpret_cast<const uint64_t*>(kPow2.data());
  for (int k = 0; k < kStationDrawBlock; k += W::kLanes) {
    W::load(z, p1 + k);
    mulModWith<W>(x1, z, s1, c1, m1);
    W::load(z, p2 + k);
    mulModWith<W>(x2, z, s2, c2, m2);
    W::sub64(z, x1, x2);
    W::uniformOf(r, z, static_cast<int32_t>(kM1 - 1), 0x1p-31);
    W::mul(r, r, nd);
    W::minD(r, r, last);
    W::storeTruncated(out + k, r);
  }
  g.s1 = static_cast<int32_t>(W::lastLane(x1));
  g.s2 = static_cast<int32_t>(W::lastLane(x2));
}

#if ECO_VECTOR128

// The baseline vectors (SSE2 or NEON): two steps per vector.
struct Draws128 {
  using U = v128::U2;
  using D = v128::D2;
  static constexpr int kLanes = 2;
  static void splat64(U& x, uint64_t v) { x = v128::splat64(v); }
  static void load(U& x, const uint64_t* p) { x = v128::loadU(p); }
  static void mulLow32(U& x, const U& a, const U& b) { x = v128::mulLow32(a, b); }
  static void shiftRight31(U& x, const U& a) { x = v128::shiftRight<31>(a); }
  static void add64(U& x, const U& a, const U& b) { x = v128::add64(a, b); }
  static void sub64(U& x, const U& a, const U& b) { x = v128::sub64(a, b); }
  static void andBits(U& x, const U& a, const U& b) { x = v128::andBits(a, b); }
  static void reduceBelow(U& x, const U& a, const U& m) { x = v128::reduceBelow(a, m); }
  static void uniformOf(D& r, const U& x, int32_t raise, double scale) {
    r = v128::uniformOf(x, raise, scale);
  }
  static void splatD(D& x, double v) { x = v128::splatD(v); }
  static void mul(D& x, const D& a, const D& b) { x = v128::mul(a, b); }
  static void minD(D& x, const D& a, const D& b) { x = v128::minD(a, b); }
  static void storeTruncated(int32_t* p, const D& x) { v128::storeTruncated(p, x); }
  static uint64_t lastLane(const U& x) { return v128::lane1(x); }
};

#endif  // ECO_VECTOR128

#if ECO_X86_KERNELS

// AVX2: four steps per vector. The reduced products stay below 2^32, so
// the last subtraction and the uniform numbers work on the low 32 bits.
struct DrawsAvx2 {
  using U = __m256i;
  using D = __m256d;
  static constexpr int kLanes = 4;
  ECO_TARGET_AVX2 static void splat64(U& x, uint64_t v) {
    x = _mm256_set1_epi64x(static_cast<int64_t>(v));
  }
  ECO_TARGET_AVX2 static void load(U& x, const uint64_t* p) {
    x = _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
  }
  ECO_TARGET_AVX2 static void mulLow32(U& x, const U& a, const U& b) { x = _mm256_mul_epu32(a, b); }
  ECO_TARGET_AVX2 static void shiftRight31(U& x, const U& a) { x = _mm256_srli_epi64(a, 31); }
  ECO_TARGET_AVX2 static void add64(U& x, const U& a, const U& b) { x = _mm256_add_epi64(a, b); }
  ECO_TARGET_AVX2 static void sub64(U& x, const U& a, const U& b) { x = _mm256_sub_epi64(a, b); }
  ECO_TARGET_AVX2 static void andBits(U& x, const U& a, const U& b) { x = _mm256_and_si256(a, b); }
  ECO_TARGET_AVX2 static void reduceBelow(U& x, const U& a, const U& m) {
    x = _mm256_min_epu32(a, _mm256_sub_epi32(a, m));
  }
  ECO_TARGET_AVX2 static void uniformOf(D& r, const U& x, int32_t raise, double scale) {
    const __m256i pick = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    __m128i z = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(x, pick));
    z = _mm_add_epi32(z,
                      _mm_and_si128(_mm_cmplt_epi32(z, _mm_set1_epi32(1)), _mm_set1_epi32(raise)));
    r = _mm256_cvtps_pd(
        _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_cvtepi32_pd(z), _mm256_set1_pd(scale))));
  }
  ECO_TARGET_AVX2 static void splatD(D& x, double v) { x = _mm256_set1_pd(v); }
  ECO_TARGET_AVX2 static void mul(D& x, const D& a, const D& b) { x = _mm256_mul_pd(a, b); }
  ECO_TARGET_AVX2 static void minD(D& x, const D& a, const D& b) { x = _mm256_min_pd(a, b); }
  ECO_TARGET_AVX2 static void storeTruncated(int32_t* p, const D& x) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_cvttpd_epi32(x));
  }
  ECO_TARGET_AVX2 static uint64_t lastLane(const U& x) {
    return static_cast<uint64_t>(_mm256_extract_epi64(x, 3));
  }
};

// AVX-512: eight steps per vector, through the zero-masked forms of the
// intrinsics where the plain ones start from an undefined register (which
// g++ 12 reports as maybe uninitialized).
struct DrawsAvx512 {
  using U = __m512i;
  using D = __m512d;
  static constexpr int kLanes = 8;
  ECO_TARGET_AVX512 static void splat64(U& x, uint64_t v) {
    x = _mm512_set1_epi64(static_cast<int64_t>(v));
  }
  ECO_TARGET_AVX512 static void load(U& x, const uint64_t* p) { x = _mm512_load_si512(p); }
  ECO_TARGET_AVX512 static void mulLow32(U& x, const U& a, const U& b) {
    x = _mm512_maskz_mul_epu32(0xFF, a, b);
  }
  ECO_TARGET_AVX512 static void shiftRight31(U& x, const U& a) {
    x = _mm512_maskz_srli_epi64(0xFF, a, 31);
  }
  ECO_TARGET_AVX512 static void add64(U& x, const U& a, const U& b) { x = _mm512_add_epi64(a, b); }
  ECO_TARGET_AVX512 static void sub64(U& x, const U& a, const U& b) { x = _mm512_sub_epi64(a, b); }
  ECO_TARGET_AVX512 static void andBits(U& x, const U& a, const U& b) {
    x = _mm512_and_si512(a, b);
  }
  ECO_TARGET_AVX512 static void reduceBelow(U& x, const U& a, const U& m) {
    x = _mm512_maskz_min_epu64(0xFF, a, _mm512_sub_epi64(a, m));
  }
  // x is the difference of two states below 2^31, a whole 64-bit lane.
  ECO_TARGET_AVX512 static void uniformOf(D& r, const U& x, int32_t raise, double scale) {
    const __m512i z = _mm512_mask_add_epi64(x, _mm512_cmplt_epi64_mask(x, _mm512_set1_epi64(1)), x,
                                            _mm512_set1_epi64(raise));
    r = _mm512_maskz_cvtps_pd(
        0xFF, _mm512_maskz_cvtpd_ps(
                  0xFF, _mm512_mul_pd(_mm512_maskz_cvtepi64_pd(0xFF, z), _mm512_set1_pd(scale))));
  }
  ECO_TARGET_AVX512 static void splatD(D& x, double v) { x = _mm512_set1_pd(v); }
  ECO_TARGET_AVX512 static void mul(D& x, const D& a, const D& b) { x = _mm512_mul_pd(a, b); }
  ECO_TARGET_AVX512 static void minD(D& x, const D& a, const D& b) {
    x = _mm512_maskz_min_pd(0xFF, a, b);
  }
  ECO_TARGET_AVX512 static void storeTruncated(int32_t* p, const D& x) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm512_maskz_cvttpd_epi32(0xFF, x));
  }
  ECO_TARGET_AVX512 static uint64_t lastLane(const U& x) {
    return static_cast<uint64_t>(
        _mm256_extract_epi64(_mm512_maskz_extracti64x4_epi64(0xF, x, 1), 3));
  }
};

#endif  // ECO_X86_KERNELS

}  // namespace

void drawStationsScalar(UniformGenerator& g, int32_t n, int32_t* out) {
  for (int k = 0; k < kStationDrawBlock; ++k) {
    const float r = nextUniform(g);
    const int32_t i = static_cast<int32_t>(static_cast<double>(n) * r);
    out[k] = i < n ? i : n - 1;
  }
}

void drawStationsPortable(UniformGenerator& g, int32_t n, int32_t* out) {
#if ECO_VECTOR128
  drawBlockWith<Draws128>(g, n, out);
#else
  drawStationsScalar(g, n, out);
#endif
}

#if ECO_X86_KERNELS
ECO_TARGET_AVX2 ECO_KERNEL_FLATTEN void drawStationsAvx2(UniformGenerator& g, int32_t n,
                                                         int32_t* out) {
  drawBlockWith<DrawsAvx2>(g, n, out);
}
ECO_TARGET_AVX512 ECO_KERNEL_FLATTEN void drawStationsAvx512(UniformGenerator& g, int32_t n,
                                                             int32_t* out) {
  drawBlockWith<DrawsAvx512>(g, n, out);
}
#else
void drawStationsAvx2(UniformGenerator& g, int32_t n, int32_t* out) {
  drawStationsPortable(g, n, out);
}
void drawStationsAvx512(UniformGenerator& g, int32_t n, int32_t* out) {
  drawStationsPortable(g, n, out);
}
#endif

}  // namespace eco
