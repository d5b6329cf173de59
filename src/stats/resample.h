#pragma once
// Pseudo-samples: reference stations drawn at random, with replacement,
// until their summed surface reaches a target surface.

#include <cstdint>
#include <vector>

#include "input/tables.h"
#include "numeric/random.h"

namespace eco {

// What the draws of one ecotope need, fixed for the ecotope.
struct DrawSetup {
  int32_t n = 0;  // reference stations
  int32_t nspec = 0;
  const float* surf = nullptr;     // n surfaces
  const float* refdens = nullptr;  // n x nspec
  const float* refbiom = nullptr;  // n x nspec, or null: no biomass profile wanted
  const float* stadens = nullptr;  // n station totals
  const float* stabiom = nullptr;  // n station totals, or null: no biomass
  const float* refprof = nullptr;  // nspec
  bool wantContributions = false;
  // Random numbers taken for every pseudo-sample, whether or not its draws
  // need them all; also the most draws one pseudo-sample can make.
  int64_t perSample = 0;
  UniformJump jump;  // the generator's advance over perSample steps
};

struct PseudoSample {
  float S = 0;                // summed surface of the drawn stations
  std::vector<float> p, pb;   // profile and biomass profile
  float D = 0, B = 0, N = 0;  // density, biomass, species count
  float similarity = 0;
  std::vector<float> contrib;    // per-species contributions (when wanted)
  bool fellShort = false;        // the random numbers ran out before the target
  std::vector<float> acc, bacc;  // accumulators (working storage)
};

DrawSetup makeDrawSetup(const SurveyTables& t, int e, const std::vector<float>& refprof,
                        bool withBiomassProfile, bool wantContributions, int32_t maxstat);

// One pseudo-sample. The generator advances by exactly setup.perSample steps.
void drawPseudoSample(const DrawSetup& setup, float target, UniformGenerator& g, PseudoSample& ps);

}  // namespace eco
