#pragma once
// The species loops of the resampling, vectorised: AVX-512, AVX2 and
// portable code (resample/kernel_path.h), one set per path. Every
// path gives the same bits: each computes in double what the evaluation
// model computes in extended precision, and recomputes in extended
// precision every lane whose double result could round differently
// (numeric/exact_float.h).

#include <cstddef>
#include <cstdint>
#include <limits>

#include "resample/kernel_path.h"
#include "resample/layout.h"

namespace eco {

// Sums over the species of one pseudo-sample, p = root4(acc / S):
struct ProfileSums {
  double a = 0.0;                                              // sum of p
  double m = 0.0;                                              // sum of min(p, y)
  float minPositive = std::numeric_limits<float>::infinity();  // smallest positive p
  int64_t count = 0;                                           // species with p > 0
};

struct SpeciesKernels {
  // For each of `count` drawn stations in draw order, every value of its
  // row and list added to its slot's accumulator: acc = float(acc + prod),
  // rounded as addProduct rounds it, each prod the exact product of two
  // floats. The values keep the layout's rules (resample/layout.h), their
  // range included: every value 0 or positive and every sum 0 or in the
  // normal float range.
  void (*accumulate)(float* acc, const StationValues& values, const int32_t* stations,
                     std::size_t count);
  // The same where every value is a float: acc + prod is then the float
  // addition (numeric/exact_float.h, isFloatValue), with no test.
  void (*accumulateFloats)(float* acc, const StationFloats& values, const int32_t* stations,
                           std::size_t count);
  // The sums of ProfileSums over i < count, acc[i] / S divided in float and
  // y[i] >= 0 the reference profile. Exact per term; the sums a and m are
  // formed in double in any order (the caller decides whether that order
  // is exact).
  void (*profileSums)(const float* acc, float S, const float* y, std::size_t count,
                      ProfileSums& out);
};

// Each path's kernels, for resample/path_kernels.cpp to choose from. A build
// without the x86 paths has the portable kernels under their names.
extern const SpeciesKernels kScalarSpeciesKernels;
extern const SpeciesKernels kPortableSpeciesKernels;
extern const SpeciesKernels kAvx2SpeciesKernels;
extern const SpeciesKernels kAvx512SpeciesKernels;
extern const SpeciesKernels kSveSpeciesKernels;

}  // namespace eco
