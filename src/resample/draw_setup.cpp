#include "resample/draw_setup.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <utility>

#include "numeric/exact_float.h"

namespace eco {
namespace {

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
  d.totalsProd.assign(2 * n, 0.0);
  NormalSums totals;
  for (std::size_t j = 0; j < n; ++j) {
    d.densProd[j] = static_cast<double>(d.stadens[j]) * d.surf[j];
    totals.take(d.densProd[j]);
    d.totalsProd[2 * j] = d.densProd[j];
    if (d.stabiom != nullptr) {
      d.biomProd[j] = static_cast<double>(d.stabiom[j]) * d.surf[j];
      totals.take(d.biomProd[j]);
      d.totalsProd[2 * j + 1] = d.biomProd[j];
    }
  }
  d.totalsInRange = totals.hold(d.perSample);
}

void setReferenceProfile(DrawSetup& d, const std::vector<float>& refprof) {
  d.refprof = refprof;
  d.refprof.resize(static_cast<std::size_t>(d.nspec), 0.0f);
  d.minPositiveRef = std::numeric_limits<float>::infinity();
  for (float y : d.refprof) {
    d.refSum += y;
    if (y > 0.0f) d.minPositiveRef = std::min(d.minPositiveRef, y);
  }
}

// The non-zero densities of each reference station.
using StationRecords = std::vector<std::vector<ReferenceRecord>>;
StationRecords nonZeroRecords(const DrawSetup& d) {
  StationRecords records(static_cast<std::size_t>(d.n));
  for (std::size_t j = 0; j < records.size(); ++j) {
    records[j] = stationRecords(*d.samples, j);
    std::erase_if(records[j], [](const ReferenceRecord& x) { return x.dens == 0.0f; });
  }
  return records;
}

// Slots: the active species, the most frequent first (ties in species order).
void assignSlots(DrawSetup& d, const StationRecords& records) {
  const std::size_t nspec = static_cast<std::size_t>(d.nspec);
  std::vector<int64_t> occurrence(nspec, 0);
  for (const std::vector<ReferenceRecord>& r : records) {
    for (const ReferenceRecord& x : r) ++occurrence[static_cast<std::size_t>(x.species)];
  }
  d.speciesSlot.assign(nspec, -1);
  for (std::size_t s = 0; s < nspec; ++s) {
    if (occurrence[s] > 0) d.slotSpecies.push_back(static_cast<int32_t>(s));
  }
  std::stable_sort(d.slotSpecies.begin(), d.slotSpecies.end(), [&](int32_t a, int32_t b) {
    return occurrence[static_cast<std::size_t>(a)] > occurrence[static_cast<std::size_t>(b)];
  });
  d.active = static_cast<int32_t>(d.slotSpecies.size());
  d.width = slotWidth(d.slotSpecies.size());
  d.slotRef.assign(d.width, 0.0f);
  for (std::size_t a = 0; a < d.slotSpecies.size(); ++a) {
    const std::size_t s = static_cast<std::size_t>(d.slotSpecies[a]);
    d.speciesSlot[s] = static_cast<int32_t>(a);
    d.slotRef[a] = d.refprof[s];
  }
}

// Whether the species sums must be formed in extended precision: the
// double shortcut needs every sum of the products to stay 0 or a normal
// float.
bool needsExtended(const DrawSetup& d, const StationRecords& records) {
  NormalSums products;
  for (std::size_t j = 0; j < records.size(); ++j) {
    for (const ReferenceRecord& x : records[j]) {
      products.take(static_cast<double>(x.dens) * d.surf[j]);
    }
  }
  return !products.hold(d.perSample);
}

// Whether every product is a float, so that the sums are float additions
// (numeric/exact_float.h, isFloatValue); only outside the extended case,
// where the sums stay 0 or normal floats.
bool productsAreFloats(const DrawSetup& d, const StationRecords& records) {
  for (std::size_t j = 0; j < records.size(); ++j) {
    for (const ReferenceRecord& x : records[j]) {
      if (!isFloatValue(static_cast<double>(x.dens) * d.surf[j])) return false;
    }
  }
  return true;
}

// The number of dense slots: the multiple of kSlotBlock that makes the
// draws cheapest by the layout's cost model, given each station's slots in
// ascending order.
std::size_t chooseHead(const DrawSetup& d, const StationRecords& records) {
  std::vector<std::vector<int32_t>> stationSlots(records.size());
  for (std::size_t j = 0; j < records.size(); ++j) {
    for (const ReferenceRecord& x : records[j]) {
      stationSlots[j].push_back(d.speciesSlot[static_cast<std::size_t>(x.species)]);
    }
    std::sort(stationSlots[j].begin(), stationSlots[j].end());
  }
  auto listCost = [&](std::size_t h) {  // the lists beside h dense slots
    double cost = 0;
    for (const std::vector<int32_t>& slots : stationSlots) {
      const std::size_t tail = static_cast<std::size_t>(
          slots.end() - std::lower_bound(slots.begin(), slots.end(), static_cast<int32_t>(h)));
      if (tail > 0) cost += kListCost + static_cast<double>((tail + kListGroup - 1) / kListGroup);
    }
    return cost;
  };
  const std::size_t n = records.size();
  std::size_t best = 0;
  double bestCost = listCost(0);
  for (std::size_t h = kSlotBlock; h <= d.width; h += kSlotBlock) {
    if (h * n > kMaxHeadValues) break;
    const double lane = d.floatSums ? d.kernels->floatLaneCost : d.kernels->denseLaneCost;
    const double cost = lane * static_cast<double>(h * n) + listCost(h);
    if (cost < bestCost) {
      bestCost = cost;
      best = h;
    }
  }
  return best;
}

// Station j's list: its slots from head on in ascending order, padded to
// whole groups with zeros on spare slots. The spare slot of a padding
// entry changes from station to station, so that the draws do not queue on
// one of them.
std::vector<std::pair<int32_t, double>> stationList(const DrawSetup& d,
                                                    const std::vector<ReferenceRecord>& records,
                                                    std::size_t j) {
  std::vector<std::pair<int32_t, double>> list;
  for (const ReferenceRecord& x : records) {
    const int32_t slot = d.speciesSlot[static_cast<std::size_t>(x.species)];
    if (static_cast<std::size_t>(slot) >= d.head) {
      list.emplace_back(slot, static_cast<double>(x.dens) * d.surf[j]);
    }
  }
  std::sort(list.begin(), list.end());
  const std::size_t spare = d.width - static_cast<std::size_t>(d.active);
  for (std::size_t q = 0; list.size() % kListGroup != 0; ++q) {
    list.emplace_back(d.active + static_cast<int32_t>((j * (kListGroup - 1) + q) % spare), 0.0);
  }
  return list;
}

void fillRowsAndLists(DrawSetup& d, const StationRecords& records) {
  const std::size_t n = records.size();
  d.headProd.assign(n * d.head, 0.0);
  d.tailStart.assign(n + 1, 0);
  for (std::size_t j = 0; j < n; ++j) {
    for (const ReferenceRecord& x : records[j]) {
      const std::size_t slot =
          static_cast<std::size_t>(d.speciesSlot[static_cast<std::size_t>(x.species)]);
      if (slot < d.head) d.headProd[j * d.head + slot] = static_cast<double>(x.dens) * d.surf[j];
    }
    d.tailStart[j] = static_cast<int64_t>(d.tailSlot.size());
    for (const auto& [slot, v] : stationList(d, records[j], j)) {
      d.tailSlot.push_back(slot);
      d.tailProd.push_back(v);
    }
  }
  d.tailStart[n] = static_cast<int64_t>(d.tailSlot.size());
  if (d.floatSums) {
    d.headFloat.assign(d.headProd.begin(), d.headProd.end());
    d.tailFloat.assign(d.tailProd.begin(), d.tailProd.end());
    d.headProd = {};
    d.tailProd = {};
  }
}

}  // namespace

DrawSetup makeDrawSetup(const SurveyTables& t, int e, const std::vector<float>& refprof,
                        bool withBiomassProfile, bool wantContributions, int32_t maxstat,
                        KernelPath path) {
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
  d.kernels = &pathKernels(path);
  setStationTotals(d);
  setReferenceProfile(d, refprof);

  const StationRecords records = nonZeroRecords(d);
  assignSlots(d, records);
  d.extended = needsExtended(d, records);
  d.floatSums = !d.extended && productsAreFloats(d, records);
  d.head = d.extended ? 0 : chooseHead(d, records);
  fillRowsAndLists(d, records);
  assert(layoutHolds(d));
  return d;
}

bool layoutHolds(const DrawSetup& d) {
  const std::size_t n = static_cast<std::size_t>(d.n);
  const std::size_t active = static_cast<std::size_t>(d.active);
  if (d.width % kSlotBlock != 0 || d.width - active < kListGroup - 1) return false;
  if (d.head % kSlotBlock != 0 || d.head > d.width || (d.extended && d.head != 0)) return false;
  // The values as doubles, or all of them as floats.
  if (d.floatSums && (d.extended || !d.headProd.empty() || !d.tailProd.empty())) return false;
  const std::vector<double> headValues =
      d.floatSums ? std::vector<double>(d.headFloat.begin(), d.headFloat.end()) : d.headProd;
  const std::vector<double> tailValues =
      d.floatSums ? std::vector<double>(d.tailFloat.begin(), d.tailFloat.end()) : d.tailProd;
  if (headValues.size() != n * d.head || d.tailStart.size() != n + 1) return false;
  if (d.tailSlot.size() != tailValues.size()) return false;
  // Outside the extended case: every value 0 or a normal float's worth.
  auto inRange = [&](double v) { return d.extended || v == 0.0 || v >= kSmallestNormalFloat; };
  if (!std::all_of(headValues.begin(), headValues.end(), inRange)) return false;
  for (std::size_t j = 0; j < n; ++j) {
    const int64_t begin = d.tailStart[j], end = d.tailStart[j + 1];
    if (end < begin || (end - begin) % static_cast<int64_t>(kListGroup) != 0) return false;
    // The list's own slots ascending (so distinct), then the padding: zeros
    // on distinct spare slots.
    std::vector<std::size_t> padding;
    for (int64_t k = begin; k < end; ++k) {
      const std::size_t slot = static_cast<std::size_t>(d.tailSlot[static_cast<std::size_t>(k)]);
      const double v = tailValues[static_cast<std::size_t>(k)];
      if (slot < d.head || slot >= d.width || !inRange(v)) return false;
      if (slot < active) {
        const bool ascending =
            k == begin ||
            static_cast<std::size_t>(d.tailSlot[static_cast<std::size_t>(k - 1)]) < slot;
        if (!padding.empty() || !ascending) return false;
      } else {
        if (v != 0.0 || std::find(padding.begin(), padding.end(), slot) != padding.end()) {
          return false;
        }
        padding.push_back(slot);
      }
    }
  }
  return true;
}

}  // namespace eco
