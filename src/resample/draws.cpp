#include "resample/draws.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "numeric/exact_float.h"
#include "resample/held_sum.h"

namespace eco {
namespace {

constexpr std::size_t kDrawBatch = 256;

}  // namespace

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
  return {head,
          headProd.data(),
          tailStart.data(),
          tailSlot.data(),
          tailProd.data(),
          runsFit(tailSlot.size())};
}

StationFloats DrawSetup::floatValues() const {
  return {head,
          headFloat.data(),
          tailStart.data(),
          tailSlot.data(),
          tailFloat.data(),
          runsFit(tailSlot.size())};
}

void prepareWork(const DrawSetup& setup, DrawWork& work) {
  work.acc.assign(setup.width, 0.0f);
  work.stations.assign(kDrawBatch, 0);
}

namespace {

// A pseudo-sample's draws from batch to batch: the generator, the summed
// surface, the random numbers used, and the station sums (as floats, or
// held in doubles side by side).
struct DrawChain {
  UniformGenerator g;
  float S = 0.0f;
  int64_t m = 0;
  float dens = 0.0f, biom = 0.0f;
  HeldPair totalsHeld = heldPairOf(0.0, 0.0);
  // Indices drawn ahead, two blocks: the one in use and the next. The next
  // block is drawn when half of the one in use is taken, so that its stores
  // have long finished when its indices are read, and a pseudo-sample of
  // few draws draws few blocks it does not use.
  alignas(64) int32_t ahead[2 * kStationDrawBlock] = {};
  unsigned aheadPos = 0;
  bool more = true;
  bool fellShort = false;
};

// Draws up to kDrawBatch stations into drawn, until the target surface is
// reached or the random numbers run out; returns how many. kBlocks: the
// indices come a block at a time from the block kernel (n below 2^29),
// otherwise one by one in extended precision. kHeld: the station totals x
// surface are in range and the sums are held in doubles, both at once
// (without biomass its sum stays 0), so that kBiomass matters only to the
// float sums. One instance per case keeps the chain from draw to draw free
// of tests that never change.
template <bool kBlocks, bool kHeld, bool kBiomass>
std::size_t drawBatch(const DrawSetup& d, float target, StationDrawKernel drawStations,
                      DrawChain& c, int32_t* drawn) {
  const float* const surf = d.surf;
  const double* const densProd = d.densProd.data();
  const double* const biomProd = d.biomProd.data();
  const double* const totalsProd = d.totalsProd.data();
  const int64_t perSample = d.perSample;
  const int32_t n = d.n;
  float S = c.S;
  int64_t m = c.m;
  unsigned aheadPos = c.aheadPos;
  HeldPair totalsHeld = c.totalsHeld;
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
      if (aheadPos % kStationDrawBlock == kStationDrawBlock / 2) {
        drawStations(c.g, n, c.ahead + ((aheadPos & kStationDrawBlock) ^ kStationDrawBlock));
      }
    } else {
      const float r = nextUniform(c.g);
      const int64_t x = truncToInt64(Extended(n) * r);
      i = static_cast<int32_t>(x < n ? x : n - 1);
    }
    const std::size_t j = static_cast<std::size_t>(i);
    S = S + surf[j];
    if constexpr (kHeld) {
      totalsHeld = addHeldPair(totalsHeld, totalsProd + 2 * j);
    } else {
      dens = addExactProduct(dens, densProd[j]);
      if constexpr (kBiomass) biom = addExactProduct(biom, biomProd[j]);
    }
    drawn[count++] = i;
  }
  c.S = S;
  c.m = m;
  c.aheadPos = aheadPos;
  c.totalsHeld = totalsHeld;
  c.dens = dens;
  c.biom = biom;
  return count;
}

using DrawBatch = std::size_t (*)(const DrawSetup&, float, StationDrawKernel, DrawChain&, int32_t*);

template <bool kBlocks>
DrawBatch drawBatchFor(bool held, bool biomass) {
  if (held) return &drawBatch<kBlocks, true, false>;
  return biomass ? &drawBatch<kBlocks, false, true> : &drawBatch<kBlocks, false, false>;
}

// How a setup's pseudo-samples draw their stations: n x r needs 24 + 29
// bits, exact in double below 2^29 stations, where the block kernel forms
// the indices.
struct DrawMethod {
  DrawBatch batch;
  StationDrawKernel stations;  // null: one by one
};

DrawMethod drawMethodOf(const DrawSetup& d) {
  const bool blocks = d.n < kStationDrawLimit;
  const bool biomass = d.stabiom != nullptr;
  if (!blocks) return {drawBatchFor<false>(d.totalsInRange, biomass), nullptr};
  return {drawBatchFor<true>(d.totalsInRange, biomass), d.kernels->stations};
}

// The kernels' views of a setup's values.
struct SetupValues {
  StationValues doubles;
  StationFloats floats;
};

// Every species sum of a batch, each in draw order.
void addSpeciesSums(const DrawSetup& d, const SetupValues& values, float* acc, const int32_t* drawn,
                    std::size_t count) {
  if (d.floatSums) {
    d.kernels->species->accumulateFloats(acc, values.floats, drawn, count);
    return;
  }
  if (!d.extended) {
    d.kernels->species->accumulate(acc, values.doubles, drawn, count);
    return;
  }
  for (std::size_t t = 0; t < count; ++t) {
    const std::size_t j = static_cast<std::size_t>(drawn[t]);
    for (int64_t k = d.tailStart[j]; k < d.tailStart[j + 1]; ++k) {
      float& a = acc[d.tailSlot[static_cast<std::size_t>(k)]];
      a = addExtendedSum(a, d.tailProd[static_cast<std::size_t>(k)]);
    }
  }
}

void addExtraSums(const StationRows& extra, float* extraAcc, const int32_t* drawn,
                  std::size_t count) {
  for (std::size_t t = 0; t < count; ++t) {
    const std::size_t j = static_cast<std::size_t>(drawn[t]);
    for (int64_t k = extra.start[j]; k < extra.start[j + 1]; ++k) {
      float& a = extraAcc[extra.row[static_cast<std::size_t>(k)]];
      a = addExactProduct(a, extra.prod[static_cast<std::size_t>(k)]);
    }
  }
}

// The similarity of the drawn profile to the reference one, with its
// divisor, the species count and the rest of the pseudo-sample's scalars.
void setSimilarity(const DrawSetup& d, const DrawWork& work, float S, DrawOutcome& out) {
  ProfileSums sums;
  d.kernels->species->profileSums(work.acc.data(), S, d.slotRef.data(), d.width, sums);
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

}  // namespace

void drawFrom(const DrawSetup& d, float target, const UniformGenerator& start, DrawWork& work,
              DrawOutcome& out, const StationRows* extra, float* extraAcc) {
  assert(work.acc.size() == d.width && work.stations.size() == kDrawBatch);
  float* const acc = work.acc.data();
  std::fill(acc, acc + d.width, 0.0f);
  if (extra != nullptr) std::fill(extraAcc, extraAcc + extra->rows, 0.0f);
  const SetupValues values{d.values(), d.floatValues()};
  int32_t* const drawn = work.stations.data();
  const DrawMethod method = drawMethodOf(d);
  DrawChain c;
  c.g = start;
  if (method.stations != nullptr) {
    method.stations(c.g, d.n, c.ahead);
  }
  while (c.more) {
    // The draws of a batch first, with the station sums: the generator and
    // these sums are chains from draw to draw, the species sums are not, so
    // they run apart.
    const std::size_t count = method.batch(d, target, method.stations, c, drawn);
    addSpeciesSums(d, values, acc, drawn, count);
    if (extra != nullptr) addExtraSums(*extra, extraAcc, drawn, count);
  }
  out.fellShort = c.fellShort;
  out.S = c.S;
  const float densSum = d.totalsInRange ? static_cast<float>(heldFirst(c.totalsHeld)) : c.dens;
  const float biomSum = d.totalsInRange ? static_cast<float>(heldSecond(c.totalsHeld)) : c.biom;
  out.D = densSum / c.S;
  out.B = biomSum / c.S;
  setSimilarity(d, work, c.S, out);
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
