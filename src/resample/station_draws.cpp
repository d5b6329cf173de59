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

#if ECO_VECTOR128

// p x s (mod 2^31 - c) for p, s below 2^31, two lanes at a time in the
// baseline vectors (SSE2 or NEON): the product is h 2^31 + l, which is
// h c + l (mod m); twice that brings it below 2^31 + 86 c, and one
// subtraction below m.
inline v128::U2 mulMod128(v128::U2 p, v128::U2 s, v128::U2 c, v128::U2 m) {
  using namespace v128;
  const U2 low31 = splat64(0x7FFFFFFF);
  U2 x = mulLow32(p, s);
  x = add64(mulLow32(shiftRight<31>(x), c), andBits(x, low31));
  x = add64(mulLow32(shiftRight<31>(x), c), andBits(x, low31));
  return reduceBelow(x, m);
}

void drawBlock128(UniformGenerator& g, int32_t n, int32_t* out) {
  using namespace v128;
  const U2 s1 = splat64(static_cast<uint64_t>(g.s1)), s2 = splat64(static_cast<uint64_t>(g.s2));
  const U2 c1 = splat64(kC1), m1 = splat64(kM1), c2 = splat64(kC2), m2 = splat64(kM2);
  const D2 nd = splatD(static_cast<double>(n)), last = splatD(static_cast<double>(n - 1));
  const auto* p1 = reinterpret_cast<const uint64_t*>(kPow1.data());
  const auto* p2 = reinterpret_cast<const uint64_t*>(kPow2.data());
  U2 x1 = s1, x2 = s2;
  for (int k = 0; k < kStationDrawBlock; k += 2) {
    x1 = mulMod128(loadU(p1 + k), s1, c1, m1);
    x2 = mulMod128(loadU(p2 + k), s2, c2, m2);
    // min(n x r, n - 1) truncated is min(trunc(n x r), n - 1).
    const D2 r = uniformOf(sub64(x1, x2), static_cast<int32_t>(kM1 - 1), 0x1p-31);
    storeTruncated(out + k, minD(mul(r, nd), last));
  }
  g.s1 = static_cast<int32_t>(lane1(x1));
  g.s2 = static_cast<int32_t>(lane1(x2));
}

#endif  // ECO_VECTOR128

#if ECO_X86_KERNELS

// The same in 64-bit lanes of AVX2. The result stays below 2^32, so the
// last step works on the low 32 bits.
ECO_TARGET_AVX2 inline __m256i mulModAvx2(__m256i p, __m256i s, __m256i c, __m256i m) {
  const __m256i low31 = _mm256_set1_epi64x(0x7FFFFFFF);
  __m256i x = _mm256_mul_epu32(p, s);
  x = _mm256_add_epi64(_mm256_mul_epu32(_mm256_srli_epi64(x, 31), c), _mm256_and_si256(x, low31));
  x = _mm256_add_epi64(_mm256_mul_epu32(_mm256_srli_epi64(x, 31), c), _mm256_and_si256(x, low31));
  return _mm256_min_epu32(x, _mm256_sub_epi32(x, m));
}

// Four steps' station indices from the two components' states (low 32
// bits of each 64-bit lane).
ECO_TARGET_AVX2 inline __m128i indicesAvx2(__m256i x1, __m256i x2, __m256d n, __m128i last) {
  const __m256i pick = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
  __m128i z = _mm256_castsi256_si128(
      _mm256_permutevar8x32_epi32(_mm256_sub_epi32(x1, x2), pick));  // s1 - s2
  z = _mm_add_epi32(z, _mm_and_si128(_mm_cmplt_epi32(z, _mm_set1_epi32(1)),
                                     _mm_set1_epi32(static_cast<int32_t>(kM1 - 1))));
  const __m128 r = _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_cvtepi32_pd(z), _mm256_set1_pd(0x1p-31)));
  const __m128i i = _mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_cvtps_pd(r), n));
  return _mm_min_epi32(i, last);
}

ECO_TARGET_AVX2 void drawBlockAvx2(UniformGenerator& g, int32_t n, int32_t* out) {
  const __m256i s1 = _mm256_set1_epi64x(g.s1), s2 = _mm256_set1_epi64x(g.s2);
  const __m256i c1 = _mm256_set1_epi64x(kC1), m1 = _mm256_set1_epi64x(kM1);
  const __m256i c2 = _mm256_set1_epi64x(kC2), m2 = _mm256_set1_epi64x(kM2);
  const __m256d nd = _mm256_set1_pd(static_cast<double>(n));
  const __m128i last = _mm_set1_epi32(n - 1);
  const auto* p1 = reinterpret_cast<const __m256i*>(kPow1.data());
  const auto* p2 = reinterpret_cast<const __m256i*>(kPow2.data());
  __m256i x1 = s1, x2 = s2;
  for (int v = 0; v < kStationDrawBlock / 4; ++v) {
    x1 = mulModAvx2(_mm256_load_si256(p1 + v), s1, c1, m1);
    x2 = mulModAvx2(_mm256_load_si256(p2 + v), s2, c2, m2);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * v), indicesAvx2(x1, x2, nd, last));
  }
  g.s1 = _mm256_extract_epi32(x1, 6);
  g.s2 = _mm256_extract_epi32(x2, 6);
}

// The same in AVX-512, through the zero-masked forms of the intrinsics: the
// plain ones start from an undefined register, which g++ 12 reports as
// maybe uninitialized.
ECO_TARGET_AVX512 inline __m512i mulModAvx512(__m512i p, __m512i s, __m512i c, __m512i m) {
  const __m512i low31 = _mm512_set1_epi64(0x7FFFFFFF);
  __m512i x = _mm512_maskz_mul_epu32(0xFF, p, s);
  x = _mm512_add_epi64(_mm512_maskz_mul_epu32(0xFF, _mm512_maskz_srli_epi64(0xFF, x, 31), c),
                       _mm512_and_si512(x, low31));
  x = _mm512_add_epi64(_mm512_maskz_mul_epu32(0xFF, _mm512_maskz_srli_epi64(0xFF, x, 31), c),
                       _mm512_and_si512(x, low31));
  return _mm512_maskz_min_epu64(0xFF, x, _mm512_sub_epi64(x, m));
}

// Eight steps' station indices from the two components' states.
ECO_TARGET_AVX512 inline __m256i indicesAvx512(__m512i x1, __m512i x2, int32_t n) {
  __m512i z = _mm512_sub_epi64(x1, x2);
  z = _mm512_mask_add_epi64(z, _mm512_cmplt_epi64_mask(z, _mm512_set1_epi64(1)), z,
                            _mm512_set1_epi64(kM1 - 1));
  const __m256 r = _mm512_maskz_cvtpd_ps(
      0xFF, _mm512_mul_pd(_mm512_maskz_cvtepi64_pd(0xFF, z), _mm512_set1_pd(0x1p-31)));
  const __m256i i = _mm512_maskz_cvttpd_epi32(
      0xFF, _mm512_mul_pd(_mm512_maskz_cvtps_pd(0xFF, r), _mm512_set1_pd(static_cast<double>(n))));
  return _mm256_min_epi32(i, _mm256_set1_epi32(n - 1));
}

ECO_TARGET_AVX512 void drawBlockAvx512(UniformGenerator& g, int32_t n, int32_t* out) {
  const __m512i s1 = _mm512_set1_epi64(g.s1), s2 = _mm512_set1_epi64(g.s2);
  const __m512i c1 = _mm512_set1_epi64(kC1), m1 = _mm512_set1_epi64(kM1);
  const __m512i c2 = _mm512_set1_epi64(kC2), m2 = _mm512_set1_epi64(kM2);
  const __m512i a1 = mulModAvx512(_mm512_load_si512(kPow1.data()), s1, c1, m1);
  const __m512i a2 = mulModAvx512(_mm512_load_si512(kPow2.data()), s2, c2, m2);
  const __m512i b1 = mulModAvx512(_mm512_load_si512(kPow1.data() + 8), s1, c1, m1);
  const __m512i b2 = mulModAvx512(_mm512_load_si512(kPow2.data() + 8), s2, c2, m2);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), indicesAvx512(a1, a2, n));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8), indicesAvx512(b1, b2, n));
  g.s1 = static_cast<int32_t>(_mm256_extract_epi64(_mm512_maskz_extracti64x4_epi64(0xF, b1, 1), 3));
  g.s2 = static_cast<int32_t>(_mm256_extract_epi64(_mm512_maskz_extracti64x4_epi64(0xF, b2, 1), 3));
}

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
  drawBlock128(g, n, out);
#else
  drawStationsScalar(g, n, out);
#endif
}

#if ECO_X86_KERNELS
void drawStationsAvx2(UniformGenerator& g, int32_t n, int32_t* out) { drawBlockAvx2(g, n, out); }
void drawStationsAvx512(UniformGenerator& g, int32_t n, int32_t* out) {
  drawBlockAvx512(g, n, out);
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
