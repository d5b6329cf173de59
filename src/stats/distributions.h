#pragma once
// The report pass of one ecotope: 2000 pseudo-samples with the surface of
// the assessment sample, giving the reference distribution of every measure.

#include <cstdint>
#include <vector>

#include "stats/profile.h"
#include "stats/resample.h"

namespace eco {

// Per iteration k (0..1999); the species matrices at [s * 2000 + k].
struct RefDistributions {
  std::vector<float> simdist, densdist, nspdist, biomdist;
  std::vector<float> contribdist, ddiffdist, bdiffdist;
};

// Returns how many pseudo-samples fell short of the target.
int64_t fillRefDistributions(const DrawSetup& setup, const EcotopeProfile& profile, bool biomass,
                             UniformGenerator& g, RefDistributions& dist);

}  // namespace eco
