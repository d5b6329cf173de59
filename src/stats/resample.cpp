#include "stats/resample.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/accumulate_kernels.h"
#include "numeric/exact_float.h"
#include "numeric/held_sum.h"
#include "numeric/station_draws.h"

namespace eco {
namespace {

constexpr std::size_t kSlotBlock = 16;
constexpr std::size_t kDrawBatch = 256;
// Dense rows are never allowed more than this many values (32 MB).
constexpr std::size_t kMaxHeadValues = std::size_t{1} << 22;

// Relative cost of one dense lane against one group of list entries, per
// kernel path (measured on the benchmark surveys; only the speed depends on
// it).
double denseLaneCost(KernelPath path) { return byPath(path, 0.15, 0.06, 0.04); }

// What a station's list costs besides its groups: the writing of its group
// numbers into the batch's run (numeric/accumulate_kernels.cpp).
constexpr double kListCost = 0.35;

// The number of dense slots: the multiple of 16 that makes the draws
// cheapest, given each station's slots in ascending order.
std::size_t chooseHead(const std::vector<std::vector<int32_t>>& stationSlots, std::size_t width,
                       KernelPath path) {
  const double laneCost = denseLaneCost(path);
  const std::size_t n = stationSlots.size();
  auto listCost = [&](std::size_t h) {  // the lists beside h dense slots
    double cost = 0;
    for (const std::vector<int32_t>& slots : stationSlots) {
      const std::size_t tail = static_cast<std::size_t>(
          slots.end() - std::lower_bound(slots.begin(), slots.end(), static_cast<int32_t>(h)));
      if (tail > 0) cost += kListCost + static_cast<double>((tail + kListGroup - 1) / kListGroup);
    }
    return cost;
  };
  std::size_t best = 0;
  double bestCost = listCost(0);
  for (std::size_t h = kSlotBlock; h <= width; h += kSlotBlock) {
    if (h * n > kMaxHeadValues) break;
    const double cost = laneCost * static_cast<double>(h * n) + listCost(h);
    if (cost < bestCost) {
      bestCost = cost;
      best = h;
    }
  }
  return best;
}

// Whether the sums of up to perSample values, each 0 or positive, stay 0
// or normal floats, so that the double shortcut needs only the midpoint
// test: every value 0 or at least the smallest normal float (not negative,
// subnormal or NaN), and perSample times the largest below 2^127.
struct NormalSums {
  double largest = 0.0;
  bool normal = true;
  void take(double p) {
    if (!(p == 0.0 || p >= kSmallestNormalFloat)) normal = false;
    largest = std::max(largest, p);
  }
  bool hold(int64_t perSample) const {
    return normal &&
           largest * static_cast<double>(std::max<int64_t>(perSample, 1)) < kFloatOverflowGuard;
  }
};

// The station totals x surface that the draws add to D and B.
void setStationTotals(DrawSetup& d) {
  const std::size_t n = static_cast<std::size_t>(d.n);
  d.densProd.resize(n);
  d.biomProd.resize(d.stabiom != nullptr ? n : 0);
  NormalSums totals;
  for (std::size_t j = 0; j < n; ++j) {
    d.densProd[j] = static_cast<double>(d.stadens[j]) * d.surf[j];
    totals.take(d.densProd[j]);
    if (d.stabiom != nullptr) {
      d.biomProd[j] = static_cast<double>(d.stabiom[j]) * d.surf[j];
      totals.take(d.biomProd[j]);
    }
  }
  d.totalsInRange = totals.hold(d.perSample);
}

}  // namespace

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
  // Station biomass totals feed B whenever the data carry biomass; the
  // biomass profile is only wanted by the report pass.
  d.stabiom = t.samples.biomass ? es.stabiom[kReference].data() : nullptr;
  d.samples = &es;
  d.withBiomassProfile = withBiomassProfile && t.samples.biomass;
  d.wantContributions = wantContributions;
  d.perSample = 2 * static_cast<int64_t>(std::max<int32_t>(maxstat, 0));
  d.jump = makeUniformJump(static_cast<uint64_t>(d.perSample));
  setStationTotals(d);

  const std::size_t nspec = static_cast<std::size_t>(d.nspec);
  const std::size_t n = static_cast<std::size_t>(d.n);
  d.refprof = refprof;
  d.refprof.resize(nspec, 0.0f);
  d.minPositiveRef = std::numeric_limits<float>::infinity();
  for (float y : d.refprof) {
    d.refSum += y;
    if (y > 0.0f) d.minPositiveRef = std::min(d.minPositiveRef, y);
  }

  // The standing non-zero densities per station, and how often each
  // species occurs.
  std::vector<std::vector<ReferenceRecord>> records(n);
  std::vector<int64_t> occurrence(nspec, 0);
  for (std::size_t j = 0; j < n; ++j) {
    std::vector<ReferenceRecord> r = stationRecords(es, j);
    std::erase_if(r, [](const ReferenceRecord& x) { return x.dens == 0.0f; });
    for (const ReferenceRecord& x : r) ++occurrence[static_cast<std::size_t>(x.species)];
    records[j] = std::move(r);
  }

  // Slots: the active species, the most frequent first (ties in species order).
  d.speciesSlot.assign(nspec, -1);
  for (std::size_t s = 0; s < nspec; ++s) {
    if (occurrence[s] > 0) d.slotSpecies.push_back(static_cast<int32_t>(s));
  }
  std::stable_sort(d.slotSpecies.begin(), d.slotSpecies.end(), [&](int32_t a, int32_t b) {
    return occurrence[static_cast<std::size_t>(a)] > occurrence[static_cast<std::size_t>(b)];
  });
  d.active = static_cast<int32_t>(d.slotSpecies.size());
  d.width = (d.slotSpecies.size() + kSlotBlock - 1) / kSlotBlock * kSlotBlock;
  // Spare slots for the padding of the lists (below).
  if (d.width - d.slotSpecies.size() < kListGroup - 1) d.width += kSlotBlock;
  d.slotRef.assign(d.width, 0.0f);
  for (std::size_t a = 0; a < d.slotSpecies.size(); ++a) {
    const std::size_t s = static_cast<std::size_t>(d.slotSpecies[a]);
    d.speciesSlot[s] = static_cast<int32_t>(a);
    d.slotRef[a] = d.refprof[s];
  }

  // The double shortcut needs every sum of the products to stay 0 or a
  // normal float.
  NormalSums products;
  for (std::size_t j = 0; j < n; ++j) {
    for (const ReferenceRecord& x : records[j]) {
      products.take(static_cast<double>(x.dens) * d.surf[j]);
    }
  }
  d.extended = !products.hold(d.perSample);
  std::vector<std::vector<int32_t>> stationSlots(n);
  for (std::size_t j = 0; j < n; ++j) {
    for (const ReferenceRecord& x : records[j]) {
      stationSlots[j].push_back(d.speciesSlot[static_cast<std::size_t>(x.species)]);
    }
    std::sort(stationSlots[j].begin(), stationSlots[j].end());
  }
  d.head = d.extended ? 0 : chooseHead(stationSlots, d.width, activeKernelPath());
  d.headProd.assign(n * d.head, 0.0);
  d.tailStart.assign(n + 1, 0);
  const std::size_t spare = d.width - static_cast<std::size_t>(d.active);
  for (std::size_t j = 0; j < n; ++j) {
    d.tailStart[j] = static_cast<int64_t>(d.tailSlot.size());
    std::vector<std::pair<int32_t, double>> tail;
    for (const ReferenceRecord& x : records[j]) {
      const int32_t slot = d.speciesSlot[static_cast<std::size_t>(x.species)];
      const double prod = static_cast<double>(x.dens) * d.surf[j];
      if (static_cast<std::size_t>(slot) < d.head) {
        d.headProd[j * d.head + static_cast<std::size_t>(slot)] = prod;
      } else {
        tail.emplace_back(slot, prod);
      }
    }
    std::sort(tail.begin(), tail.end());
    // Each list padded to whole groups with zeros on spare slots, which no
    // species holds and whose sums stay 0; the spare slot of a padding
    // entry changes from station to station, so that the draws do not
    // queue on one of them.
    for (std::size_t q = 0; tail.size() % kListGroup != 0; ++q) {
      tail.emplace_back(d.active + static_cast<int32_t>((j * (kListGroup - 1) + q) % spare), 0.0);
    }
    for (const auto& [slot, v] : tail) {
      d.tailSlot.push_back(slot);
      d.tailProd.push_back(v);
    }
  }
  d.tailStart[n] = static_cast<int64_t>(d.tailSlot.size());
  return d;
}

StationRows biomassRows(const DrawSetup& d, std::span<const int32_t> species) {
  StationRows rows;
  rows.rows = static_cast<int32_t>(species.size());
  std::vector<int32_t> rowOf(static_cast<std::size_t>(d.nspec), -1);
  for (std::size_t r = 0; r < species.size(); ++r) {
    rowOf[static_cast<std::size_t>(species[r])] = static_cast<int32_t>(r);
  }
  const std::size_t n = static_cast<std::size_t>(d.n);
  rows.start.assign(n + 1, 0);
  for (std::size_t j = 0; j < n; ++j) {
    rows.start[j] = static_cast<int64_t>(rows.row.size());
    if (species.empty()) continue;
    for (const ReferenceRecord& x : stationRecords(*d.samples, j)) {
      const int32_t r = rowOf[static_cast<std::size_t>(x.species)];
      if (r < 0 || x.biom == 0.0f) continue;  // a zero adds nothing
      rows.row.push_back(r);
      rows.prod.push_back(static_cast<double>(x.biom) * d.surf[j]);
    }
  }
  rows.start[n] = static_cast<int64_t>(rows.row.size());
  return rows;
}

StationValues DrawSetup::values() const {
  // Runs write entry numbers a few dozen past a list's start.
  const bool runs =
      tailSlot.size() < static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) - 64;
  return {head, headProd.data(), tailStart.data(), tailSlot.data(), tailProd.data(), runs};
}

void prepareWork(const DrawSetup& setup, DrawWork& work) {
  work.acc.assign(setup.width, 0.0f);
  work.stations.assign(kDrawBatch, 0);
}

namespace {

// A pseudo-sample's draws from batch to batch: the generator, the summed
// surface, the random numbers used, and the station sums (as floats, or
// held in doubles).
struct DrawChain {
  UniformGenerator g;
  float S = 0.0f;
  int64_t m = 0;
  float dens = 0.0f, biom = 0.0f;
  HeldSum densHeld = heldSumOf(0.0), biomHeld = heldSumOf(0.0);
  // Indices drawn ahead, two blocks: the one in use and the next. A block
  // is drawn again as soon as it is used up, so that its stores have long
  // finished when its indices are read.
  alignas(64) int32_t ahead[2 * kStationDrawBlock] = {};
  unsigned aheadPos = 0;
  bool more = true;
  bool fellShort = false;
};

// Draws up to kDrawBatch stations into drawn, until the target surface is
// reached or the random numbers run out; returns how many. kBlocks: the
// indices come a block at a time from the block kernel (n below 2^29),
// otherwise one by one in extended precision. kHeld: the station totals x
// surface are in range and the sums are held in doubles. One instance per
// case keeps the chain from draw to draw free of tests that never change.
template <bool kBlocks, bool kHeld, bool kBiomass>
std::size_t drawBatch(const DrawSetup& d, float target, StationDrawKernel drawStations,
                      DrawChain& c, int32_t* drawn) {
  const float* const surf = d.surf;
  const double* const densProd = d.densProd.data();
  const double* const biomProd = d.biomProd.data();
  const int64_t perSample = d.perSample;
  const int32_t n = d.n;
  float S = c.S;
  int64_t m = c.m;
  unsigned aheadPos = c.aheadPos;
  HeldSum densHeld = c.densHeld, biomHeld = c.biomHeld;
  float dens = c.dens, biom = c.biom;
  std::size_t count = 0;
  while (count < kDrawBatch) {
    if (!(S < target)) {
      c.more = false;
      break;
    }
    if (m == perSample) {
      c.fellShort = true;  // the random numbers of this pseudo-sample are used up
      c.more = false;
      break;
    }
    ++m;
    int32_t i;
    if constexpr (kBlocks) {
      i = c.ahead[aheadPos];
      aheadPos = (aheadPos + 1) % (2 * kStationDrawBlock);  // a power of two
      if (aheadPos % kStationDrawBlock == 0) {
        drawStations(c.g, n, c.ahead + (aheadPos ^ kStationDrawBlock));
      }
    } else {
      const float r = nextUniform(c.g);
      const int64_t x = truncToInt64(Extended(n) * r);
      i = static_cast<int32_t>(x < n ? x : n - 1);
    }
    const std::size_t j = static_cast<std::size_t>(i);
    S = S + surf[j];
    if constexpr (kHeld) {
      densHeld = addHeldSum(densHeld, densProd[j]);
      if constexpr (kBiomass) biomHeld = addHeldSum(biomHeld, biomProd[j]);
    } else {
      dens = addExactProduct(dens, densProd[j]);
      if constexpr (kBiomass) biom = addExactProduct(biom, biomProd[j]);
    }
    drawn[count++] = i;
  }
  c.S = S;
  c.m = m;
  c.aheadPos = aheadPos;
  c.densHeld = densHeld;
  c.biomHeld = biomHeld;
  c.dens = dens;
  c.biom = biom;
  return count;
}

using DrawBatch = std::size_t (*)(const DrawSetup&, float, StationDrawKernel, DrawChain&, int32_t*);

template <bool kBlocks>
DrawBatch drawBatchFor(bool held, bool biomass) {
  if (held) {
    return biomass ? &drawBatch<kBlocks, true, true> : &drawBatch<kBlocks, true, false>;
  }
  return biomass ? &drawBatch<kBlocks, false, true> : &drawBatch<kBlocks, false, false>;
}

}  // namespace

void drawFrom(const DrawSetup& d, float target, const UniformGenerator& start, DrawWork& work,
              DrawOutcome& out, const StationRows* extra, float* extraAcc) {
  float* const acc = work.acc.data();
  std::fill(acc, acc + d.width, 0.0f);
  if (extra != nullptr) std::fill(extraAcc, extraAcc + extra->rows, 0.0f);
  const SpeciesKernels& kernels = speciesKernels();
  const StationValues values = d.values();
  int32_t* const drawn = work.stations.data();

  // n x r needs 24 + 29 bits: exact in double below 2^29 stations, where
  // the block kernel forms the indices.
  const bool blocks = d.n < kStationDrawLimit;
  const bool biomass = d.stabiom != nullptr;
  const DrawBatch drawBatchOf = blocks ? drawBatchFor<true>(d.totalsInRange, biomass)
                                       : drawBatchFor<false>(d.totalsInRange, biomass);
  const StationDrawKernel drawStations = blocks ? stationDrawKernel() : nullptr;
  DrawChain c;
  c.g = start;
  if (blocks) {
    drawStations(c.g, d.n, c.ahead);
    drawStations(c.g, d.n, c.ahead + kStationDrawBlock);
  }
  while (c.more) {
    // The draws of a batch first, with the station sums: the generator and
    // these sums are chains from draw to draw, the species sums are not, so
    // they run apart.
    const std::size_t count = drawBatchOf(d, target, drawStations, c, drawn);
    // Then every sum of the batch, each in draw order.
    if (!d.extended) {
      kernels.accumulate(acc, values, drawn, count);
    } else {
      for (std::size_t t = 0; t < count; ++t) {
        const std::size_t j = static_cast<std::size_t>(drawn[t]);
        for (int64_t k = d.tailStart[j]; k < d.tailStart[j + 1]; ++k) {
          float& a = acc[d.tailSlot[static_cast<std::size_t>(k)]];
          a = addExtendedSum(a, d.tailProd[static_cast<std::size_t>(k)]);
        }
      }
    }
    for (std::size_t t = 0; extra != nullptr && t < count; ++t) {
      const std::size_t j = static_cast<std::size_t>(drawn[t]);
      for (int64_t k = extra->start[j]; k < extra->start[j + 1]; ++k) {
        float& a = extraAcc[extra->row[static_cast<std::size_t>(k)]];
        a = addExactProduct(a, extra->prod[static_cast<std::size_t>(k)]);
      }
    }
  }
  const float S = c.S;
  const float densSum = d.totalsInRange ? static_cast<float>(heldSumValue(c.densHeld)) : c.dens;
  const float biomSum = d.totalsInRange ? static_cast<float>(heldSumValue(c.biomHeld)) : c.biom;
  out.fellShort = c.fellShort;
  out.S = S;
  out.D = densSum / S;
  out.B = biomSum / S;

  ProfileSums sums;
  kernels.profileSums(acc, S, d.slotRef.data(), d.width, sums);
  // The similarity's sums have only non-negative float terms (the terms of
  // min(p, y) are p or y values).
  const double smallest = std::min(sums.minPositive, d.minPositiveRef);
  Extended a = 0, msum = 0;
  if (floatSumExact(sums.a, smallest)) {
    a = sums.a;
    msum = sums.m;
  } else {
    for (int32_t s = 0; s < d.nspec; ++s) {
      const float x = profileValue(d, work, S, s);
      const float y = d.refprof[static_cast<std::size_t>(s)];
      msum += x > y ? y : x;
      a += x;
    }
  }
  // The count is a float incremented once per species: it stops at 2^24.
  out.N = static_cast<float>(std::min<int64_t>(sums.count, int64_t{1} << 24));
  out.total = a + d.refSum;
  // Two empty profiles give 0/0: a similarity that is not a number.
  out.similarity = static_cast<float>(2 * msum / out.total);
}

float profileValue(const DrawSetup& d, const DrawWork& work, float S, int32_t species) {
  const int32_t slot = d.speciesSlot[static_cast<std::size_t>(species)];
  const float a = slot < 0 ? 0.0f : work.acc[static_cast<std::size_t>(slot)];
  return root4Exact(a / S);
}

UniformGenerator sampleStart(const DrawSetup& d, const UniformGenerator& first, uint64_t index) {
  return jumped(first, repeatJump(d.jump, index));
}

void drawPseudoSample(const DrawSetup& d, float target, UniformGenerator& g, PseudoSample& ps) {
  const std::size_t nspec = static_cast<std::size_t>(d.nspec);
  DrawWork work;
  prepareWork(d, work);
  StationRows bio;
  std::vector<float> bacc;
  if (d.withBiomassProfile) {
    std::vector<int32_t> all(nspec);
    for (std::size_t s = 0; s < nspec; ++s) all[s] = static_cast<int32_t>(s);
    bio = biomassRows(d, all);
    bacc.assign(nspec, 0.0f);
  }
  DrawOutcome o;
  drawFrom(d, target, g, work, o, d.withBiomassProfile ? &bio : nullptr, bacc.data());
  g = jumped(g, d.jump);
  ps.S = o.S;
  ps.D = o.D;
  ps.B = o.B;
  ps.N = o.N;
  ps.similarity = o.similarity;
  ps.fellShort = o.fellShort;
  ps.p.resize(nspec);
  for (std::size_t s = 0; s < nspec; ++s) {
    ps.p[s] = profileValue(d, work, o.S, static_cast<int32_t>(s));
  }
  ps.pb.resize(d.withBiomassProfile ? nspec : 0);
  for (std::size_t s = 0; s < ps.pb.size(); ++s) ps.pb[s] = root4Exact(bacc[s] / o.S);
  ps.contrib.resize(d.wantContributions ? nspec : 0);
  for (std::size_t s = 0; s < ps.contrib.size(); ++s) {
    const float c = std::fabs(ps.p[s] - d.refprof[s]);
    ps.contrib[s] = static_cast<float>(c / o.total);
  }
}

}  // namespace eco
