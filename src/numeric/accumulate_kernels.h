#pragma once
// The species loops of the resampling, vectorised, with runtime dispatch
// between AVX-512, AVX2 and portable code (numeric/simd_target.h). Every
// path gives the same bits: each computes in double what the evaluation
// model computes in extended precision, and recomputes in extended
// precision every lane whose double result could round differently
// (numeric/exact_float.h).

#include <cstddef>
#include <cstdint>
#include <limits>

#include "numeric/simd_target.h"

namespace eco {

// Sums over the species of one pseudo-sample, p = root4(acc / S):
struct ProfileSums {
  double a = 0.0;                                              // sum of p
  double m = 0.0;                                              // sum of min(p, y)
  float minPositive = std::numeric_limits<float>::infinity();  // smallest positive p
  int64_t count = 0;                                           // species with p > 0
};

// The species values of the reference stations, by occurrence: per station
// its first `head` slots as a dense row and its other non-zero slots as a
// list, every value the product density x surface (exact in double). Every
// list's length is a multiple of kListGroup: a list is padded with values
// of 0 on slots that no species holds, distinct within the list.
inline constexpr std::size_t kListGroup = 4;
struct StationValues {
  std::size_t head = 0;                // a multiple of 16
  const double* headProd = nullptr;    // station j's row at [j * head, (j + 1) * head)
  const int64_t* tailStart = nullptr;  // station j's list at [tailStart[j], tailStart[j + 1])
  const int32_t* tailSlot = nullptr;
  const double* tailProd = nullptr;
  // Every entry number fits in int32_t: the lists of a batch are then added
  // in one run (numeric/accumulate_kernels.cpp).
  bool runs = false;
};

struct SpeciesKernels {
  // For each of `count` drawn stations in draw order, every value of its
  // row and list added to its slot's accumulator: acc = float(acc + prod),
  // rounded as addProduct rounds it, each prod the exact product of two
  // floats. The caller guarantees that every value is 0 or positive and every
  // sum is 0 or in the normal float range.
  void (*accumulate)(float* acc, const StationValues& values, const int32_t* stations,
                     std::size_t count);
  // The sums of ProfileSums over i < count, acc[i] / S divided in float and
  // y[i] >= 0 the reference profile. Exact per term; the sums a and m are
  // formed in double in any order (the caller decides whether that order
  // is exact).
  void (*profileSums)(const float* acc, float S, const float* y, std::size_t count,
                      ProfileSums& out);
};

// The kernels of the path in use.
const SpeciesKernels& speciesKernels();
// The kernels of a given available path (for tests).
const SpeciesKernels& kernelsOf(KernelPath path);

}  // namespace eco
