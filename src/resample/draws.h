#pragma once
// The draws of pseudo-samples from a draw setup (resample/draw_setup.h):
// the stations drawn in batches, then every species sum of the batch in
// draw order by the setup's kernels, then the pseudo-sample's scalar
// results.

#include <cstdint>
#include <span>
#include <vector>

#include "numeric/evaluation.h"
#include "numeric/random.h"
#include "resample/draw_setup.h"

namespace eco {

// Per reference station, values x surface of a chosen list of species
// (rows 0..rows-1), each the exact double product: the biomasses of the
// species that the report's lists name.
struct StationRows {
  int32_t rows = 0;
  std::vector<int64_t> start;  // n + 1: station j's entries at [start[j], start[j + 1])
  std::vector<int32_t> row;
  std::vector<double> prod;
};

// The biomass x surface of the given species per reference station.
StationRows biomassRows(const DrawSetup& setup, std::span<const int32_t> species);

// One thread's working storage for draws of one setup.
struct DrawWork {
  std::vector<float> acc;         // per slot
  std::vector<int32_t> stations;  // a batch of drawn stations
};
void prepareWork(const DrawSetup& setup, DrawWork& work);

// The scalar results of one pseudo-sample.
struct DrawOutcome {
  float S = 0, D = 0, B = 0, N = 0;
  float similarity = 0;
  Extended total = 0;  // a + b of the similarity: the divisor of the contributions
  bool fellShort = false;
};

// Draws the pseudo-sample whose first random number is the one after state
// `start` and leaves its species accumulators in work.acc. With `extra`,
// also accumulates extra's rows into extraAcc (extra->rows values).
void drawFrom(const DrawSetup& setup, float target, const UniformGenerator& start, DrawWork& work,
              DrawOutcome& out, const StationRows* extra = nullptr, float* extraAcc = nullptr);

// The profile value p(s) = root4(acc(s) / S) of species s after drawFrom.
float profileValue(const DrawSetup& setup, const DrawWork& work, float S, int32_t species);

// The start state of pseudo-sample `index` (0-based) of a region whose
// first pseudo-sample starts at `first`.
UniformGenerator sampleStart(const DrawSetup& setup, const UniformGenerator& first, uint64_t index);

// One pseudo-sample in full, every species (for tests and benchmarks).
struct PseudoSample {
  float S = 0;                // summed surface of the drawn stations
  std::vector<float> p, pb;   // profile and biomass profile
  float D = 0, B = 0, N = 0;  // density, biomass, species count
  float similarity = 0;
  std::vector<float> contrib;  // per-species contributions (when wanted)
  bool fellShort = false;      // the random numbers ran out before the target
};

// One pseudo-sample. The generator advances by exactly setup.perSample steps.
void drawPseudoSample(const DrawSetup& setup, float target, UniformGenerator& g, PseudoSample& ps);

}  // namespace eco
