#include "stats/assessment.h"

#include <cmath>
#include <limits>
#include <span>

#include "numeric/evaluation.h"
#include "numeric/quantile.h"
#include "stats/comparison.h"
#include "stats/similarity.h"

namespace eco {
namespace {

Percentiles quantilesOf(std::span<const float> values) {
  Percentiles q{}, xlo{}, xhi{};
  int32_t nmv = 0;
  EQTIL(static_cast<int32_t>(values.size()), values.data(), static_cast<int32_t>(q.size()),
        kProportions.data(), q.data(), xlo.data(), xhi.data(), nmv);
  return q;
}

Percentiles missingRow() {
  Percentiles q;
  q.fill(std::numeric_limits<float>::quiet_NaN());
  return q;
}

ListedSpecies speciesEntry(const SpeciesTable& species, int32_t s) {
  ListedSpecies l;
  l.specode = species.specode[static_cast<std::size_t>(s)];
  l.name = species.spename[static_cast<std::size_t>(s)];
  return l;
}

// The rows of a contributor list; with profiles, each species' mean value
// in the assessment and the reference sample (back-transformed).
std::vector<ListedSpecies> listed(const std::vector<Contributor>& list, const SpeciesTable& species,
                                  const std::vector<float>* assprof,
                                  const std::vector<float>* refprof) {
  std::vector<ListedSpecies> rows;
  rows.reserve(list.size());
  for (const Contributor& c : list) {
    ListedSpecies l = speciesEntry(species, c.species);
    l.hasValues = true;
    l.value = c.value;
    l.plow = c.plow;
    l.phigh = c.phigh;
    if (assprof != nullptr) {
      const std::size_t s = static_cast<std::size_t>(c.species);
      l.hasSampleValues = true;
      l.assValue = pow4((*assprof)[s]);
      l.refValue = pow4((*refprof)[s]);
    }
    rows.push_back(std::move(l));
  }
  return rows;
}

// Grade (one quantile call inside powerGrade), then percentiles (another),
// then the chance probabilities of the observed value.
MeasureAssessment measureOf(Measure m, const std::vector<float>& dist, float observed) {
  MeasureAssessment a;
  a.measure = m;
  a.grade = powerGrade(dist);
  a.percentiles = quantilesOf(dist);
  a.observed = observed;
  const Chances c = chanceProbability(observed, dist);
  a.plow = c.plow;
  a.phigh = c.phigh;
  a.seLow = monteCarloError(c.plow, kPseudoSamples);
  a.seHigh = monteCarloError(c.phigh, kPseudoSamples);
  return a;
}

}  // namespace

EcotopeClasses summarizeClasses(const SurveyTables& t, int e, const ClassTables& classes,
                                bool biomass) {
  const std::size_t ue = static_cast<std::size_t>(e);
  const StationGroup& ref = t.stations.ecotope[ue].group[kReference];
  EcotopeClasses out;
  out.position = e;
  out.etcode = t.ecotopes.etcode[ue];
  out.etname = t.ecotopes.etname[ue];
  out.biomass = biomass;
  out.rows.reserve(static_cast<std::size_t>(ref.nstat()));
  for (int32_t c = 1; c <= ref.nstat(); ++c) {
    const std::size_t row = static_cast<std::size_t>(c - 1);
    ClassRow r;
    r.cls = c;
    r.surface = static_cast<float>(c) * ref.meansurf;
    r.q[tableIndex(Measure::similarity)] = quantilesOf(classValues(classes.simclass[row]));
    r.q[tableIndex(Measure::density)] = quantilesOf(classValues(classes.densclass[row]));
    r.q[tableIndex(Measure::biomass)] =
        biomass ? quantilesOf(classValues(classes.biomclass[row])) : missingRow();
    r.q[tableIndex(Measure::species)] = quantilesOf(classValues(classes.nspclass[row]));
    out.rows.push_back(r);
  }
  return out;
}

ObservedValues observeEcotope(const EcotopeProfile& profile, int32_t nspec, bool biomass) {
  const std::size_t n = static_cast<std::size_t>(nspec);
  ObservedValues o;
  o.contribobs.assign(n, 0.0f);
  o.ddiffobs.assign(n, 0.0f);
  o.bdiffobs.assign(biomass ? n : 0, 0.0f);
  o.simobs = brayCurtis(profile.assprof, profile.refprof, o.contribobs);
  for (std::size_t s = 0; s < n; ++s) {
    o.ddiffobs[s] = diffPow4(profile.assprof[s], profile.refprof[s]);
    if (biomass) o.bdiffobs[s] = diffPow4(profile.assbprof[s], profile.refbprof[s]);
  }
  return o;
}

EcotopeAssessment assessEcotope(const SurveyTables& t, int e, const EcotopeProfile& profile,
                                const ObservedValues& observed, const RefDistributions& dist,
                                bool biomass, int64_t listLength) {
  const std::size_t ue = static_cast<std::size_t>(e);
  const EcotopeStations& et = t.stations.ecotope[ue];
  EcotopeAssessment a;
  a.position = e;
  a.etcode = t.ecotopes.etcode[ue];
  a.etname = t.ecotopes.etname[ue];
  a.refSurface = et.group[kReference].sumsurf;
  a.assSurface = et.group[kAssessment].sumsurf;
  a.surfaceWarning = surfaceWarning(t.stations, e);
  ContributorList list;

  MeasureAssessment sim = measureOf(Measure::similarity, dist.simdist, observed.simobs);
  selectContributors(observed.contribobs, dist.contribdist, listLength, list);
  sim.contributors = listed(list.positive, t.species, nullptr, nullptr);
  a.measures.push_back(std::move(sim));

  MeasureAssessment nsp = measureOf(Measure::species, dist.nspdist, profile.nspass);
  nsp.hasReference = true;
  nsp.reference = profile.nspref;
  for (int32_t s : newSpecies(profile.refprof, profile.assprof)) {
    nsp.newSpecies.push_back(speciesEntry(t.species, s));
  }
  a.measures.push_back(std::move(nsp));

  auto difference = [&](Measure m, const std::vector<float>& d, float reference, float obs,
                        const std::vector<float>& diffobs, const SpeciesRows& diffdist,
                        const std::vector<float>& assprof, const std::vector<float>& refprof) {
    MeasureAssessment x = measureOf(m, d, obs);
    x.hasReference = true;
    x.reference = reference;
    selectContributors(diffobs, diffdist, listLength, list);
    x.increases = listed(list.positive, t.species, &assprof, &refprof);
    x.decreases = listed(list.negative, t.species, &assprof, &refprof);
    a.measures.push_back(std::move(x));
  };
  difference(Measure::density, dist.densdist, profile.totdensref, profile.totdensass,
             observed.ddiffobs, dist.ddiffdist, profile.assprof, profile.refprof);
  if (biomass) {
    difference(Measure::biomass, dist.biomdist, profile.totbiomref, profile.totbiomass,
               observed.bdiffobs, dist.bdiffdist, profile.assbprof, profile.refbprof);
  }
  return a;
}

float monteCarloError(float p, int32_t n) {
  const double pd = p;
  return static_cast<float>(std::sqrt(pd * (1.0 - pd) / static_cast<double>(n)));
}

}  // namespace eco
