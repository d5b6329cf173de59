#pragma once
// Per-ecotope profiles: the reference and assessment samples condensed into
// surface-weighted mean densities (and biomasses) per species, on the
// fourth-root scale, with species counts and totals.

#include <vector>

#include "input/tables.h"
#include "stats/eligibility.h"

namespace eco {

struct EcotopeProfile {
  std::vector<float> refprof, refbprof;  // reference profile (biomass: refbprof)
  std::vector<float> assprof, assbprof;  // assessment profile
  float nspref = 0, nspass = 0;          // species counts, held as reals
  float totdensref = 0, totdensass = 0;
  float totbiomref = 0, totbiomass = 0;
  float asstarget = 0;  // assessment surface less half the mean reference surface
};

// The reference surfaces are very unequal: deviation above mean.
bool surfaceWarning(const StationTable& stations, int e);

// refprof only (the summary pass).
void buildReferenceProfile(const SurveyTables& t, int e, EcotopeProfile& p);
// Every field (the report pass).
void buildEcotopeProfile(const SurveyTables& t, int e, EcotopeProfile& p);

}  // namespace eco
