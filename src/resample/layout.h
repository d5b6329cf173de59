#pragma once
// How the draw setup lays out the reference stations' values for the
// species kernels: the rules both sides keep, stated once.
//
// Slots. The active species (a non-zero density at some reference station)
// are slots 0..active-1, the most frequent first. `width` slots are
// allocated: a multiple of kSlotBlock with at least kListGroup - 1 spare
// slots past the active ones, which no species holds and whose sums stay 0.
//
// Rows and lists. Per station its first `head` slots (a multiple of
// kSlotBlock, 0 when the ecotope is accumulated in extended precision) are
// a dense row, and its other non-zero slots a list in ascending slot
// order, every value the product density x surface (exact in double).
// Every list is padded to a whole number of groups of kListGroup entries
// with values of 0 on spare slots, distinct within the list, so that the
// kernels add a group as one vector whose slots all differ. The lists'
// values start on a multiple of 16 bytes (a std::vector's storage), so a
// group's do too: the baseline kernels load them as aligned vectors.
//
// Runs. The kernels add the lists of a batch in one run of group numbers,
// which they write as int32_t up to kRunMargin entries past a list's start
// (past its end, for a long list); they do so only when every entry number
// plus that margin fits.
//
// Range. Outside the extended-precision case every value is 0 or a normal
// float's worth (at least the smallest normal float) and no sum of a
// pseudo-sample's draws can leave the normal float range.

#include <cstddef>
#include <cstdint>
#include <limits>

namespace eco {

inline constexpr std::size_t kSlotBlock = 16;
inline constexpr std::size_t kListGroup = 4;
inline constexpr std::size_t kRunMargin = 96;

// The species kernels' view of the layout, its values doubles or, where
// every product is a float (the draw setup's floatSums), floats.
template <class Value>
struct StationValuesOf {
  std::size_t head = 0;                // a multiple of kSlotBlock
  const Value* headProd = nullptr;     // station j's row at [j * head, (j + 1) * head)
  const int64_t* tailStart = nullptr;  // station j's list at [tailStart[j], tailStart[j + 1])
  const int32_t* tailSlot = nullptr;
  const Value* tailProd = nullptr;
  bool runs = false;  // the lists may be added in runs
};
using StationValues = StationValuesOf<double>;
using StationFloats = StationValuesOf<float>;

// Whether lists of `entries` entries in all may be added in runs.
constexpr bool runsFit(std::size_t entries) {
  return entries < static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) - kRunMargin;
}

// The slots for `active` species: whole blocks, with the spare ones the
// padding of the lists needs.
constexpr std::size_t slotWidth(std::size_t active) {
  std::size_t width = (active + kSlotBlock - 1) / kSlotBlock * kSlotBlock;
  if (width - active < kListGroup - 1) width += kSlotBlock;
  return width;
}

// The cost model that places the boundary between rows and lists (only
// the speed depends on it, measured on the benchmark surveys): a dense
// lane costs the path's denseLaneCost (resample/path_kernels.h) against 1
// for a group of list entries, and a station's list kListCost besides its
// groups (the writing of its group numbers into the batch's run).
inline constexpr double kListCost = 0.35;
// Dense rows are never allowed more than this many values (32 MB).
inline constexpr std::size_t kMaxHeadValues = std::size_t{1} << 22;

}  // namespace eco
