#include "stats/resample.h"

#include <cmath>

#include "numeric/evaluation.h"
#include "stats/similarity.h"

namespace eco {

DrawSetup makeDrawSetup(const SurveyTables& t, int e, const std::vector<float>& refprof,
                        bool withBiomassProfile, bool wantContributions, int32_t maxstat) {
  const std::size_t ue = static_cast<std::size_t>(e);
  const StationGroup& ref = t.stations.ecotope[ue].group[kReference];
  const EcotopeSamples& es = t.samples.ecotope[ue];
  DrawSetup d;
  d.n = ref.nstat();
  d.nspec = t.species.nspec();
  d.surf = ref.surf.data();
  d.refdens = es.refdens.data();
  d.stadens = es.stadens[kReference].data();
  // Station biomass totals feed B whenever the data carry biomass; the
  // biomass profile is only wanted by the report pass.
  d.refbiom = withBiomassProfile && t.samples.biomass ? es.refbiom.data() : nullptr;
  d.stabiom = t.samples.biomass ? es.stabiom[kReference].data() : nullptr;
  d.refprof = refprof.data();
  d.wantContributions = wantContributions;
  d.perSample = 2 * static_cast<int64_t>(std::max<int32_t>(maxstat, 0));
  d.jump = makeUniformJump(static_cast<uint64_t>(d.perSample));
  return d;
}

void drawPseudoSample(const DrawSetup& d, float target, UniformGenerator& g, PseudoSample& ps) {
  const std::size_t nspec = static_cast<std::size_t>(d.nspec);
  ps.acc.assign(nspec, 0.0f);
  if (d.refbiom != nullptr) ps.bacc.assign(nspec, 0.0f);
  float S = 0.0f, densSum = 0.0f, biomSum = 0.0f;

  // Every pseudo-sample takes d.perSample random numbers and uses them from
  // the first on. Only the ones actually used are generated; the state then
  // jumps to where taking all of them would have left it.
  const UniformGenerator start = g;
  int64_t m = 0;
  ps.fellShort = false;
  while (S < target) {
    if (m == d.perSample) {
      ps.fellShort = true;  // the random numbers of this pseudo-sample are used up
      break;
    }
    ++m;
    const float r = nextUniform(g);
    // n x r is exact in extended precision; r < 1 keeps i below n.
    int64_t i = static_cast<int64_t>(static_cast<Extended>(d.n) * r);
    if (i >= d.n) i = d.n - 1;
    const std::size_t ui = static_cast<std::size_t>(i);
    const float surface = d.surf[ui];
    S = S + surface;
    const float* row = d.refdens + ui * nspec;
    for (std::size_t s = 0; s < nspec; ++s) ps.acc[s] = addProduct(ps.acc[s], row[s], surface);
    densSum = addProduct(densSum, d.stadens[ui], surface);
    if (d.refbiom != nullptr) {
      const float* brow = d.refbiom + ui * nspec;
      for (std::size_t s = 0; s < nspec; ++s) ps.bacc[s] = addProduct(ps.bacc[s], brow[s], surface);
    }
    if (d.stabiom != nullptr) biomSum = addProduct(biomSum, d.stabiom[ui], surface);
  }
  g = jumped(start, d.jump);

  ps.S = S;
  ps.p.resize(nspec);
  float count = 0.0f;
  for (std::size_t s = 0; s < nspec; ++s) {
    ps.p[s] = root4(ps.acc[s] / S);
    if (ps.p[s] > 0.0f) count = count + 1.0f;
  }
  if (d.refbiom != nullptr) {
    ps.pb.resize(nspec);
    for (std::size_t s = 0; s < nspec; ++s) ps.pb[s] = root4(ps.bacc[s] / S);
  }
  ps.D = densSum / S;
  ps.B = biomSum / S;
  ps.N = count;
  ps.contrib.resize(d.wantContributions ? nspec : 0);
  ps.similarity = brayCurtis(ps.p, std::span<const float>(d.refprof, nspec), ps.contrib);
}

}  // namespace eco
