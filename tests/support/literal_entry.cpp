// The statistics entry points of the program, answered by the literal
// evaluation: linked ahead of the statistics library into the
// literal_ecoassess tool, they take the place of the program's own
// profile, resampling and distribution code, while everything else (input,
// passes, output) is the program's. The tool's outputs must be the
// program's, byte for byte.
#include "literal_stats.h"
#include "stats/class_order.h"

namespace eco {

bool surfaceWarning(const StationTable& stations, int e) {
  return literal::surfaceWarning(stations, e);
}
void buildReferenceProfile(const SurveyTables& t, int e, EcotopeProfile& p) {
  literal::buildReferenceProfile(t, e, p);
}
void buildEcotopeProfile(const SurveyTables& t, int e, EcotopeProfile& p) {
  literal::buildEcotopeProfile(t, e, p);
}

// The literal draws use no kernels.
DrawSetup makeDrawSetup(const SurveyTables& t, int e, const std::vector<float>& refprof,
                        bool withBiomassProfile, bool wantContributions, int32_t maxstat,
                        KernelPath) {
  return literal::makeDrawSetup(t, e, refprof, withBiomassProfile, wantContributions, maxstat);
}

int32_t surfaceClass(float S, float meansurf, int32_t maxClass) {
  return literal::surfaceClass(S, meansurf, maxClass);
}

// The literal evaluation is single-threaded whatever the run asks for.
int64_t fillClassTables(const DrawSetup& setup, float meansurf, bool biomass, UniformGenerator& g,
                        ClassTables& tables, const std::function<void(int32_t)>& progress, int) {
  return literal::fillClassTables(setup, meansurf, biomass, g, tables, progress);
}

// The quantile routine sorts each class itself.
void orderClassTables(ClassTables&, int) {}

std::vector<float> classValues(const std::vector<float>& values) {
  return literal::classValues(values);
}

const float* SpeciesRows::valuesOf(int32_t s) const {
  for (std::size_t r = 0; r < species.size(); ++r) {
    if (species[r] == s) return values.data() + r * kPseudoSamples;
  }
  return nullptr;
}

int64_t fillRefDistributions(const DrawSetup& setup, const EcotopeProfile& profile, bool biomass,
                             const ObservedLists&, UniformGenerator& g, RefDistributions& dist,
                             int) {
  return literal::fillRefDistributions(setup, profile, biomass, g, dist);
}

void selectContributors(std::span<const float> v, const SpeciesRows& rows, int64_t listLength,
                        ContributorList& list) {
  literal::selectContributors(v, rows, listLength, list);
}

}  // namespace eco
