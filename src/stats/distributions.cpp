#include "stats/distributions.h"

#include <atomic>
#include <cmath>
#include <stdexcept>

#include "numeric/evaluation.h"
#include "stats/class_tables.h"
#include "stats/parallel.h"

namespace eco {
namespace {

constexpr std::size_t K = kPseudoSamples;
constexpr int kSamplesPerClaim = 50;

// The species of both lists chosen from v, positive list first.
std::vector<int32_t> listSpecies(std::span<const float> v, int64_t listLength) {
  ContributorList list;
  chooseContributors(v, listLength, list);
  std::vector<int32_t> species;
  for (const Contributor& c : list.positive) species.push_back(c.species);
  for (const Contributor& c : list.negative) species.push_back(c.species);
  return species;
}

void startRows(SpeciesRows& rows, std::vector<int32_t> species) {
  rows.species = std::move(species);
  rows.values.assign(rows.species.size() * K, 0.0f);
}

// Column k of the species rows: each listed species' contribution to the
// dissimilarity, and its density and biomass differences (biomass: the
// sums of its rows, or null without them).
void storeSpeciesColumns(const DrawSetup& setup, const EcotopeProfile& profile, const DrawWork& w,
                         const DrawOutcome& o, const float* bacc, std::size_t k,
                         RefDistributions& dist) {
  SpeciesRows& c = dist.contribdist;
  for (std::size_t r = 0; r < c.species.size(); ++r) {
    const std::size_t s = static_cast<std::size_t>(c.species[r]);
    const float x = profileValue(setup, w, o.S, c.species[r]);
    const float diff = std::fabs(x - setup.refprof[s]);
    c.values[r * K + k] = static_cast<float>(diff / o.total);
  }
  SpeciesRows& d = dist.ddiffdist;
  for (std::size_t r = 0; r < d.species.size(); ++r) {
    const std::size_t s = static_cast<std::size_t>(d.species[r]);
    d.values[r * K + k] = diffPow4(profileValue(setup, w, o.S, d.species[r]), profile.refprof[s]);
  }
  SpeciesRows& b = dist.bdiffdist;
  for (std::size_t r = 0; r < b.species.size(); ++r) {
    const std::size_t s = static_cast<std::size_t>(b.species[r]);
    const float pb = bacc != nullptr ? root4(bacc[r] / o.S) : 0.0f;
    b.values[r * K + k] = diffPow4(pb, profile.refbprof[s]);
  }
}

}  // namespace

const float* SpeciesRows::valuesOf(int32_t s) const {
  for (std::size_t r = 0; r < species.size(); ++r) {
    if (species[r] == s) return values.data() + r * K;
  }
  return nullptr;
}

int64_t fillRefDistributions(const DrawSetup& setup, const EcotopeProfile& profile, bool biomass,
                             const ObservedLists& observed, UniformGenerator& g,
                             RefDistributions& dist, int threads) {
  dist.simdist.assign(K, 0.0f);
  dist.densdist.assign(K, 0.0f);
  dist.nspdist.assign(K, 0.0f);
  dist.biomdist.assign(biomass ? K : 0, 0.0f);
  startRows(dist.contribdist, listSpecies(observed.contrib, observed.listLength));
  startRows(dist.ddiffdist, listSpecies(observed.ddiff, observed.listLength));
  startRows(dist.bdiffdist,
            biomass ? listSpecies(observed.bdiff, observed.listLength) : std::vector<int32_t>{});
  const bool withBiomass = biomass && setup.withBiomassProfile;
  const StationRows bio =
      biomassRows(setup, withBiomass ? std::span<const int32_t>(dist.bdiffdist.species)
                                     : std::span<const int32_t>());
  std::vector<unsigned char> fellShort(K, 0);
  const UniformGenerator start = g;
  std::atomic<std::size_t> next{0};

  // Each pseudo-sample writes only its own column k.
  auto work = [&](int) {
    DrawWork w;
    prepareWork(setup, w);
    std::vector<float> bacc(static_cast<std::size_t>(bio.rows), 0.0f);
    DrawOutcome o;
    while (true) {
      const std::size_t first = next.fetch_add(kSamplesPerClaim);
      if (first >= K) return;
      const std::size_t last = std::min(K, first + kSamplesPerClaim);
      UniformGenerator sg = sampleStart(setup, start, first);
      for (std::size_t k = first; k < last; ++k) {
        drawFrom(setup, profile.asstarget, sg, w, o, withBiomass ? &bio : nullptr, bacc.data());
        sg = jumped(sg, setup.jump);
        fellShort[k] = o.fellShort ? 1 : 0;
        dist.simdist[k] = o.similarity;
        dist.densdist[k] = o.D;
        dist.nspdist[k] = o.N;
        if (biomass) dist.biomdist[k] = o.B;
        storeSpeciesColumns(setup, profile, w, o, withBiomass ? bacc.data() : nullptr, k, dist);
      }
    }
  };
  const int workers =
      std::min<int>(threads, static_cast<int>((K + kSamplesPerClaim - 1) / kSamplesPerClaim));
  runShared(workers, work);
  g = sampleStart(setup, start, K);
  int64_t count = 0;
  for (unsigned char f : fellShort) count += f;
  return count;
}

void selectContributors(std::span<const float> v, const SpeciesRows& rows, int64_t listLength,
                        ContributorList& list) {
  chooseContributors(v, listLength, list);
  attachChances(list, kPseudoSamples, [&](int32_t s) {
    const float* values = rows.valuesOf(s);
    if (values == nullptr)
      throw std::logic_error("no pseudo-sample values kept for a listed species");
    return values;
  });
}

}  // namespace eco
