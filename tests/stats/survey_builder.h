#pragma once
// Builds survey tables in memory for the statistics tests.
#include <cmath>
#include <string>
#include <vector>

#include "input/input_files.h"
#include "input/tables.h"
#include "numeric/evaluation.h"

namespace eco::test {

struct StationSpec {
  int group;  // kReference or kAssessment
  float surface;
  std::vector<float> density;  // per species
  std::vector<float> biomass;  // per species (empty: none)
};

// One ecotope (code 7) holding the given stations over nspec species.
inline SurveyTables makeSurvey(int nspec, const std::vector<StationSpec>& stations,
                               bool biomass = false) {
  SurveyTables t;
  for (int s = 0; s < nspec; ++s) {
    t.species.specode.push_back(s + 1);
    t.species.spename.push_back(std::string("species ") + std::to_string(s + 1) +
                                std::string(50 - 8 - std::to_string(s + 1).size(), ' '));
  }
  t.ecotopes.etcode.push_back(7);
  t.ecotopes.etname.push_back(std::string(50, ' '));
  t.stations.ecotope.resize(1);
  EcotopeStations& et = t.stations.ecotope[0];
  int code = 1;
  for (const StationSpec& st : stations) {
    StationGroup& g = et.group[static_cast<std::size_t>(st.group)];
    g.stacode.push_back(code++);
    g.surf.push_back(st.surface);
    g.sumsurf += st.surface;
    g.sumsqsurf = addProduct(g.sumsqsurf, st.surface, st.surface);
  }
  computeSurfaceStatistics(t.stations);
  t.samples.nspec = nspec;
  t.samples.biomass = biomass;
  t.samples.ecotope.resize(1);
  EcotopeSamples& es = t.samples.ecotope[0];
  es.refrecords.assign(et.group[kReference].stacode.size(), {});
  es.assdens.assign(static_cast<std::size_t>(nspec), 0.0f);
  es.assbiom.assign(biomass ? static_cast<std::size_t>(nspec) : 0, 0.0f);
  for (int g = 0; g < 2; ++g) {
    es.stadens[g].assign(et.group[g].stacode.size(), 0.0f);
    es.stabiom[g].assign(biomass ? et.group[g].stacode.size() : 0, 0.0f);
  }
  std::size_t jr = 0, ja = 0;
  for (const StationSpec& st : stations) {
    const std::size_t j = st.group == kReference ? jr++ : ja++;
    for (std::size_t s = 0; s < st.density.size(); ++s) {
      const float bio = biomass && s < st.biomass.size() ? st.biomass[s] : 0.0f;
      if (st.group == kReference) {
        // Records only where the data file would have one.
        if (st.density[s] != 0.0f || bio != 0.0f) {
          es.refrecords[j].push_back({static_cast<int32_t>(s), st.density[s], bio});
        }
      } else {
        es.assdens[s] = addProduct(es.assdens[s], st.density[s], st.surface);
        if (biomass) es.assbiom[s] = addProduct(es.assbiom[s], bio, st.surface);
      }
      es.stadens[st.group][j] += st.density[s];
      if (biomass) es.stabiom[st.group][j] += bio;
    }
  }
  return t;
}

}  // namespace eco::test
