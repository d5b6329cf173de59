#pragma once
// Pseudo-samples: reference stations drawn at random, with replacement,
// until their summed surface reaches a target surface. This is what the
// draws of one ecotope need, fixed for the ecotope.
//
// The draws touch only what can change a result. A species without a
// non-zero density at any reference station of the ecotope (an inactive
// species) keeps an accumulator of 0 and a profile value of 0, and adding
// a zero product leaves an accumulator unchanged, so only the active
// species are accumulated, each station's non-zero values only. The active
// species are held in slots, the most frequent first: the first `head`
// slots as dense rows per station (cheap in vector code where most values
// are non-zero), the others as per-station lists (resample/layout.h). Sums
// that the evaluation model carries in extended precision are formed in
// double where that is provably the same (numeric/exact_float.h).

#include <cstdint>
#include <vector>

#include "input/tables.h"
#include "numeric/evaluation.h"
#include "numeric/random.h"
#include "resample/layout.h"
#include "resample/path_kernels.h"

namespace eco {

struct DrawSetup {
  int32_t n = 0;  // reference stations
  int32_t nspec = 0;
  const float* surf = nullptr;              // n surfaces
  const float* stadens = nullptr;           // n station totals
  const float* stabiom = nullptr;           // n station totals, or null: no biomass
  const EcotopeSamples* samples = nullptr;  // the ecotope's records
  // Per station its totals x surface (exact in double), the biomass ones
  // only with biomass; totalsInRange: every sum of them is 0 or a normal
  // float, so that only a midpoint needs a test. totalsProd: the two side
  // by side per station (the biomass 0 without biomass), for the sums held
  // in one vector.
  std::vector<double> densProd, biomProd, totalsProd;
  bool totalsInRange = false;
  bool withBiomassProfile = false;  // the biomass profile is wanted
  bool wantContributions = false;
  // Random numbers taken for every pseudo-sample, whether or not its draws
  // need them all; also the most draws one pseudo-sample can make.
  int64_t perSample = 0;
  UniformJump jump;                      // the generator's advance over perSample steps
  const PathKernels* kernels = nullptr;  // the kernel path of the draws

  std::vector<float> refprof;  // per species
  Extended refSum = 0;         // sum of refprof in species order, as the similarity forms it

  // Active species.
  int32_t active = 0;
  std::size_t width = 0;             // slots (resample/layout.h)
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
  // Every product a float (as with counts on surfaces that are powers of
  // two): the values are held as floats instead (headFloat, tailFloat;
  // headProd and tailProd stay empty) and every sum is a float addition.
  bool floatSums = false;
  std::vector<float> headFloat, tailFloat;
  StationValues values() const;  // the kernels' views of the above
  StationFloats floatValues() const;
};

// The setup of ecotope e, the draws made on the given kernel path (which
// the machine must have).
DrawSetup makeDrawSetup(const SurveyTables& t, int e, const std::vector<float>& refprof,
                        bool withBiomassProfile, bool wantContributions, int32_t maxstat,
                        KernelPath path = runKernelPath());

// Whether the setup keeps every rule of the layout (resample/layout.h);
// checked by assert after every setup the program makes.
bool layoutHolds(const DrawSetup& setup);

}  // namespace eco
