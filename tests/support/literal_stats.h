#pragma once
// The literal evaluation of the statistics: the reference against which the
// program's resampling is proved exact. Nothing is skipped or reordered:
// every pseudo-sample generates all its 2 x maxstat random numbers before
// its first draw, every draw adds every species (zeros included) in
// extended precision, the reference data are dense stations x species
// matrices, and the report keeps every species' values of every
// pseudo-sample. It is slow by design and lives only in test code.
//
// The functions take the same records as the program's (stats/*.h,
// resample/draws.h); of a
// DrawSetup they read only n, nspec, surf, stadens, stabiom, samples,
// withBiomassProfile, wantContributions, perSample and refprof.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "input/tables.h"
#include "numeric/random.h"
#include "resample/draws.h"
#include "stats/class_tables.h"
#include "stats/distributions.h"
#include "stats/profile.h"
#include "stats/similarity.h"

namespace eco::literal {

bool eligibleForSummary(const StationTable& stations, int e);
bool eligibleForReport(const StationTable& stations, int e);
bool surfaceWarning(const StationTable& stations, int e);
void buildReferenceProfile(const SurveyTables& t, int e, EcotopeProfile& p);
void buildEcotopeProfile(const SurveyTables& t, int e, EcotopeProfile& p);

// The fields listed above.
DrawSetup makeDrawSetup(const SurveyTables& t, int e, const std::vector<float>& refprof,
                        bool withBiomassProfile, bool wantContributions, int32_t maxstat);

float brayCurtis(std::span<const float> x, std::span<const float> y, std::span<float> contrib);
void drawPseudoSample(const DrawSetup& setup, float target, UniformGenerator& g, PseudoSample& ps);

int32_t surfaceClass(float S, float meansurf, int32_t maxClass);
int64_t fillClassTables(const DrawSetup& setup, float meansurf, bool biomass, UniformGenerator& g,
                        ClassTables& tables, const std::function<void(int32_t)>& progress);
std::vector<float> classValues(const std::vector<float>& values);

// Every species gets its row (species 0..nspec-1 in order).
int64_t fillRefDistributions(const DrawSetup& setup, const EcotopeProfile& profile, bool biomass,
                             UniformGenerator& g, RefDistributions& dist);
void selectContributors(std::span<const float> v, const SpeciesRows& rows, int64_t listLength,
                        ContributorList& list);

}  // namespace eco::literal
