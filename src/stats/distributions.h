#pragma once
// The report pass of one ecotope: 2000 pseudo-samples with the surface of
// the assessment sample, giving the reference distribution of every measure.

#include <cstdint>
#include <span>
#include <vector>

#include "resample/draws.h"
#include "stats/profile.h"
#include "stats/similarity.h"

namespace eco {

// The pseudo-sample values of the species that a list names: the lists are
// chosen from the observed values alone, so only their species' values
// are kept (a few rows instead of species x 2000).
struct SpeciesRows {
  std::vector<int32_t> species;  // the rows' species
  std::vector<float> values;     // row r: values[r * 2000 .. r * 2000 + 1999]
  // The 2000 values of a species, or null when it has no row.
  const float* valuesOf(int32_t s) const;
};

// Per iteration k (0..1999).
struct RefDistributions {
  std::vector<float> simdist, densdist, nspdist, biomdist;
  SpeciesRows contribdist, ddiffdist, bdiffdist;
};

// The observed per-species values of the three lists and their length.
struct ObservedLists {
  std::span<const float> contrib, ddiff, bdiff;
  int64_t listLength = 0;
};

// Draws on `threads` threads, in one region; the distributions are the
// same for any number. Returns how many pseudo-samples fell short of the
// target.
int64_t fillRefDistributions(const DrawSetup& setup, const EcotopeProfile& profile, bool biomass,
                             const ObservedLists& observed, UniformGenerator& g,
                             RefDistributions& dist, int threads = 1);

// selectContributors (similarity.h) with the rows of the distributions.
void selectContributors(std::span<const float> v, const SpeciesRows& rows, int64_t listLength,
                        ContributorList& list);

}  // namespace eco
