#include "stats/profile.h"

#include "numeric/evaluation.h"
#include "resample/draw_targets.h"

namespace eco {
namespace {

const StationGroup& groupOf(const StationTable& stations, int e, int g) {
  return stations.ecotope[static_cast<std::size_t>(e)].group[static_cast<std::size_t>(g)];
}

// Surface-weighted sums over the reference stations (stations outer,
// species inner), each rounded to a float after every addition. A species
// without a record at a station adds 0 x surface there, which changes no
// sum, so only the records are visited.
std::vector<float> referenceSums(const EcotopeSamples& es, const StationGroup& ref,
                                 std::size_t nspec, bool biomass) {
  std::vector<float> acc(nspec, 0.0f);
  for (std::size_t j = 0; j < ref.surf.size(); ++j) {
    const float surface = ref.surf[j];
    for (const ReferenceRecord& r : stationRecords(es, j)) {
      float& a = acc[static_cast<std::size_t>(r.species)];
      a = addProduct(a, biomass ? r.biom : r.dens, surface);
    }
  }
  return acc;
}

}  // namespace

bool surfaceWarning(const StationTable& stations, int e) {
  const StationGroup& ref = groupOf(stations, e, kReference);
  return ref.sdsurf > ref.meansurf;
}

void buildReferenceProfile(const SurveyTables& t, int e, EcotopeProfile& p) {
  const std::size_t nspec = static_cast<std::size_t>(t.species.nspec());
  const StationGroup& ref = groupOf(t.stations, e, kReference);
  const EcotopeSamples& es = t.samples.ecotope[static_cast<std::size_t>(e)];
  const std::vector<float> acc = referenceSums(es, ref, nspec, false);
  p.refprof.assign(nspec, 0.0f);
  for (std::size_t s = 0; s < nspec; ++s) p.refprof[s] = root4(acc[s] / ref.sumsurf);
}

void buildEcotopeProfile(const SurveyTables& t, int e, EcotopeProfile& p) {
  const std::size_t nspec = static_cast<std::size_t>(t.species.nspec());
  const bool biomass = t.samples.biomass;
  const StationGroup& ref = groupOf(t.stations, e, kReference);
  const StationGroup& ass = groupOf(t.stations, e, kAssessment);
  const EcotopeSamples& es = t.samples.ecotope[static_cast<std::size_t>(e)];

  p = EcotopeProfile{};
  p.asstarget = reportTarget(ref, ass);
  p.refprof.assign(nspec, 0.0f);
  p.assprof.assign(nspec, 0.0f);
  if (biomass) {
    p.refbprof.assign(nspec, 0.0f);
    p.assbprof.assign(nspec, 0.0f);
  }

  const std::vector<float> acc = referenceSums(es, ref, nspec, false);
  const std::vector<float> bacc = biomass ? referenceSums(es, ref, nspec, true) : acc;
  for (std::size_t s = 0; s < nspec; ++s) {
    if (acc[s] > 0.0f) p.nspref = p.nspref + 1.0f;
    const float quotient = acc[s] / ref.sumsurf;
    p.totdensref = p.totdensref + quotient;
    p.refprof[s] = root4(quotient);
    if (biomass) {
      const float bq = bacc[s] / ref.sumsurf;
      p.totbiomref = p.totbiomref + bq;
      p.refbprof[s] = root4(bq);
    }
  }
  for (std::size_t s = 0; s < nspec; ++s) {
    if (es.assdens[s] > 0.0f) p.nspass = p.nspass + 1.0f;
    const float quotient = es.assdens[s] / ass.sumsurf;
    p.totdensass = p.totdensass + quotient;
    p.assprof[s] = root4(quotient);
    if (biomass) {
      const float bq = es.assbiom[s] / ass.sumsurf;
      p.totbiomass = p.totbiomass + bq;
      p.assbprof[s] = root4(bq);
    }
  }
}

}  // namespace eco
