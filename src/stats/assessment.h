#pragma once
// From the statistics to the result records (results/records.h): the only
// place where the passes turn distributions into the values that the
// writers print. The quantile routine reports missing values on the
// console, so the order of its calls is part of the output: each builder
// states it.

#include <cstdint>
#include <vector>

#include "input/tables.h"
#include "results/records.h"
#include "stats/class_tables.h"
#include "stats/distributions.h"
#include "stats/profile.h"

namespace eco {

// The summary rows of ecotope e (0-based) from its class tables: classes
// 1..n (n reference stations); per class the quantiles of similarity,
// density, biomass (only with biomass) and species count, in this order.
EcotopeClasses summarizeClasses(const SurveyTables& t, int e, const ClassTables& classes,
                                bool biomass);

// The observed per-species values of a reported ecotope, taken before its
// pseudo-samples are drawn.
struct ObservedValues {
  float simobs = 0;
  std::vector<float> contribobs, ddiffobs, bdiffobs;  // bdiffobs only with biomass
};
ObservedValues observeEcotope(const EcotopeProfile& profile, int32_t nspec, bool biomass);

// The assessment of reported ecotope e: per measure in report order the
// power grade, then the percentiles (each one quantile call), the observed
// and reference values, the chance probabilities with their Monte Carlo
// errors and the species lists.
EcotopeAssessment assessEcotope(const SurveyTables& t, int e, const EcotopeProfile& profile,
                                const ObservedValues& observed, const RefDistributions& dist,
                                bool biomass, int64_t listLength);

// The Monte Carlo standard error of a probability p estimated from n draws:
// sqrt(p (1 - p) / n).
float monteCarloError(float p, int32_t n);

}  // namespace eco
