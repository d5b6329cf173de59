#pragma once
// Pseudo-samples: reference stations drawn at random, with replacement,
// until their summed surface reaches a target surface.
//
// The draws touch only what can change a result. A species without a
// non-zero density at any reference station of the ecotope (an inactive
// species) keeps an accumulator of 0 and a profile value of 0, and adding
// a zero product leaves an accumulator unchanged, so only the active
// species are accumulated, each station's non-zero values only. The active
// species are held in slots, the most frequent first: the first `head`
// slots as dense rows per station (cheap in vector code where most values
// are non-zero), the others as per-station lists. Sums that the evaluation
// model carries in extended precision are formed in double where that is
// provably the same (numeric/exact_float.h).

#include <cstdint>
#include <span>
#include <vector>

#include "input/tables.h"
#include "numeric/accumulate_kernels.h"
#include "numeric/evaluation.h"
#include "numeric/random.h"

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

// What the draws of one ecotope need, fixed for the ecotope.
struct DrawSetup {
  int32_t n = 0;  // reference stations
  int32_t nspec = 0;
  const float* surf = nullptr;              // n surfaces
  const float* stadens = nullptr;           // n station totals
  const float* stabiom = nullptr;           // n station totals, or null: no biomass
  const EcotopeSamples* samples = nullptr;  // the ecotope's records
  // Per station its totals x surface (exact in double), the biomass ones
  // only with biomass; totalsInRange: every sum of them is 0 or a normal
  // float, so that only a midpoint needs a test.
  std::vector<double> densProd, biomProd;
  bool totalsInRange = false;
  bool withBiomassProfile = false;  // the biomass profile is wanted
  bool wantContributions = false;
  // Random numbers taken for every pseudo-sample, whether or not its draws
  // need them all; also the most draws one pseudo-sample can make.
  int64_t perSample = 0;
  UniformJump jump;  // the generator's advance over perSample steps

  std::vector<float> refprof;  // per species
  Extended refSum = 0;         // sum of refprof in species order, as the similarity forms it

  // Active species.
  int32_t active = 0;
  std::size_t width = 0;             // slots, padded to a multiple of 16 with at least 3 spare ones
  std::vector<int32_t> slotSpecies;  // species of each active slot
  std::vector<int32_t> speciesSlot;  // per species its slot, or -1
  std::vector<float> slotRef;        // refprof per slot (0 in padding)
  float minPositiveRef = 0;          // smallest positive refprof (infinity: none)
  // Products that could leave the normal float range (or are negative):
  // the ecotope's accumulation is made in extended precision throughout.
  bool extended = false;
  std::size_t head = 0;            // slots [0, head) as dense rows
  std::vector<double> headProd;    // station j's densities x surface at [j * head, (j + 1) * head)
  std::vector<int64_t> tailStart;  // n + 1
  std::vector<int32_t> tailSlot;   // slots >= head, each list padded to whole groups
  std::vector<double> tailProd;    // their densities x the station's surface (0 in the padding)
  StationValues values() const;    // the kernels' view of the above
};

DrawSetup makeDrawSetup(const SurveyTables& t, int e, const std::vector<float>& refprof,
                        bool withBiomassProfile, bool wantContributions, int32_t maxstat);

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
