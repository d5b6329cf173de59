#include "stats/distributions.h"

#include "numeric/evaluation.h"
#include "stats/class_tables.h"

namespace eco {

int64_t fillRefDistributions(const DrawSetup& setup, const EcotopeProfile& profile, bool biomass,
                             UniformGenerator& g, RefDistributions& dist) {
  const std::size_t nspec = static_cast<std::size_t>(setup.nspec);
  const std::size_t K = kPseudoSamples;
  dist.simdist.assign(K, 0.0f);
  dist.densdist.assign(K, 0.0f);
  dist.nspdist.assign(K, 0.0f);
  dist.biomdist.assign(biomass ? K : 0, 0.0f);
  dist.contribdist.assign(nspec * K, 0.0f);
  dist.ddiffdist.assign(nspec * K, 0.0f);
  dist.bdiffdist.assign(biomass ? nspec * K : 0, 0.0f);
  int64_t fellShort = 0;
  PseudoSample ps;
  for (std::size_t k = 0; k < K; ++k) {
    drawPseudoSample(setup, profile.asstarget, g, ps);
    if (ps.fellShort) ++fellShort;
    dist.simdist[k] = ps.similarity;
    dist.densdist[k] = ps.D;
    dist.nspdist[k] = ps.N;
    if (biomass) dist.biomdist[k] = ps.B;
    for (std::size_t s = 0; s < nspec; ++s) {
      dist.contribdist[s * K + k] = ps.contrib[s];
      dist.ddiffdist[s * K + k] = diffPow4(ps.p[s], profile.refprof[s]);
      if (biomass) dist.bdiffdist[s * K + k] = diffPow4(ps.pb[s], profile.refbprof[s]);
    }
  }
  return fellShort;
}

}  // namespace eco
