#include "literal_stats.h"

#include <cmath>

#include "literal_x87.h"
#include "numeric/machine.h"

namespace eco::literal {
namespace {

const StationGroup& groupOf(const StationTable& stations, int e, int g) {
  return stations.ecotope[static_cast<std::size_t>(e)].group[static_cast<std::size_t>(g)];
}

float targetSurface(const StationTable& stations, int e) {
  const long double half = 0.5L * groupOf(stations, e, kReference).meansurf;
  return static_cast<float>(groupOf(stations, e, kAssessment).sumsurf - half);
}

// Stations outer, every species inner.
std::vector<float> referenceSums(const std::vector<float>& values, const StationGroup& ref,
                                 std::size_t nspec) {
  std::vector<float> acc(nspec, 0.0f);
  for (std::size_t j = 0; j < ref.surf.size(); ++j) {
    for (std::size_t s = 0; s < nspec; ++s) {
      acc[s] = x87AddProduct(acc[s], values[j * nspec + s], ref.surf[j]);
    }
  }
  return acc;
}

constexpr std::size_t K = kPseudoSamples;

}  // namespace

bool eligibleForSummary(const StationTable& stations, int e) {
  return groupOf(stations, e, kReference).nstat() >= 1;
}

bool eligibleForReport(const StationTable& stations, int e) {
  if (groupOf(stations, e, kAssessment).nstat() <= 0) return false;
  if (groupOf(stations, e, kReference).nstat() <= 2) return false;
  return targetSurface(stations, e) > 0.0f;
}

bool surfaceWarning(const StationTable& stations, int e) {
  const StationGroup& ref = groupOf(stations, e, kReference);
  return ref.sdsurf > ref.meansurf;
}

void buildReferenceProfile(const SurveyTables& t, int e, EcotopeProfile& p) {
  const std::size_t nspec = static_cast<std::size_t>(t.species.nspec());
  const StationGroup& ref = groupOf(t.stations, e, kReference);
  const EcotopeSamples& es = t.samples.ecotope[static_cast<std::size_t>(e)];
  const std::vector<float> acc = referenceSums(denseReference(es, nspec, false), ref, nspec);
  p.refprof.assign(nspec, 0.0f);
  for (std::size_t s = 0; s < nspec; ++s) p.refprof[s] = x87Root4(acc[s] / ref.sumsurf);
}

void buildEcotopeProfile(const SurveyTables& t, int e, EcotopeProfile& p) {
  const std::size_t nspec = static_cast<std::size_t>(t.species.nspec());
  const bool biomass = t.samples.biomass;
  const StationGroup& ref = groupOf(t.stations, e, kReference);
  const StationGroup& ass = groupOf(t.stations, e, kAssessment);
  const EcotopeSamples& es = t.samples.ecotope[static_cast<std::size_t>(e)];
  p = EcotopeProfile{};
  p.asstarget = targetSurface(t.stations, e);
  p.refprof.assign(nspec, 0.0f);
  p.assprof.assign(nspec, 0.0f);
  if (biomass) {
    p.refbprof.assign(nspec, 0.0f);
    p.assbprof.assign(nspec, 0.0f);
  }
  const std::vector<float> acc = referenceSums(denseReference(es, nspec, false), ref, nspec);
  const std::vector<float> bacc =
      biomass ? referenceSums(denseReference(es, nspec, true), ref, nspec) : acc;
  for (std::size_t s = 0; s < nspec; ++s) {
    if (acc[s] > 0.0f) p.nspref = p.nspref + 1.0f;
    const float quotient = acc[s] / ref.sumsurf;
    p.totdensref = p.totdensref + quotient;
    p.refprof[s] = x87Root4(quotient);
    if (biomass) {
      const float bq = bacc[s] / ref.sumsurf;
      p.totbiomref = p.totbiomref + bq;
      p.refbprof[s] = x87Root4(bq);
    }
  }
  for (std::size_t s = 0; s < nspec; ++s) {
    if (es.assdens[s] > 0.0f) p.nspass = p.nspass + 1.0f;
    const float quotient = es.assdens[s] / ass.sumsurf;
    p.totdensass = p.totdensass + quotient;
    p.assprof[s] = x87Root4(quotient);
    if (biomass) {
      const float bq = es.assbiom[s] / ass.sumsurf;
      p.totbiomass = p.totbiomass + bq;
      p.assbprof[s] = x87Root4(bq);
    }
  }
}

DrawSetup makeDrawSetup(const SurveyTables& t, int e, const std::vector<float>& refprof,
                        bool withBiomassProfile, bool wantContributions, int32_t maxstat) {
  const std::size_t ue = static_cast<std::size_t>(e);
  const StationGroup& ref = t.stations.ecotope[ue].group[kReference];
  const EcotopeSamples& es = t.samples.ecotope[ue];
  DrawSetup d;
  d.n = ref.nstat();
  d.nspec = t.species.nspec();
  d.surf = ref.surf.data();
  d.stadens = es.stadens[kReference].data();
  d.stabiom = t.samples.biomass ? es.stabiom[kReference].data() : nullptr;
  d.samples = &es;
  d.withBiomassProfile = withBiomassProfile && t.samples.biomass;
  d.wantContributions = wantContributions;
  d.perSample = 2 * static_cast<int64_t>(std::max<int32_t>(maxstat, 0));
  d.refprof = refprof;
  return d;
}

float brayCurtis(std::span<const float> x, std::span<const float> y, std::span<float> contrib) {
  const std::size_t n = x.size();
  const bool want = !contrib.empty();
  long double m = 0, a = 0, b = 0;
  for (std::size_t s = 0; s < n; ++s) {
    m += x[s] > y[s] ? y[s] : x[s];
    a += x[s];
    b += y[s];
    if (want) contrib[s] = std::fabs(x[s] - y[s]);
  }
  const long double total = a + b;
  const float similarity = static_cast<float>(2 * m / total);
  if (want) {
    for (std::size_t s = 0; s < n; ++s) contrib[s] = static_cast<float>(contrib[s] / total);
  }
  return similarity;
}

namespace {

// A draw with its dense matrices formed once per call of the caller.
struct Dense {
  std::vector<float> refdens, refbiom;
};

Dense denseOf(const DrawSetup& d) {
  const std::size_t nspec = static_cast<std::size_t>(d.nspec);
  Dense m;
  m.refdens = denseReference(*d.samples, nspec, false);
  if (d.withBiomassProfile) m.refbiom = denseReference(*d.samples, nspec, true);
  return m;
}

void draw(const DrawSetup& d, const Dense& dense, float target, UniformGenerator& g,
          PseudoSample& ps) {
  const std::size_t nspec = static_cast<std::size_t>(d.nspec);
  // randbuf: all 2 x maxstat numbers, element 1 first, before the first draw.
  std::vector<float> randbuf(static_cast<std::size_t>(d.perSample));
  for (float& r : randbuf) r = nextUniform(g);
  std::vector<float> acc(nspec, 0.0f), bacc(nspec, 0.0f);
  float S = 0.0f, densSum = 0.0f, biomSum = 0.0f;
  std::size_t m = 0;
  ps = PseudoSample{};
  while (S < target) {
    if (m == randbuf.size()) {
      ps.fellShort = true;
      break;
    }
    const float r = randbuf[m++];
    int64_t i = static_cast<int64_t>(std::trunc(static_cast<long double>(d.n) * r));
    if (i >= d.n) i = d.n - 1;
    const std::size_t ui = static_cast<std::size_t>(i);
    S = S + d.surf[ui];
    for (std::size_t s = 0; s < nspec; ++s) {
      acc[s] = x87AddProduct(acc[s], dense.refdens[ui * nspec + s], d.surf[ui]);
      if (d.withBiomassProfile) {
        bacc[s] = x87AddProduct(bacc[s], dense.refbiom[ui * nspec + s], d.surf[ui]);
      }
    }
    densSum = x87AddProduct(densSum, d.stadens[ui], d.surf[ui]);
    if (d.stabiom != nullptr) biomSum = x87AddProduct(biomSum, d.stabiom[ui], d.surf[ui]);
  }
  ps.S = S;
  ps.p.resize(nspec);
  float count = 0.0f;
  for (std::size_t s = 0; s < nspec; ++s) {
    ps.p[s] = x87Root4(acc[s] / S);
    if (ps.p[s] > 0.0f) count = count + 1.0f;
  }
  if (d.withBiomassProfile) {
    ps.pb.resize(nspec);
    for (std::size_t s = 0; s < nspec; ++s) ps.pb[s] = x87Root4(bacc[s] / S);
  }
  ps.D = densSum / S;
  ps.B = biomSum / S;
  ps.N = count;
  ps.contrib.resize(d.wantContributions ? nspec : 0);
  ps.similarity = brayCurtis(ps.p, std::span<const float>(d.refprof.data(), nspec), ps.contrib);
}

}  // namespace

void drawPseudoSample(const DrawSetup& setup, float target, UniformGenerator& g, PseudoSample& ps) {
  draw(setup, denseOf(setup), target, g, ps);
}

int32_t surfaceClass(float S, float meansurf, int32_t maxClass) {
  const long double x = std::trunc(static_cast<long double>(S) / meansurf + 0.5L);
  if (!(x <= static_cast<long double>(maxClass))) return 0;
  const int32_t c = static_cast<int32_t>(x);
  return c < 1 ? 1 : c;
}

int64_t fillClassTables(const DrawSetup& setup, float meansurf, bool biomass, UniformGenerator& g,
                        ClassTables& tables, const std::function<void(int32_t)>& progress) {
  const std::size_t n = static_cast<std::size_t>(setup.n);
  tables.simclass.assign(n, {});
  tables.densclass.assign(n, {});
  tables.nspclass.assign(n, {});
  tables.biomclass.assign(biomass ? n : 0, {});
  const Dense dense = denseOf(setup);
  int64_t fellShort = 0;
  PseudoSample ps;
  for (int32_t k = 1; k <= setup.n; ++k) {
    progress(k);
    const float target = static_cast<float>((static_cast<long double>(k) - 0.5L) * meansurf);
    for (int it = 0; it < kPseudoSamples; ++it) {
      draw(setup, dense, target, g, ps);
      if (ps.fellShort) ++fellShort;
      const int32_t c = surfaceClass(ps.S, meansurf, setup.n);
      if (c == 0) continue;
      const std::size_t row = static_cast<std::size_t>(c - 1);
      tables.simclass[row].push_back(ps.similarity);
      tables.densclass[row].push_back(ps.D);
      tables.nspclass[row].push_back(ps.N);
      if (biomass) tables.biomclass[row].push_back(ps.B);
    }
  }
  return fellShort;
}

std::vector<float> classValues(const std::vector<float>& values) {
  std::vector<float> v = values;
  if (v.size() < kClassSlots) v.resize(kClassSlots, AMACH(6));
  return v;
}

int64_t fillRefDistributions(const DrawSetup& setup, const EcotopeProfile& profile, bool biomass,
                             UniformGenerator& g, RefDistributions& dist) {
  const std::size_t nspec = static_cast<std::size_t>(setup.nspec);
  dist.simdist.assign(K, 0.0f);
  dist.densdist.assign(K, 0.0f);
  dist.nspdist.assign(K, 0.0f);
  dist.biomdist.assign(biomass ? K : 0, 0.0f);
  std::vector<int32_t> all(nspec);
  for (std::size_t s = 0; s < nspec; ++s) all[s] = static_cast<int32_t>(s);
  dist.contribdist = {all, std::vector<float>(nspec * K, 0.0f)};
  dist.ddiffdist = {all, std::vector<float>(nspec * K, 0.0f)};
  dist.bdiffdist = {biomass ? all : std::vector<int32_t>{},
                    std::vector<float>(biomass ? nspec * K : 0, 0.0f)};
  const Dense dense = denseOf(setup);
  int64_t fellShort = 0;
  PseudoSample ps;
  for (std::size_t k = 0; k < K; ++k) {
    draw(setup, dense, profile.asstarget, g, ps);
    if (ps.fellShort) ++fellShort;
    dist.simdist[k] = ps.similarity;
    dist.densdist[k] = ps.D;
    dist.nspdist[k] = ps.N;
    if (biomass) dist.biomdist[k] = ps.B;
    for (std::size_t s = 0; s < nspec; ++s) {
      dist.contribdist.values[s * K + k] = ps.contrib[s];
      dist.ddiffdist.values[s * K + k] = x87DiffPow4(ps.p[s], profile.refprof[s]);
      if (biomass) dist.bdiffdist.values[s * K + k] = x87DiffPow4(ps.pb[s], profile.refbprof[s]);
    }
  }
  return fellShort;
}

void selectContributors(std::span<const float> v, const SpeciesRows& rows, int64_t listLength,
                        ContributorList& list) {
  // The rows hold every species in order: the full species x 2000 matrix.
  eco::selectContributors(v, rows.values, kPseudoSamples, listLength, list);
}

}  // namespace eco::literal
