#include "resample/sum_kernels.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

#if ECO_X86_KERNELS
#include <immintrin.h>
#endif
#if ECO_SVE_KERNELS
#include <arm_sve.h>
#endif

#include "numeric/evaluation.h"
#include "numeric/exact_float.h"
#include "resample/vector128.h"

namespace eco {
namespace {

// ---- scalar -----------------------------------------------------------

void addRowScalar(float* acc, const double* prod, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) acc[i] = addExactProductInRange(acc[i], prod[i]);
}

// The lists are added a group of kListGroup entries at a time: the
// entries of a group belong to one station, so their slots differ, and
// their values lie side by side (resample/layout.h). On the
// vector paths a group is one vector of sums; here, one entry after the
// other.
inline void addGroupEntries(float* acc, const int32_t* slot, const double* prod, int64_t k) {
  for (int64_t e = k; e < k + static_cast<int64_t>(kListGroup); ++e) {
    float& a = acc[slot[e]];
    a = addExactProductInRange(a, prod[e]);
  }
}

struct GroupScalar {
  static void add(float* acc, const StationValues& v, int64_t k) {
    addGroupEntries(acc, v.tailSlot, v.tailProd, k);
  }
};

// A group with a sum on a midpoint, out of the vector paths' loops: kept
// there, its registers crowd out the addresses of the group's sums. It is
// given the lists, not the view, so that the view stays in registers.
ECO_RARE void addGroupOneByOne(float* acc, const int32_t* slot, const double* prod, int64_t k) {
  addGroupEntries(acc, slot, prod, k);
}

// A group on a vector path, written once against the path's group vector
// Q: the four sums acc + prod in double (Q::sums), each rounded to float
// (Q::store) unless one of them lies on a midpoint (Q::anyTie), in which
// case the group is added entry by entry, in extended precision where
// needed.
template <class Q>
struct GroupWith {
  static void add(float* acc, const StationValues& v, int64_t k) {
    static_assert(kListGroup == 4);
    const std::size_t a[4] = {
        static_cast<std::size_t>(v.tailSlot[k]), static_cast<std::size_t>(v.tailSlot[k + 1]),
        static_cast<std::size_t>(v.tailSlot[k + 2]), static_cast<std::size_t>(v.tailSlot[k + 3])};
    typename Q::Sums sums;
    Q::sums(sums, acc, a, v.tailProd + k);
    if (Q::anyTie(sums)) {
      addGroupOneByOne(acc, v.tailSlot, v.tailProd, k);
    } else {
      Q::store(storesIndexed(acc), a, sums);
    }
  }
};

// The lists of a batch of drawn stations, every slot's sum in draw order.
// They are added in runs: the numbers of their groups, one station after
// the other, then one loop over them all. A loop per station ends at a
// length the processor cannot foresee, which costs more than writing the
// numbers. Each station writes the numbers of kRunChunk entries' groups
// whatever its length (six vector stores) and moves on by its length; a
// longer list writes further chunks, and one of more than kRunLong groups
// is added on its own, after the run so far. (With chunks of 48 entries and
// every longer list on its own, the sparse benchmark survey, four lists in
// ten longer than that beside the baseline path's 16 dense slots, took 10 %
// more time on that path.)
constexpr std::size_t kRunChunk = 96;
constexpr std::size_t kRunGroups = 512;
constexpr std::size_t kRunLong = 240;
static_assert(kListGroup == 4 && kRunChunk % 16 == 0 && kRunLong % (kRunChunk / kListGroup) == 0);
// A run writes group numbers up to kRunChunk entries past a list's start,
// and less than that past the end of a longer list.
static_assert(kRunChunk <= kRunMargin);

// The numbers of a chunk's groups: first, first + 4, ... With g++ and
// clang as vectors of four, six stores (a plain loop they unroll into
// scalar stores, which made the lists slower).
#if defined(__GNUC__)
using GroupNumbers = int32_t __attribute__((vector_size(16)));
inline void groupNumbers(int32_t* out, int32_t first) {
  constexpr GroupNumbers kGroupSteps = {0, 4, 8, 12};
  const GroupNumbers base = GroupNumbers{} + first;
  for (std::size_t c = 0; c < kRunChunk / kListGroup; c += 4) {
    const GroupNumbers numbers = base + static_cast<int32_t>(kListGroup * c) + kGroupSteps;
    std::memcpy(out + c, &numbers, sizeof numbers);
  }
}
#else
inline void groupNumbers(int32_t* out, int32_t first) {
  for (std::size_t c = 0; c < kRunChunk / kListGroup; ++c) {
    out[c] = first + static_cast<int32_t>(kListGroup * c);
  }
}
#endif

// The vector paths' kernels are flattened: these and the path's group
// adder are inlined into each, compiled for its instruction set.
//
// The loops work on a copy of the view: a call that a rare group makes
// could, for all the compiler knows, change the caller's, whose fields it
// would then read again for every group (g++ for arm64 did).
template <class Group, class View>
inline void addList(float* acc, const View& view, std::size_t j) {
  const View v = view;
  for (int64_t k = v.tailStart[j]; k < v.tailStart[j + 1]; k += static_cast<int64_t>(kListGroup)) {
    Group::add(acc, v, k);
  }
}

template <class Group, class View>
inline void addRun(float* acc, const View& view, const int32_t* run, std::size_t total) {
  const View v = view;
  for (std::size_t i = 0; i < total; ++i) Group::add(acc, v, run[i]);
}

template <class Group, class View>
inline void addLists(float* acc, const View& v, const int32_t* stations, std::size_t count) {
  assert(v.head % kSlotBlock == 0);
  if (!v.runs) {
    for (std::size_t t = 0; t < count; ++t) {
      addList<Group>(acc, v, static_cast<std::size_t>(stations[t]));
    }
    return;
  }
  constexpr std::size_t chunk = kRunChunk / kListGroup;
  constexpr std::size_t kNone = ~std::size_t{0};
  // A station joins a run of at most kRunGroups groups and writes at most
  // kRunLong numbers.
  alignas(64) int32_t run[kRunGroups + kRunLong];
  std::size_t t = 0;
  while (t < count) {
    // The group numbers of the next stations up to a full run or a list
    // too long for it, in a loop of their own (inside the loop that adds,
    // its variables had no registers left); then the run, then that list.
    std::size_t fill = 0, longList = kNone;
    for (; t < count && fill <= kRunGroups; ++t) {
      const std::size_t j = static_cast<std::size_t>(stations[t]);
      const int64_t begin = v.tailStart[j];
      assert((v.tailStart[j + 1] - begin) % static_cast<int64_t>(kListGroup) == 0);
      const std::size_t groups = static_cast<std::size_t>(v.tailStart[j + 1] - begin) / kListGroup;
      if (groups > chunk) [[unlikely]] {
        if (groups > kRunLong) {
          longList = j;
          ++t;
          break;
        }
        for (std::size_t c = chunk; c < groups; c += chunk) {
          groupNumbers(run + fill + c,
                       static_cast<int32_t>(begin + static_cast<int64_t>(kListGroup * c)));
        }
      }
      groupNumbers(run + fill, static_cast<int32_t>(begin));
      fill += groups;
    }
    addRun<Group>(acc, v, run, fill);
    if (longList != kNone) addList<Group>(acc, v, longList);
  }
}

// The rows of the station kRowAhead draws on are fetched into the cache
// ahead of their use (the draws are random, which no hardware prefetcher
// foresees): 2 to 4 % faster on the sparse benchmark survey.
constexpr std::size_t kRowAhead = 8;

// The dense rows of a batch on the vector paths: a block of slots is held
// in registers as doubles over all draws of the batch, each a float value,
// so that a lane costs one addition and two integer operations instead of
// a widening, an addition and a narrowing per draw. Each sum acc + prod is
// rounded to float on its bits: half a float unit added and the bits below
// float precision cleared, which is the float rounding except on a midpoint
// (the range guarantee keeps every sum 0 or a normal float). A sum on a
// midpoint is exactly one whose low bits become all zeros when the half
// unit is added; its vector is recomputed in extended precision, every lane
// (that costs less than picking out the lanes): sums[l] = held + prod[l].
inline void addHeldExtended(double* sums, const double* prod, int lanes) {
  for (int l = 0; l < lanes; ++l) sums[l] = addExtendedSum(static_cast<float>(sums[l]), prod[l]);
}

// Fetches into the cache what a later draw will read.
inline void prefetch(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  static_cast<void>(p);
#endif
}

// The `lines` cache lines of a block's row (at `rows`, rows `head` values
// apart) that the draw kRowAhead after draw t reads, if there is one.
template <class Value>
inline void prefetchAhead(const Value* rows, std::size_t head, const int32_t* stations,
                          std::size_t t, std::size_t count, int lines) {
  if (t + kRowAhead < count) {
    const char* const next = reinterpret_cast<const char*>(
        rows + static_cast<std::size_t>(stations[t + kRowAhead]) * head);
    ECO_UNROLL
    for (int line = 0; line < lines; ++line) prefetch(next + 64 * line);
  }
}

// The held rows of a batch, written once for every vector path against its
// vector of doubles V (kLanes lanes) and its bit vector V::U: G vectors of
// a block held over all draws of the batch, their midpoints asked for T
// vectors at a time (as many as the registers hold beside the sums), and a
// vector with one recomputed in extended precision.
template <class V, int G, int T>
inline void addHeldRows(float* acc, const StationValues& v, const int32_t* stations,
                        std::size_t count, std::size_t first) {
  static_assert(G % T == 0);
  constexpr int kLanes = V::kLanes;
  typename V::D held[G];
  ECO_UNROLL
  for (int b = 0; b < G; ++b) V::loadWidened(held[b], acc + first + kLanes * b);
  const double* const rows = v.headProd + first;
  for (std::size_t t = 0; t < count; ++t) {
    prefetchAhead(rows, v.head, stations, t, count, G * kLanes / 8);
    const double* const prod = rows + static_cast<std::size_t>(stations[t]) * v.head;
    // Unrolled, so that the block's sums stay in registers: g++ for arm64
    // left this loop rolled and kept them in memory, a load and a store per
    // vector and draw.
    ECO_UNROLL
    for (int b0 = 0; b0 < G; b0 += T) {
      typename V::U up[T];
      ECO_UNROLL
      for (int b = 0; b < T; ++b) V::roundUp(up[b], held[b0 + b], prod + kLanes * (b0 + b));
      if (V::anyTie(up)) [[unlikely]] {
        ECO_UNROLL
        for (int b = 0; b < T; ++b) {
          if (V::tie(up[b])) {
            alignas(64) double sums[kLanes];
            V::store(sums, held[b0 + b]);
            addHeldExtended(sums, prod + kLanes * (b0 + b), kLanes);
            V::load(held[b0 + b], sums);
          } else {
            V::keepRounded(held[b0 + b], up[b]);
          }
        }
      } else {
        ECO_UNROLL
        for (int b = 0; b < T; ++b) V::keepRounded(held[b0 + b], up[b]);
      }
    }
  }
  ECO_UNROLL
  for (int b = 0; b < G; ++b) V::storeNarrowed(acc + first + kLanes * b, held[b]);
}

// Rows and lists hold different slots: all rows of a batch first, then all
// its lists, keeps the draw order of every slot's sum.
void accumulateScalar(float* acc, const StationValues& v, const int32_t* stations,
                      std::size_t count) {
  for (std::size_t t = 0; t < count; ++t) {
    addRowScalar(acc, v.headProd + static_cast<std::size_t>(stations[t]) * v.head, v.head);
  }
  addLists<GroupScalar>(acc, v, stations, count);
}

// Where every value is a float the sums are float additions, in any vector
// width, with no test (numeric/exact_float.h, isFloatValue). A group of
// list entries is added entry by entry on every path.
struct GroupFloats {
  static void add(float* acc, const StationFloats& v, int64_t k) {
    for (int64_t e = k; e < k + static_cast<int64_t>(kListGroup); ++e) {
      acc[v.tailSlot[e]] += v.tailProd[e];
    }
  }
};

void accumulateFloatsScalar(float* acc, const StationFloats& v, const int32_t* stations,
                            std::size_t count) {
  for (std::size_t t = 0; t < count; ++t) {
    const float* const row = v.headProd + static_cast<std::size_t>(stations[t]) * v.head;
    for (std::size_t i = 0; i < v.head; ++i) acc[i] += row[i];
  }
  addLists<GroupFloats>(acc, v, stations, count);
}

// The float rows of a batch on the vector paths are added block by block,
// each block held in registers over all draws of the batch: blocks of kMax
// slots, then the largest power-of-two multiple of kSlotBlock that is left,
// so that the kernels need only a few block sizes.
template <std::size_t kMax>
constexpr std::size_t floatBlock(std::size_t rest) {
  if (rest >= kMax) return kMax;
  std::size_t slots = kSlotBlock;
  while (2 * slots <= rest) slots *= 2;
  return slots;
}

// The float rows of a batch, written once for every vector path against
// its float vector V: V::F holds kLanes floats, and load, add (of the
// floats at p) and store are each compiled for the path's instruction set.
// G vectors of a block are held over all draws of the batch.
template <class V, int G>
inline void addFloatRows(float* acc, const StationFloats& v, const int32_t* stations,
                         std::size_t count, std::size_t first) {
  constexpr int kLanes = V::kLanes;
  typename V::F held[G];
  ECO_UNROLL
  for (int b = 0; b < G; ++b) V::load(held[b], acc + first + kLanes * b);
  const float* const rows = v.headProd + first;
  for (std::size_t t = 0; t < count; ++t) {
    prefetchAhead(rows, v.head, stations, t, count, G * kLanes / 16);
    const float* const prod = rows + static_cast<std::size_t>(stations[t]) * v.head;
    ECO_UNROLL
    for (int b = 0; b < G; ++b) V::add(held[b], prod + kLanes * b);
  }
  ECO_UNROLL
  for (int b = 0; b < G; ++b) V::store(acc + first + kLanes * b, held[b]);
}

// All rows of a batch in blocks of V::kBlock vectors (as many as leave
// registers for the rest), then the smaller blocks floatBlock leaves; then
// the lists.
template <class V>
inline void accumulateFloatsWith(float* acc, const StationFloats& v, const int32_t* stations,
                                 std::size_t count) {
  for (std::size_t first = 0, slots = 0; first < v.head; first += slots) {
    slots = floatBlock<V::kBlock * V::kLanes>(v.head - first);
    switch (slots / V::kLanes) {
      case V::kBlock:
        addFloatRows<V, V::kBlock>(acc, v, stations, count, first);
        break;
      case 8:
        addFloatRows<V, 8>(acc, v, stations, count, first);
        break;
      case 4:
        addFloatRows<V, 4>(acc, v, stations, count, first);
        break;
      case 2:
        addFloatRows<V, 2>(acc, v, stations, count, first);
        break;
      default:
        assert(slots == V::kLanes);
        addFloatRows<V, 1>(acc, v, stations, count, first);
    }
  }
  addLists<GroupFloats>(acc, v, stations, count);
}

// One term of the profile sums, shared by the remainders of every path.
inline void profileTerm(float a, float S, float y, ProfileSums& out) {
  const float q = a / S;
  const float p = root4Exact(q);
  if (q > 0.0f) {
    ++out.count;
    out.minPositive = std::min(out.minPositive, p);
  }
  out.a += p;
  out.m += p > y ? y : p;
}

void profileSumsScalar(const float* acc, float S, const float* y, std::size_t count,
                       ProfileSums& out) {
  out = ProfileSums{};
  for (std::size_t i = 0; i < count; ++i) profileTerm(acc[i], S, y[i], out);
}

// The lanes set in a mask of kLanes (a multiple of four), four at a time:
// std::popcount is a library call where the baseline instruction set has
// no population count (x86-64 before SSE4.2).
constexpr int8_t kLanesSet[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
template <int kLanes>
inline int lanesSet(int bits) {
  if constexpr (kLanes == 4) {
    return kLanesSet[bits];
  } else {
    int n = 0;
    ECO_UNROLL
    for (int l = 0; l < kLanes; l += 4) n += kLanesSet[(bits >> l) & 15];
    return n;
  }
}

// The profile sums P::kLanes slots at a time, written once for every vector
// path against its vector of floats P::F, its lane mask P::Mask and its
// roots P::Roots: the fourth roots taken in double, a lane within
// kRootMargin units of a float midpoint recomputed in extended precision
// (AVX2 and AVX-512 take them in float and decide them with FMA:
// startFloatRoots, finishFloatRoots), the sums of the roots and of
// min(root, y) in double lanes (exact in any order: the profile's terms
// are floats that the setup proved to fit), the rest one slot at a time.
// The vectors pass by reference: a function compiled without their
// instruction set may not return one.
//
// The roots of a block are started (P::roots) three blocks ahead of the
// sums that take them, and whatever waits on the square roots is done
// there (P::finishRoots): a block's roots wait on a division and two square
// roots, 40 to 60 cycles, and with the work that depends on them in the
// same iteration the processor's window (its schedulers' entries for that
// work) held too few blocks to keep the divider busy. Started one block
// ahead, the double roots went from 1.86 to 1.67 ns a slot in a small
// benchmark on AVX2 and from 3.41 to 3.08 on SSE2; the float roots of AVX2
// three blocks ahead, with their decision moved to the finishing half,
// from 1.36 to 1.10 (two ahead 1.19; four or six, whose ring index is not
// a mask, slower).
template <class P>
inline void profileSumsWith(const float* acc, float S, const float* y, std::size_t count,
                            ProfileSums& out) {
  constexpr int kLanes = P::kLanes;
  constexpr std::size_t kAhead = 3;  // blocks whose roots are started before their sums
  constexpr std::size_t kStages = kAhead + 1;
  typename P::F s, inf, q, p, v, minPos;
  typename P::Mask pos;
  typename P::Sum sumA, sumM;
  typename P::F qs[kStages];
  typename P::Roots roots[kStages];
  int posBits[kStages];
  P::splat(s, S);
  P::splat(inf, std::numeric_limits<float>::infinity());
  P::zero(sumA);
  P::zero(sumM);
  minPos = inf;
  int64_t n = 0;
  const std::size_t blocks = count / kLanes;
  for (std::size_t b = 0; b < blocks + kAhead; ++b) {
    if (b < blocks) {
      const std::size_t k = b % kStages;
      P::load(q, acc + b * kLanes);
      P::div(qs[k], q, s);
      P::positive(pos, qs[k]);
      posBits[k] = P::laneBits(pos);
      if (posBits[k] != 0) {
        P::keep(p, qs[k], pos);
        P::roots(roots[k], p);
      }
    }
    if (b < kAhead) continue;
    const std::size_t f = b - kAhead, k = f % kStages;
    // A block without a positive value adds only zeros to the sums.
    if (posBits[k] == 0) continue;
    const std::size_t i = f * kLanes;
    P::positive(pos, qs[k]);
    P::keep(p, qs[k], pos);
    P::finishRoots(roots[k], p);
    const int near = P::nearMidpoint(roots[k]) & posBits[k];
    P::narrow(p, roots[k]);
    P::keep(p, p, pos);
    if (near != 0) {
      alignas(64) float pv[kLanes], qv[kLanes];
      P::store(pv, p);
      P::store(qv, qs[k]);
      for (int l = 0; l < kLanes; ++l) {
        if (near & (1 << l)) pv[l] = root4(qv[l]);
      }
      P::load(p, pv);
    }
    n += lanesSet<kLanes>(posBits[k]);
    P::addWidened(sumA, p);
    P::load(v, y + i);
    P::min(v, p, v);
    P::addWidened(sumM, v);
    P::select(v, pos, p, inf);
    P::min(minPos, minPos, v);
  }
  const std::size_t whole = blocks * kLanes;
  alignas(64) float vp[kLanes];
  P::store(vp, minPos);
  ProfileSums rest;
  profileSumsScalar(acc + whole, S, y + whole, count - whole, rest);
  out.a = P::total(sumA) + rest.a;
  out.m = P::total(sumM) + rest.m;
  out.minPositive = std::min(*std::min_element(vp, vp + kLanes), rest.minPositive);
  out.count = n + rest.count;
}

#if ECO_VECTOR128

// ---- baseline vectors (SSE2 on x86-64, NEON on arm64) -----------------

// The held rows' vector on the baseline path: two doubles, two vectors'
// midpoints asked for at once.
struct Held128 {
  using D = v128::D2;
  using U = v128::U2;
  static constexpr int kLanes = 2;
  static void load(D& x, const double* p) { x = v128::load(p); }
  static void store(double* p, const D& x) { v128::store(p, x); }
  static void loadWidened(D& x, const float* p) { x = v128::loadWidened(p); }
  static void storeNarrowed(float* p, const D& x) { v128::storeNarrowed(p, x); }
  // The bits of held + prod with half a float unit added.
  static void roundUp(U& up, const D& held, const double* prod) {
    up = v128::add64(v128::bits(v128::add(held, v128::load(prod))),
                     v128::splat64(kFloatMidpointTail));
  }
  static bool anyTie(const U (&up)[2]) {
    return v128::anyEqualUnder(up[0], up[1], kFloatTailMask, 0);
  }
  static bool tie(const U& up) { return v128::anyEqualUnder(up, up, kFloatTailMask, 0); }
  static void keepRounded(D& held, const U& up) {
    held = v128::fromBits(v128::andBits(up, v128::splat64(~kFloatTailMask)));
  }
};

// The group vector of the baseline path: a group's four sums as two
// vectors of two.
struct Group128 {
  struct Sums {
    v128::D2 low, high;
  };
  // A group's values lie on a multiple of 16 bytes (resample/layout.h).
  static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 16);
  static void sums(Sums& s, const float* acc, const std::size_t (&a)[4], const double* prod) {
    assert(reinterpret_cast<std::uintptr_t>(prod) % 16 == 0);
    s.low = v128::add(v128::loadWidened(acc + a[0], acc + a[1]), v128::loadAligned(prod));
    s.high = v128::add(v128::loadWidened(acc + a[2], acc + a[3]), v128::loadAligned(prod + 2));
  }
  static bool anyTie(const Sums& s) {
    return v128::anyEqualUnder(v128::bits(s.low), v128::bits(s.high), kFloatTailMask,
                               kFloatMidpointTail);
  }
  static void store(float* acc, const std::size_t (&a)[4], const Sums& s) {
    v128::storeNarrowed(acc + a[0], acc + a[1], s.low);
    v128::storeNarrowed(acc + a[2], acc + a[3], s.high);
  }
};

void accumulate128(float* acc, const StationValues& v, const int32_t* stations, std::size_t count) {
  static_assert(kSlotBlock == 16);
  for (std::size_t first = 0; first < v.head; first += kSlotBlock) {
    addHeldRows<Held128, 8, 2>(acc, v, stations, count, first);
  }
  addLists<GroupWith<Group128>>(acc, v, stations, count);
}

// The profile sums' vectors on the baseline path: four floats, their roots
// as two vectors of two doubles.
struct Profile128 {
  using F = v128::F4;
  using Mask = v128::F4;
  using Sum = v128::D2;
  struct Roots {
    v128::D2 low, high;
  };
  static constexpr int kLanes = 4;
  static void load(F& x, const float* p) { x = v128::loadF(p); }
  static void store(float* p, const F& x) { v128::storeF(p, x); }
  static void splat(F& x, float v) { x = v128::splatF(v); }
  static void div(F& x, const F& a, const F& b) { x = v128::div(a, b); }
  static void positive(Mask& m, const F& a) { m = v128::positive(a); }
  static int laneBits(const Mask& m) { return v128::laneBits(m); }
  static void keep(F& x, const F& a, const Mask& m) { x = v128::keep(a, m); }
  static void select(F& x, const Mask& m, const F& a, const F& b) { x = v128::select(m, a, b); }
  static void min(F& x, const F& a, const F& b) { x = v128::min(a, b); }
  static void roots(Roots& r, const F& q) {
    r.low = v128::sqrt(v128::sqrt(v128::low(q)));
    r.high = v128::sqrt(v128::sqrt(v128::high(q)));
  }
  static int nearMidpoint(const Roots& r) {
    return v128::offsetsWithin(v128::bits(r.low), v128::bits(r.high), kFloatTailMask,
                               kFloatMidpointTail - kRootMargin, 2 * kRootMargin);
  }
  static void narrow(F& x, const Roots& r) { x = v128::narrow(r.low, r.high); }
  static void finishRoots(Roots&, const F&) {}
  static void zero(Sum& sum) { sum = v128::fromBits(v128::splat64(0)); }
  static void addWidened(Sum& sum, const F& x) {
    sum = v128::add(sum, v128::add(v128::low(x), v128::high(x)));
  }
  static double total(const Sum& sum) {
    alignas(16) double v[2];
    v128::store(v, sum);
    return v[0] + v[1];
  }
};
void profileSums128(const float* acc, float S, const float* y, std::size_t count,
                    ProfileSums& out) {
  profileSumsWith<Profile128>(acc, S, y, count, out);
}

struct Floats128 {
  using F = v128::F4;
  static constexpr int kLanes = 4;
  static constexpr int kBlock = 12;  // leaves registers for the addresses on SSE2
  static void load(F& x, const float* p) { x = v128::loadF(p); }
  static void add(F& x, const float* p) { x = v128::addF(x, v128::loadF(p)); }
  static void store(float* p, const F& x) { v128::storeF(p, x); }
};

void accumulateFloats128(float* acc, const StationFloats& v, const int32_t* stations,
                         std::size_t count) {
  accumulateFloatsWith<Floats128>(acc, v, stations, count);
}

#endif  // ECO_VECTOR128

#if ECO_SVE_KERNELS

// ---- SVE (arm64) ------------------------------------------------------

// The rows on SVE, whose vectors hold svcntd() doubles or svcntw() floats
// (2 to 32 and 4 to 64, as the processor has them): a block of four
// vectors held over all draws of the batch, each with the predicate of its
// slots below the head; a vector past the head is empty and reads nothing.
// The lists and the profile sums are NEON's. SVE types have no size known
// at compile time, so the four vectors are four variables, not an array.

// Vector k of a block of `lanes`-lane vectors at `first`: its offset in the
// block, clamped to the head, and its number of slots.
struct SveLanes {
  std::size_t offset[4];
  std::size_t slots[4];
};
inline SveLanes sveLanes(std::size_t first, std::size_t head, std::size_t lanes) {
  SveLanes l{};
  for (std::size_t k = 0; k < 4; ++k) {
    const std::size_t begin = std::min(first + k * lanes, head);
    l.offset[k] = begin - first;
    l.slots[k] = std::min(lanes, head - begin);
  }
  return l;
}

// n floats at p into the first n of a vector of doubles, and back.
ECO_TARGET_SVE inline svfloat64_t loadWidenedSve(const float* p, std::size_t n) {
  const svfloat32_t f = svld1_f32(svwhilelt_b32_u64(0, n), p);
  return svcvt_f64_f32_x(svwhilelt_b64_u64(0, n), svzip1_f32(f, f));
}
ECO_TARGET_SVE inline void storeNarrowedSve(float* p, std::size_t n, svfloat64_t x) {
  const svfloat32_t f = svcvt_f32_f64_x(svwhilelt_b64_u64(0, n), x);
  svst1_f32(svwhilelt_b32_u64(0, n), p, svuzp1_f32(f, f));
}

// held + prod with half a float unit added to its bits, and whether a
// lane of it lies on a midpoint.
ECO_TARGET_SVE inline svuint64_t roundUpSve(svbool_t pg, svfloat64_t held, const double* prod) {
  return svadd_n_u64_x(pg, svreinterpret_u64_f64(svadd_f64_x(pg, held, svld1_f64(pg, prod))),
                       kFloatMidpointTail);
}
ECO_TARGET_SVE inline svbool_t tiesSve(svbool_t pg, svuint64_t up) {
  return svcmpeq_n_u64(pg, svand_n_u64_x(pg, up, kFloatTailMask), 0);
}
ECO_TARGET_SVE inline svfloat64_t roundedSve(svbool_t pg, svuint64_t up) {
  return svreinterpret_f64_u64(svand_n_u64_x(pg, up, ~kFloatTailMask));
}

// One vector's sums after a draw whose block had a midpoint somewhere: a
// vector with one is added in extended precision, lane by lane.
ECO_TARGET_SVE inline void settleSve(svfloat64_t& held, svuint64_t up, svbool_t pg,
                                     const double* prod, std::size_t n) {
  if (svptest_any(pg, tiesSve(pg, up))) {
    alignas(64) double sums[32];  // the widest SVE vector: 2048 bits
    svst1_f64(pg, sums, held);
    addHeldExtended(sums, prod, static_cast<int>(n));
    held = svld1_f64(pg, sums);
  } else {
    held = roundedSve(pg, up);
  }
}

ECO_TARGET_SVE void addHeldRowsSve(float* acc, const StationValues& v, const int32_t* stations,
                                   std::size_t count, std::size_t first) {
  const SveLanes l = sveLanes(first, v.head, svcntd());
  const svbool_t p0 = svwhilelt_b64_u64(0, l.slots[0]), p1 = svwhilelt_b64_u64(0, l.slots[1]);
  const svbool_t p2 = svwhilelt_b64_u64(0, l.slots[2]), p3 = svwhilelt_b64_u64(0, l.slots[3]);
  float* const a = acc + first;
  svfloat64_t h0 = loadWidenedSve(a + l.offset[0], l.slots[0]);
  svfloat64_t h1 = loadWidenedSve(a + l.offset[1], l.slots[1]);
  svfloat64_t h2 = loadWidenedSve(a + l.offset[2], l.slots[2]);
  svfloat64_t h3 = loadWidenedSve(a + l.offset[3], l.slots[3]);
  const double* const rows = v.headProd + first;
  const int lines = static_cast<int>((8 * (l.offset[3] + l.slots[3]) + 63) / 64);
  for (std::size_t t = 0; t < count; ++t) {
    prefetchAhead(rows, v.head, stations, t, count, lines);
    const double* const prod = rows + static_cast<std::size_t>(stations[t]) * v.head;
    const svuint64_t u0 = roundUpSve(p0, h0, prod + l.offset[0]);
    const svuint64_t u1 = roundUpSve(p1, h1, prod + l.offset[1]);
    const svuint64_t u2 = roundUpSve(p2, h2, prod + l.offset[2]);
    const svuint64_t u3 = roundUpSve(p3, h3, prod + l.offset[3]);
    const svbool_t all = svptrue_b64();
    const svbool_t ties = svorr_b_z(all, svorr_b_z(all, tiesSve(p0, u0), tiesSve(p1, u1)),
                                    svorr_b_z(all, tiesSve(p2, u2), tiesSve(p3, u3)));
    if (svptest_any(all, ties)) [[unlikely]] {
      settleSve(h0, u0, p0, prod + l.offset[0], l.slots[0]);
      settleSve(h1, u1, p1, prod + l.offset[1], l.slots[1]);
      settleSve(h2, u2, p2, prod + l.offset[2], l.slots[2]);
      settleSve(h3, u3, p3, prod + l.offset[3], l.slots[3]);
    } else {
      h0 = roundedSve(p0, u0);
      h1 = roundedSve(p1, u1);
      h2 = roundedSve(p2, u2);
      h3 = roundedSve(p3, u3);
    }
  }
  storeNarrowedSve(a + l.offset[0], l.slots[0], h0);
  storeNarrowedSve(a + l.offset[1], l.slots[1], h1);
  storeNarrowedSve(a + l.offset[2], l.slots[2], h2);
  storeNarrowedSve(a + l.offset[3], l.slots[3], h3);
}

ECO_TARGET_SVE void accumulateSve(float* acc, const StationValues& v, const int32_t* stations,
                                  std::size_t count) {
  for (std::size_t first = 0; first < v.head; first += 4 * svcntd()) {
    addHeldRowsSve(acc, v, stations, count, first);
  }
  addLists<GroupWith<Group128>>(acc, v, stations, count);
}

ECO_TARGET_SVE void addFloatRowsSve(float* acc, const StationFloats& v, const int32_t* stations,
                                    std::size_t count, std::size_t first) {
  const SveLanes l = sveLanes(first, v.head, svcntw());
  const svbool_t p0 = svwhilelt_b32_u64(0, l.slots[0]), p1 = svwhilelt_b32_u64(0, l.slots[1]);
  const svbool_t p2 = svwhilelt_b32_u64(0, l.slots[2]), p3 = svwhilelt_b32_u64(0, l.slots[3]);
  float* const a = acc + first;
  svfloat32_t h0 = svld1_f32(p0, a + l.offset[0]), h1 = svld1_f32(p1, a + l.offset[1]);
  svfloat32_t h2 = svld1_f32(p2, a + l.offset[2]), h3 = svld1_f32(p3, a + l.offset[3]);
  const float* const rows = v.headProd + first;
  const int lines = static_cast<int>((4 * (l.offset[3] + l.slots[3]) + 63) / 64);
  for (std::size_t t = 0; t < count; ++t) {
    prefetchAhead(rows, v.head, stations, t, count, lines);
    const float* const prod = rows + static_cast<std::size_t>(stations[t]) * v.head;
    h0 = svadd_f32_x(p0, h0, svld1_f32(p0, prod + l.offset[0]));
    h1 = svadd_f32_x(p1, h1, svld1_f32(p1, prod + l.offset[1]));
    h2 = svadd_f32_x(p2, h2, svld1_f32(p2, prod + l.offset[2]));
    h3 = svadd_f32_x(p3, h3, svld1_f32(p3, prod + l.offset[3]));
  }
  svst1_f32(p0, a + l.offset[0], h0);
  svst1_f32(p1, a + l.offset[1], h1);
  svst1_f32(p2, a + l.offset[2], h2);
  svst1_f32(p3, a + l.offset[3], h3);
}

ECO_TARGET_SVE void accumulateFloatsSve(float* acc, const StationFloats& v, const int32_t* stations,
                                        std::size_t count) {
  for (std::size_t first = 0; first < v.head; first += 4 * svcntw()) {
    addFloatRowsSve(acc, v, stations, count, first);
  }
  addLists<GroupFloats>(acc, v, stations, count);
}

#endif  // ECO_SVE_KERNELS

#if ECO_X86_KERNELS

// ---- AVX2 -------------------------------------------------------------

// The held rows' vector on AVX2: four doubles, the midpoints of all four
// vectors of a block asked for at once (their masks would not all fit the
// registers, so a vector's own is formed again on the rare way that needs
// it).
struct HeldAvx2 {
  using D = __m256d;
  using U = __m256i;
  static constexpr int kLanes = 4;
  ECO_TARGET_AVX2 static void load(D& x, const double* p) { x = _mm256_load_pd(p); }
  ECO_TARGET_AVX2 static void store(double* p, const D& x) { _mm256_store_pd(p, x); }
  ECO_TARGET_AVX2 static void loadWidened(D& x, const float* p) {
    x = _mm256_cvtps_pd(_mm_loadu_ps(p));
  }
  ECO_TARGET_AVX2 static void storeNarrowed(float* p, const D& x) {
    _mm_storeu_ps(p, _mm256_cvtpd_ps(x));
  }
  ECO_TARGET_AVX2 static void roundUp(U& up, const D& held, const double* prod) {
    up = _mm256_add_epi64(_mm256_castpd_si256(_mm256_add_pd(held, _mm256_loadu_pd(prod))),
                          _mm256_set1_epi64x(static_cast<int64_t>(kFloatMidpointTail)));
  }
  ECO_TARGET_AVX2 static __m256i ties(const U& up) {
    return _mm256_cmpeq_epi64(
        _mm256_and_si256(up, _mm256_set1_epi64x(static_cast<int64_t>(kFloatTailMask))),
        _mm256_setzero_si256());
  }
  // The midpoint bits lie in the low halves of the lanes: two vectors'
  // low halves are gathered into one and tested together.
  template <int T>
  ECO_TARGET_AVX2 static bool anyTie(const U (&up)[T]) {
    static_assert(T % 2 == 0);
    const __m256i tail = _mm256_set1_epi32(static_cast<int32_t>(kFloatTailMask));
    __m256i any = _mm256_setzero_si256();
    ECO_UNROLL
    for (int b = 0; b < T; b += 2) {
      const __m256i lows = _mm256_castps_si256(_mm256_shuffle_ps(
          _mm256_castsi256_ps(up[b]), _mm256_castsi256_ps(up[b + 1]), _MM_SHUFFLE(2, 0, 2, 0)));
      any = _mm256_or_si256(
          any, _mm256_cmpeq_epi32(_mm256_and_si256(lows, tail), _mm256_setzero_si256()));
    }
    return !_mm256_testz_si256(any, any);
  }
  ECO_TARGET_AVX2 static bool tie(const U& up) {
    const __m256i t = ties(up);
    return !_mm256_testz_si256(t, t);
  }
  ECO_TARGET_AVX2 static void keepRounded(D& held, const U& up) {
    held = _mm256_castsi256_pd(
        _mm256_andnot_si256(_mm256_set1_epi64x(static_cast<int64_t>(kFloatTailMask)), up));
  }
};

// The group vector of AVX2: a group's four sums as one vector; a sum lies
// on a midpoint where its bits below float precision are those of half a
// float unit.
struct GroupAvx2 {
  struct Sums {
    __m256d sum;
  };
  ECO_TARGET_AVX2 static void sums(Sums& s, const float* acc, const std::size_t (&a)[4],
                                   const double* prod) {
    s.sum = _mm256_add_pd(_mm256_cvtps_pd(_mm_set_ps(acc[a[3]], acc[a[2]], acc[a[1]], acc[a[0]])),
                          _mm256_loadu_pd(prod));
  }
  ECO_TARGET_AVX2 static __m256i tails(const Sums& s) {
    return _mm256_and_si256(_mm256_castpd_si256(s.sum),
                            _mm256_set1_epi64x(static_cast<int64_t>(kFloatTailMask)));
  }
  ECO_TARGET_AVX2 static bool anyTie(const Sums& s) {
    const __m256i ties =
        _mm256_cmpeq_epi64(tails(s), _mm256_set1_epi64x(static_cast<int64_t>(kFloatMidpointTail)));
    return !_mm256_testz_si256(ties, ties);
  }
  ECO_TARGET_AVX2 static void store(float* acc, const std::size_t (&a)[4], const Sums& s) {
    const __m128 f = _mm256_cvtpd_ps(s.sum);
    _mm_store_ss(acc + a[0], f);
    _mm_store_ss(acc + a[1], _mm_movehdup_ps(f));
    _mm_store_ss(acc + a[2], _mm_movehl_ps(f, f));
    _mm_store_ss(acc + a[3], _mm_shuffle_ps(f, f, 3));
  }
};

ECO_TARGET_AVX2 ECO_KERNEL_FLATTEN void accumulateAvx2(float* acc, const StationValues& v,
                                                       const int32_t* stations, std::size_t count) {
  // Eight vectors of 4 where the head has 32 slots left, their midpoints
  // asked for two at a time (that and the eight sums fill the 16
  // registers), then four: a draw's addition waits on the previous one's
  // rounding, and four chains left the processor idle between them.
  std::size_t first = 0;
  for (; first + 32 <= v.head; first += 32) {
    addHeldRows<HeldAvx2, 8, 2>(acc, v, stations, count, first);
  }
  if (first < v.head) addHeldRows<HeldAvx2, 4, 4>(acc, v, stations, count, first);
  addLists<GroupWith<GroupAvx2>>(acc, v, stations, count);
}

struct FloatsAvx2 {
  using F = __m256;
  static constexpr int kLanes = 8;
  static constexpr int kBlock = 12;  // of the 16 registers
  ECO_TARGET_AVX2 static void load(F& x, const float* p) { x = _mm256_loadu_ps(p); }
  ECO_TARGET_AVX2 static void add(F& x, const float* p) {
    x = _mm256_add_ps(x, _mm256_loadu_ps(p));
  }
  ECO_TARGET_AVX2 static void store(float* p, const F& x) { _mm256_storeu_ps(p, x); }
};

ECO_TARGET_AVX2 ECO_KERNEL_FLATTEN void accumulateFloatsAvx2(float* acc, const StationFloats& v,
                                                             const int32_t* stations,
                                                             std::size_t count) {
  accumulateFloatsWith<FloatsAvx2>(acc, v, stations, count);
}

// Eight fourth roots taken in float and decided in float with FMA, and the
// lanes to recompute (the profile sums of AVX2 and AVX-512).
//
// r = sqrtf(sqrtf(q)) lies within 1.5 units in the last place of the true
// root t (each square root is within half a unit), so t rounds to r or to
// a neighbour. Which one follows from a = (q - r^4) m, with m the
// significand of r as an integer of 24 bits: a / q is (t - r) / ulp(r)
// to within 2^-21 of itself, so a > q / 2 says the float above, a < -q / 2
// the float below, and anything else r. q - r^4 is formed from exact
// products: r^2 = r2 + e2 and r2^2 = r4 + e4 (e2 and e4 by FMA), so
// q - r^4 = ((q - r4) - e4) - 2 r2 e2 - e2^2, where q - r4 is exact and
// e2^2 is far below what the decision needs. The float below r is half a
// unit away where r is a power of two, but then t is at least r: a float
// below 4^k has its square root below 2^k. A lane whose |a| lies within
// q 2^-14 of q / 2 is recomputed in extended precision, as is one outside
// 2^-64..2^64, where e4 could leave the normal range. Every float from
// 2^-64 to 2^64 was checked against the extended root (with a margin of
// 2^-30 instead, 32 of them in [1, 2^64) are wrong).
//
// Two float square roots of eight slots keep the divider 10 cycles where
// four double ones kept it 36: the profile sums went from 1.81 to 1.46 ns
// a slot in a small benchmark. The same decision in double, without FMA,
// needs eight conversions between float and double a block and was slower
// than the double roots.
struct FloatRoots {
  __m256 r;                // the float roots, when started
  __m256 root, recompute;  // when finished
};
// The square roots, started blocks ahead of the decision that waits on them.
ECO_TARGET_AVX2 ECO_KERNEL_INLINE void startFloatRoots(FloatRoots& out, const __m256& q) {
  out.r = _mm256_sqrt_ps(_mm256_sqrt_ps(q));
}
// q: the values the roots were started on.
ECO_TARGET_AVX2 ECO_KERNEL_INLINE void finishFloatRoots(FloatRoots& out, const __m256& q) {
  const __m256 r = out.r;
  const __m256i bits = _mm256_castps_si256(r);
  // r's significand times 2^21: r's fraction under the exponent 21.
  const __m256 m = _mm256_castsi256_ps(_mm256_or_si256(
      _mm256_and_si256(bits, _mm256_set1_epi32(0x007FFFFF)), _mm256_set1_epi32((127 + 21) << 23)));
  const __m256 r2 = _mm256_mul_ps(r, r);
  const __m256 e2 = _mm256_fmsub_ps(r, r, r2);
  const __m256 r4 = _mm256_mul_ps(r2, r2);
  const __m256 e4 = _mm256_fmsub_ps(r2, r2, r4);
  const __m256 excess =
      _mm256_fnmadd_ps(_mm256_add_ps(r2, r2), e2, _mm256_sub_ps(_mm256_sub_ps(q, r4), e4));
  const __m256 a = _mm256_mul_ps(excess, m);
  const __m256 half = _mm256_mul_ps(q, _mm256_set1_ps(0.5f));
  const __m256 up = _mm256_cmp_ps(a, half, _CMP_GT_OQ);
  const __m256 down = _mm256_cmp_ps(_mm256_add_ps(a, half), _mm256_setzero_ps(), _CMP_LT_OQ);
  // The masks are -1 in their lanes: the float above is r's bits + 1.
  out.root = _mm256_castsi256_ps(
      _mm256_add_epi32(_mm256_sub_epi32(bits, _mm256_castps_si256(up)), _mm256_castps_si256(down)));
  const __m256 abs = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
  const __m256 gap = _mm256_and_ps(_mm256_sub_ps(_mm256_and_ps(a, abs), half), abs);
  const __m256 undecided =
      _mm256_cmp_ps(gap, _mm256_mul_ps(q, _mm256_set1_ps(0x1p-14f)), _CMP_LT_OQ);
  const __m256 outside = _mm256_or_ps(_mm256_cmp_ps(q, _mm256_set1_ps(0x1p-64f), _CMP_LT_OQ),
                                      _mm256_cmp_ps(q, _mm256_set1_ps(0x1p64f), _CMP_GT_OQ));
  out.recompute = _mm256_or_ps(undecided, outside);
}

// The profile sums' vectors on AVX2: eight floats, their roots in float.
struct ProfileAvx2 {
  using F = __m256;
  using Mask = __m256;
  using Sum = __m256d;
  using Roots = FloatRoots;
  static constexpr int kLanes = 8;
  ECO_TARGET_AVX2 static void load(F& x, const float* p) { x = _mm256_loadu_ps(p); }
  ECO_TARGET_AVX2 static void store(float* p, const F& x) { _mm256_storeu_ps(p, x); }
  ECO_TARGET_AVX2 static void splat(F& x, float v) { x = _mm256_set1_ps(v); }
  ECO_TARGET_AVX2 static void div(F& x, const F& a, const F& b) { x = _mm256_div_ps(a, b); }
  ECO_TARGET_AVX2 static void positive(Mask& m, const F& a) {
    m = _mm256_cmp_ps(a, _mm256_setzero_ps(), _CMP_GT_OQ);
  }
  ECO_TARGET_AVX2 static int laneBits(const Mask& m) { return _mm256_movemask_ps(m); }
  ECO_TARGET_AVX2 static void keep(F& x, const F& a, const Mask& m) { x = _mm256_and_ps(a, m); }
  ECO_TARGET_AVX2 static void select(F& x, const Mask& m, const F& a, const F& b) {
    x = _mm256_blendv_ps(b, a, m);
  }
  ECO_TARGET_AVX2 static void min(F& x, const F& a, const F& b) { x = _mm256_min_ps(a, b); }
  ECO_TARGET_AVX2 static void roots(Roots& out, const F& q) { startFloatRoots(out, q); }
  ECO_TARGET_AVX2 static void finishRoots(Roots& r, const F& q) { finishFloatRoots(r, q); }
  ECO_TARGET_AVX2 static int nearMidpoint(const Roots& r) {
    return _mm256_movemask_ps(r.recompute);
  }
  ECO_TARGET_AVX2 static void narrow(F& x, const Roots& r) { x = r.root; }
  ECO_TARGET_AVX2 static void zero(Sum& sum) { sum = _mm256_setzero_pd(); }
  ECO_TARGET_AVX2 static void addWidened(Sum& sum, const F& x) {
    sum = _mm256_add_pd(sum, _mm256_add_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(x)),
                                           _mm256_cvtps_pd(_mm256_extractf128_ps(x, 1))));
  }
  ECO_TARGET_AVX2 static double total(const Sum& sum) {
    alignas(32) double v[4];
    _mm256_store_pd(v, sum);
    return (v[0] + v[1]) + (v[2] + v[3]);
  }
};

ECO_TARGET_AVX2 ECO_KERNEL_FLATTEN void profileSumsAvx2(const float* acc, float S, const float* y,
                                                        std::size_t count, ProfileSums& out) {
  profileSumsWith<ProfileAvx2>(acc, S, y, count, out);
}

// ---- AVX-512 ----------------------------------------------------------

// The all-lanes conversions through their zero-masked forms: the plain
// intrinsics start from an undefined register, which g++ 12 reports as
// maybe uninitialized.
ECO_TARGET_AVX512 inline __m512d widen(__m256 x) { return _mm512_maskz_cvtps_pd(0xFF, x); }
ECO_TARGET_AVX512 inline __m256 narrow(__m512d x) { return _mm512_maskz_cvtpd_ps(0xFF, x); }

// The held rows' vector on AVX-512: eight doubles, the midpoints of a
// whole block asked for at once through the mask registers.
struct HeldAvx512 {
  using D = __m512d;
  using U = __m512i;
  static constexpr int kLanes = 8;
  ECO_TARGET_AVX512 static void load(D& x, const double* p) { x = _mm512_load_pd(p); }
  ECO_TARGET_AVX512 static void store(double* p, const D& x) { _mm512_store_pd(p, x); }
  ECO_TARGET_AVX512 static void loadWidened(D& x, const float* p) { x = widen(_mm256_loadu_ps(p)); }
  ECO_TARGET_AVX512 static void storeNarrowed(float* p, const D& x) {
    _mm256_storeu_ps(p, narrow(x));
  }
  ECO_TARGET_AVX512 static void roundUp(U& up, const D& held, const double* prod) {
    up = _mm512_add_epi64(_mm512_castpd_si512(_mm512_add_pd(held, _mm512_loadu_pd(prod))),
                          _mm512_set1_epi64(static_cast<int64_t>(kFloatMidpointTail)));
  }
  ECO_TARGET_AVX512 static __mmask8 ties(const U& up) {
    return _mm512_testn_epi64_mask(up, _mm512_set1_epi64(static_cast<int64_t>(kFloatTailMask)));
  }
  template <int T>
  ECO_TARGET_AVX512 static bool anyTie(const U (&up)[T]) {
    __mmask8 any = ties(up[0]);
    ECO_UNROLL
    for (int b = 1; b < T; ++b) any = static_cast<__mmask8>(any | ties(up[b]));
    return any != 0;
  }
  ECO_TARGET_AVX512 static bool tie(const U& up) { return ties(up) != 0; }
  ECO_TARGET_AVX512 static void keepRounded(D& held, const U& up) {
    held = _mm512_castsi512_pd(
        _mm512_and_si512(up, _mm512_set1_epi64(~static_cast<int64_t>(kFloatTailMask))));
  }
};

// The group vector of AVX-512: AVX2's, the midpoints asked for through a
// mask register.
struct GroupAvx512 {
  using Sums = GroupAvx2::Sums;
  ECO_TARGET_AVX512 static void sums(Sums& s, const float* acc, const std::size_t (&a)[4],
                                     const double* prod) {
    GroupAvx2::sums(s, acc, a, prod);
  }
  ECO_TARGET_AVX512 static bool anyTie(const Sums& s) {
    return _mm256_cmpeq_epi64_mask(GroupAvx2::tails(s),
                                   _mm256_set1_epi64x(static_cast<int64_t>(kFloatMidpointTail))) !=
           0;
  }
  ECO_TARGET_AVX512 static void store(float* acc, const std::size_t (&a)[4], const Sums& s) {
    GroupAvx2::store(acc, a, s);
  }
};

ECO_TARGET_AVX512 ECO_KERNEL_FLATTEN void accumulateAvx512(float* acc, const StationValues& v,
                                                           const int32_t* stations,
                                                           std::size_t count) {
  // Blocks of six vectors of 8 (more run short of registers), then the
  // head's last 16 or 32 slots as one block.
  std::size_t first = 0;
  for (; first + 48 <= v.head; first += 48) {
    addHeldRows<HeldAvx512, 6, 6>(acc, v, stations, count, first);
  }
  if (v.head - first == 32) addHeldRows<HeldAvx512, 4, 4>(acc, v, stations, count, first);
  if (v.head - first == 16) addHeldRows<HeldAvx512, 2, 2>(acc, v, stations, count, first);
  addLists<GroupWith<GroupAvx512>>(acc, v, stations, count);
}

struct FloatsAvx512 {
  using F = __m512;
  static constexpr int kLanes = 16;
  static constexpr int kBlock = 16;  // of the 32 registers
  ECO_TARGET_AVX512 static void load(F& x, const float* p) { x = _mm512_loadu_ps(p); }
  ECO_TARGET_AVX512 static void add(F& x, const float* p) {
    x = _mm512_add_ps(x, _mm512_loadu_ps(p));
  }
  ECO_TARGET_AVX512 static void store(float* p, const F& x) { _mm512_storeu_ps(p, x); }
};

ECO_TARGET_AVX512 ECO_KERNEL_FLATTEN void accumulateFloatsAvx512(float* acc, const StationFloats& v,
                                                                 const int32_t* stations,
                                                                 std::size_t count) {
  accumulateFloatsWith<FloatsAvx512>(acc, v, stations, count);
}

// The profile sums' vectors on AVX-512: eight floats, their lanes chosen
// by a mask register, their roots AVX2's in float (two square roots of
// eight floats, where the double roots took two of eight doubles).
struct ProfileAvx512 {
  using F = __m256;
  using Mask = __mmask8;
  using Sum = __m512d;
  using Roots = FloatRoots;
  static constexpr int kLanes = 8;
  ECO_TARGET_AVX512 static void load(F& x, const float* p) { x = _mm256_loadu_ps(p); }
  ECO_TARGET_AVX512 static void store(float* p, const F& x) { _mm256_storeu_ps(p, x); }
  ECO_TARGET_AVX512 static void splat(F& x, float v) { x = _mm256_set1_ps(v); }
  ECO_TARGET_AVX512 static void div(F& x, const F& a, const F& b) { x = _mm256_div_ps(a, b); }
  ECO_TARGET_AVX512 static void positive(Mask& m, const F& a) {
    m = _mm256_cmp_ps_mask(a, _mm256_setzero_ps(), _CMP_GT_OQ);
  }
  ECO_TARGET_AVX512 static int laneBits(Mask m) { return m; }
  ECO_TARGET_AVX512 static void keep(F& x, const F& a, Mask m) { x = _mm256_maskz_mov_ps(m, a); }
  ECO_TARGET_AVX512 static void select(F& x, Mask m, const F& a, const F& b) {
    x = _mm256_mask_blend_ps(m, b, a);
  }
  ECO_TARGET_AVX512 static void min(F& x, const F& a, const F& b) { x = _mm256_min_ps(a, b); }
  ECO_TARGET_AVX512 static void roots(Roots& r, const F& q) { startFloatRoots(r, q); }
  ECO_TARGET_AVX512 static void finishRoots(Roots& r, const F& q) { finishFloatRoots(r, q); }
  ECO_TARGET_AVX512 static int nearMidpoint(const Roots& r) {
    return _mm256_movemask_ps(r.recompute);
  }
  ECO_TARGET_AVX512 static void narrow(F& x, const Roots& r) { x = r.root; }
  ECO_TARGET_AVX512 static void zero(Sum& sum) { sum = _mm512_setzero_pd(); }
  ECO_TARGET_AVX512 static void addWidened(Sum& sum, const F& x) {
    sum = _mm512_add_pd(sum, widen(x));
  }
  ECO_TARGET_AVX512 static double total(const Sum& sum) {
    alignas(64) double v[8];
    _mm512_store_pd(v, sum);
    return ((v[0] + v[1]) + (v[2] + v[3])) + ((v[4] + v[5]) + (v[6] + v[7]));
  }
};

ECO_TARGET_AVX512 ECO_KERNEL_FLATTEN void profileSumsAvx512(const float* acc, float S,
                                                            const float* y, std::size_t count,
                                                            ProfileSums& out) {
  profileSumsWith<ProfileAvx512>(acc, S, y, count, out);
}

#endif  // ECO_X86_KERNELS

}  // namespace

const SpeciesKernels kScalarSpeciesKernels{&accumulateScalar, &accumulateFloatsScalar,
                                           &profileSumsScalar};
#if ECO_VECTOR128
const SpeciesKernels kPortableSpeciesKernels{&accumulate128, &accumulateFloats128, &profileSums128};
#else
const SpeciesKernels kPortableSpeciesKernels{&accumulateScalar, &accumulateFloatsScalar,
                                             &profileSumsScalar};
#endif
#if ECO_X86_KERNELS
const SpeciesKernels kAvx2SpeciesKernels{&accumulateAvx2, &accumulateFloatsAvx2, &profileSumsAvx2};
const SpeciesKernels kAvx512SpeciesKernels{&accumulateAvx512, &accumulateFloatsAvx512,
                                           &profileSumsAvx512};
#else
const SpeciesKernels kAvx2SpeciesKernels{&accumulateScalar, &accumulateFloatsScalar,
                                         &profileSumsScalar};
const SpeciesKernels kAvx512SpeciesKernels{&accumulateScalar, &accumulateFloatsScalar,
                                           &profileSumsScalar};
#endif
#if ECO_SVE_KERNELS
const SpeciesKernels kSveSpeciesKernels{&accumulateSve, &accumulateFloatsSve, &profileSums128};
#else
const SpeciesKernels kSveSpeciesKernels{&accumulateScalar, &accumulateFloatsScalar,
                                        &profileSumsScalar};
#endif

}  // namespace eco
