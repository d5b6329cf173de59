#pragma once
// The summary pass of one ecotope: 2000 pseudo-samples for each target
// surface k = 1..n, sorted into surface classes by their summed surface.

#include <cstdint>
#include <functional>
#include <vector>

#include "resample/draws.h"
#include "results/pseudo_samples.h"

namespace eco {

inline constexpr std::size_t kClassSlots = 4000;

// Per class c = 1..n (index c - 1), the values in the order they arrived.
// A class keeps every value it receives, even beyond its 4000 slots.
struct ClassTables {
  std::vector<std::vector<float>> simclass, densclass, nspclass, biomclass;
};

// The class of a summed surface: trunc(S / meansurf + 0.5), at least 1;
// 0 when the class lies above maxClass (such values are not kept).
int32_t surfaceClass(float S, float meansurf, int32_t maxClass);

// Fills the tables. `progress(k)` is called on the calling thread for
// k = 1..n in order, before the results of target k are taken into the
// tables. The pseudo-samples are drawn on `threads` threads (one region
// for the whole ecotope, targets handed out in blocks, at most a few
// targets ahead of the ones taken in); the tables are the same for any
// number. Returns how many pseudo-samples fell short of their target.
int64_t fillClassTables(const DrawSetup& setup, float meansurf, bool biomass, UniformGenerator& g,
                        ClassTables& tables, const std::function<void(int32_t)>& progress,
                        int threads = 1);

// The value vector of one class for the quantiles: up to 4000 values
// padded with missing values to 4000 slots, or all of a larger class.
std::vector<float> classValues(const std::vector<float>& values);

}  // namespace eco
