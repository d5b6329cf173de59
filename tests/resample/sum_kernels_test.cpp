// The double-precision shortcuts and the vector kernels against the
// extended-precision evaluation, bit for bit, on every path the machine has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "numeric/evaluation.h"
#include "numeric/exact_float.h"
#include "numeric/extended.h"
#include "resample/path_kernels.h"
#include "resample/vector128.h"
#include "stats/long_tests.h"
#include "support/splitmix.h"

namespace eco {
namespace {

using test::inputs;
using test::kAllPaths;

uint32_t bitsOf(float x) {
  uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// splitmix64
struct Rng {
  uint64_t s;
  uint64_t next() { return test::splitmix(s); }
  double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
  // A positive float of random significand between 2^lo and 2^hi.
  float positive(int lo, int hi) {
    return std::ldexp(static_cast<float>(1.0 + unit()), lo + below(hi - lo));
  }
};

// acc, value and surface whose exact acc + value x surface lies within
// 2^-36 of an ulp of a midpoint between floats: 4097 x 16773121 = 2^36 + 1
// and 262143 x 262145 = 2^36 - 1, scaled so that the product is half an
// ulp of acc, plus or minus 2^-36 of that. In double the sum rounds onto
// the midpoint; in extended precision it stays off it (when +1) and the
// float result differs from the tie-to-even one.
struct Triple {
  float acc, value, surface;
};
Triple nearMidpoint(Rng& rng) {
  const float acc = rng.positive(-60, 60);
  int e = 0;
  std::frexp(acc, &e);  // acc in [2^(e-1), 2^e): ulp 2^(e-24), half ulp 2^(e-25)
  const bool above = rng.below(2) == 0;
  const double a = above ? 4097.0 : 262143.0, b = above ? 16773121.0 : 262145.0;
  // a x b x 2^E = (2^36 +- 1) x 2^E; want 2^36 x 2^E = 2^(e-25).
  const int E = e - 25 - 36;
  const int split = rng.below(20) - 10;
  const int ea = E / 2 + split;
  return {acc, static_cast<float>(std::ldexp(a, ea)), static_cast<float>(std::ldexp(b, E - ea))};
}

TEST(ExactFloat, MidpointsAreTheDoublesWhoseFloatRoundingIsATie) {
  EXPECT_TRUE(onFloatMidpoint(1.0 + 0x1p-24));
  EXPECT_TRUE(onFloatMidpoint(-(3.0 + 0x1p-23)));
  EXPECT_FALSE(onFloatMidpoint(1.0));
  EXPECT_FALSE(onFloatMidpoint(1.0 + 0x1p-24 + 0x1p-52));
  EXPECT_FALSE(onFloatMidpoint(1.0 + 0x1p-25));
  // A tie rounds to even: the double shortcut alone would be wrong here.
  EXPECT_EQ(static_cast<float>(1.0 + 0x1p-24), 1.0f);
}

TEST(ExactFloat, ConstructedNearMidpointSumsNeedTheExtendedEvaluation) {
  Rng rng{7};
  int differ = 0;
  for (int i = 0; i < 2000; ++i) {
    const Triple t = nearMidpoint(rng);
    const double prod = static_cast<double>(t.value) * t.surface;
    ASSERT_TRUE(onFloatMidpoint(static_cast<double>(t.acc) + prod)) << i;
    const float want = addProduct(t.acc, t.value, t.surface);
    if (bitsOf(static_cast<float>(static_cast<double>(t.acc) + prod)) != bitsOf(want)) ++differ;
    EXPECT_EQ(bitsOf(addExactProduct(t.acc, prod)), bitsOf(want));
    EXPECT_EQ(bitsOf(addExactProductInRange(t.acc, prod)), bitsOf(want));
  }
  // Half of the cases lie above the midpoint with an odd acc or below it with
  // an even one: the plain double result is wrong for a good share of them.
  EXPECT_GT(differ, 200);
}

TEST(ExactFloat, AddExactProductMatchesTheExtendedEvaluationForAnyValues) {
  Rng rng{11};
  const float specials[] = {0.0f,
                            -0.0f,
                            std::numeric_limits<float>::denorm_min(),
                            -std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::min(),
                            std::numeric_limits<float>::max(),
                            -std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            1.0f,
                            0.1f};
  for (float a : specials) {
    for (float v : specials) {
      for (float s : specials) {
        const float want = addProduct(a, v, s);
        const float got = addExactProduct(a, static_cast<double>(v) * s);
        if (std::isnan(want)) {
          EXPECT_TRUE(std::isnan(got));
        } else {
          EXPECT_EQ(bitsOf(got), bitsOf(want)) << a << " " << v << " " << s;
        }
      }
    }
  }
  const long n = inputs(300000, 100000000);
  for (long i = 0; i < n; ++i) {
    // Mixed magnitudes and signs, subnormal and overflowing results included.
    const float a = (rng.below(2) ? -1.0f : 1.0f) * rng.positive(-149, 127);
    const float v = (rng.below(2) ? -1.0f : 1.0f) * rng.positive(-149, 127);
    const float s = rng.positive(-149, 127);
    const float want = addProduct(a, v, s);
    const float got = addExactProduct(a, static_cast<double>(v) * s);
    ASSERT_EQ(bitsOf(got), bitsOf(want)) << a << " " << v << " " << s;
  }
}

// Where every product is a float the kernels add floats: the float
// addition must be the model's sum rounded once from extended precision,
// on midpoints, next to them and far apart in magnitude.
TEST(ExactFloat, FloatAdditionIsTheExtendedSumOfTwoFloats) {
  Rng rng{13};
  const long n = inputs(1000000, 100000000);
  long ties = 0;
  for (long i = 0; i < n; ++i) {
    const float a = rng.positive(-120, 120);
    int e = 0;
    std::frexp(a, &e);  // a's half ulp is 2^(e-25)
    float b = 0;
    switch (rng.below(4)) {
      case 0:  // an odd multiple of a's half ulp: the sum is a midpoint
        b = std::ldexp(static_cast<float>(2 * rng.below(1 << 20) + 1), e - 25);
        break;
      case 1:  // a half ulp plus or minus a little: next to one
        b = std::ldexp(1.0f + (rng.below(2) ? 1.0f : -0.5f) * std::ldexp(1.0f, -1 - rng.below(23)),
                       e - 25);
        break;
      case 2:  // exponents up to 60 apart, either way round
        b = std::ldexp(rng.positive(0, 1), e - 60 + rng.below(120));
        break;
      default:
        b = rng.positive(-126, 127);
    }
    const double sum = static_cast<double>(a) + b;
    if (!(sum < kFloatOverflowGuard) || b < std::numeric_limits<float>::min()) continue;
    if (onFloatMidpoint(sum)) ++ties;
    ASSERT_TRUE(isFloatValue(b));
    ASSERT_EQ(bitsOf(a + b), bitsOf(addProduct(a, b, 1.0f))) << a << " + " << b;
    ASSERT_EQ(bitsOf(b + a), bitsOf(addProduct(b, a, 1.0f))) << b << " + " << a;
  }
  EXPECT_GT(ties, n / 8);
}

TEST(ExactFloat, FloatValuesAreTheProductsThatFitAFloat) {
  const struct {
    double value;
    bool isFloat;
  } cases[] = {{7.0 * 0.5, true},
               {static_cast<double>(0.1f), true},
               {static_cast<double>(0.1f) * 0.1f, false},
               {3.0 * static_cast<double>(0.1f), false},
               {16777217.0, false},
               {0x1p-149, true},
               {0x1p-150, false},
               {0x1.fffffep127, true},
               {0x1p128, false},
               {std::numeric_limits<double>::quiet_NaN(), false}};
  for (const auto& c : cases) EXPECT_EQ(isFloatValue(c.value), c.isFloat) << c.value;
}

TEST(ExactFloat, RootInDoubleMatchesTheExtendedRoot) {
  Rng rng{13};
  EXPECT_EQ(root4Exact(0.0f), 0.0f);
  EXPECT_EQ(root4Exact(-1.0f), 0.0f);
  EXPECT_EQ(root4Exact(std::numeric_limits<float>::quiet_NaN()), 0.0f);
  EXPECT_EQ(root4Exact(16.0f), 2.0f);
  EXPECT_EQ(root4Exact(std::numeric_limits<float>::infinity()),
            std::numeric_limits<float>::infinity());
  const long n = inputs(1000000, 0);
  for (long i = 0; i < n; ++i) {
    const float x = rng.positive(-149, 128);
    ASSERT_EQ(bitsOf(root4Exact(x)), bitsOf(root4(x))) << x;
  }
}

// The margin of the root's midpoint test holds with room to spare: the
// double root lies within 2 units of 53 bits of the extended one.
TEST(ExactFloat, DoubleRootStaysWellWithinItsMargin) {
  Rng rng{17};
  const long n = inputs(200000, 20000000);
  double worst = 0.0;
  for (long i = 0; i < n; ++i) {
    const float x = rng.positive(-149, 128);
    const double y = std::sqrt(std::sqrt(static_cast<double>(x)));
    const long double z = std::sqrt(std::sqrt(static_cast<long double>(x)));
    int e = 0;
    std::frexp(y, &e);
    const double ulp = std::ldexp(1.0, e - 53);
    worst = std::max(worst, static_cast<double>(std::fabs(static_cast<long double>(y) - z) / ulp));
  }
  EXPECT_LT(worst, 2.0);
  EXPECT_LT(2.0 + 1.0, static_cast<double>(kRootMargin));
}

// Every positive float through the scalar and vector roots (long run only).
// The vector paths are checked through their sums: 2^16 neighbouring
// floats have roots within a factor 16 of each other, so the double sum is
// exact and equals the extended one only if every root is.
TEST(ExactFloat, EveryPositiveFloatHasTheExtendedRoot) {
  if (!test::longTests()) GTEST_SKIP() << "long test (ECO_LONG_TESTS=1)";
  std::vector<float> q(1 << 16), y(1 << 16, 0.0f);
  for (uint64_t start = 1; start < 0x7F800000u; start += q.size()) {
    std::size_t count = 0;
    for (; count < q.size() && start + count < 0x7F800000u; ++count) {
      const uint32_t b = static_cast<uint32_t>(start + count);
      std::memcpy(&q[count], &b, sizeof b);
    }
    long double a = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const float r = root4(q[i]);
      ASSERT_EQ(bitsOf(root4Exact(q[i])), bitsOf(r)) << q[i];
      a += r;
    }
    for (KernelPath path : kAllPaths) {
      if (!kernelPathAvailable(path)) continue;
      ProfileSums sums;
      pathKernels(path).species->profileSums(q.data(), 1.0f, y.data(), count, sums);
      ASSERT_EQ(sums.count, static_cast<int64_t>(count));
      ASSERT_TRUE(floatSumExact(sums.a, sums.minPositive));
      ASSERT_EQ(static_cast<long double>(sums.a), a) << kernelPathName(path) << " " << start;
    }
  }
}

// value[i] x surface, each exact in double.
std::vector<double> products(const std::vector<float>& value, float surface) {
  std::vector<double> prod(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) prod[i] = static_cast<double>(value[i]) * surface;
  return prod;
}

// acc + value x surface through a path's accumulate(): one station whose
// dense row holds the products (padded with zeros to a multiple of 16),
// drawn once, onto accumulators that already hold acc.
void addOneRow(KernelPath path, std::vector<float>& acc, const std::vector<double>& prod) {
  const std::size_t head = (prod.size() + 15) / 16 * 16;
  std::vector<double> row(head, 0.0);
  std::copy(prod.begin(), prod.end(), row.begin());
  std::vector<float> held(head, 0.0f);
  std::copy(acc.begin(), acc.end(), held.begin());
  const int64_t noList[2] = {0, 0};
  const int32_t station = 0;
  const StationValues v{head, row.data(), noList, nullptr, nullptr, true};
  pathKernels(path).species->accumulate(held.data(), v, &station, 1);
  std::copy(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(acc.size()), acc.begin());
}

// acc[i] + value[i] x surface for one path against addProduct, lane by lane.
void checkAddRow(KernelPath path, Rng& rng, long rows) {
  for (long r = 0; r < rows; ++r) {
    const std::size_t count = static_cast<std::size_t>(rng.below(70));
    const float surface = rng.below(3) == 0 ? 0.1f : rng.positive(-10, 4);
    std::vector<float> acc(count), value(count), want(count);
    for (std::size_t i = 0; i < count; ++i) {
      if (rng.below(4) == 0) {
        // A constructed acc and value, here with the row's surface: mostly
        // off the midpoint, but with magnitudes the plain draws rarely mix.
        const Triple t = nearMidpoint(rng);
        value[i] = t.value;
        acc[i] = t.acc;
      } else {
        acc[i] = rng.below(5) == 0 ? 0.0f : rng.positive(-20, 20);
        value[i] = rng.below(3) == 0 ? 0.0f : rng.positive(-20, 20);
      }
      want[i] = addProduct(acc[i], value[i], surface);
    }
    addOneRow(path, acc, products(value, surface));
    for (std::size_t i = 0; i < count; ++i) {
      ASSERT_EQ(bitsOf(acc[i]), bitsOf(want[i])) << kernelPathName(path) << " lane " << i;
    }
  }
}

TEST(Kernels, DenseRowMatchesTheExtendedEvaluation) {
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) {
      std::printf("skipped: this machine has no %s\n", kernelPathName(path));
      continue;
    }
    Rng rng{23};
    checkAddRow(path, rng, inputs(20000, 2000000));
  }
}

// Rows whose every lane is a constructed midpoint, with the surface the
// construction chose, through each path's tie fallback.
TEST(Kernels, DenseRowFallsBackOnEveryTie) {
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) continue;
    Rng rng{29};
    const long rows = inputs(2000, 200000);
    for (long r = 0; r < rows; ++r) {
      const Triple t = nearMidpoint(rng);
      const std::size_t count = 1 + static_cast<std::size_t>(rng.below(70));
      std::vector<float> acc(count, t.acc), value(count, t.value);
      const float want = addProduct(t.acc, t.value, t.surface);
      addOneRow(path, acc, products(value, t.surface));
      for (float a : acc) ASSERT_EQ(bitsOf(a), bitsOf(want)) << kernelPathName(path);
    }
  }
}

// acc[i] + prod[i] through a path's accumulate(): one station whose list
// holds the products on slots 0, 1, ... (padded to whole groups on spare
// slots), drawn once, onto accumulators that already hold acc; in a run or
// on its own.
void addOneList(KernelPath path, std::vector<float>& acc, const std::vector<double>& prod,
                bool runs) {
  std::vector<int32_t> slot;
  std::vector<double> value = prod;
  for (std::size_t i = 0; i < prod.size(); ++i) slot.push_back(static_cast<int32_t>(i));
  for (std::size_t q = 0; slot.size() % kListGroup != 0; ++q) {
    slot.push_back(static_cast<int32_t>(prod.size() + q));
    value.push_back(0.0);
  }
  std::vector<float> held(prod.size() + kListGroup, 0.0f);
  std::copy(acc.begin(), acc.end(), held.begin());
  const int64_t list[2] = {0, static_cast<int64_t>(slot.size())};
  const int32_t station = 0;
  const StationValues v{0, nullptr, list, slot.data(), value.data(), runs};
  pathKernels(path).species->accumulate(held.data(), v, &station, 1);
  std::copy(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(acc.size()), acc.begin());
  for (std::size_t q = acc.size(); q < held.size(); ++q) ASSERT_EQ(held[q], 0.0f);
}

// Lists whose entries are constructed near-midpoint sums among plain ones:
// a group with one of them is added in extended precision, the others as
// vectors; every sum as addProduct makes it.
TEST(Kernels, ListGroupsFallBackOnEveryTie) {
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) continue;
    Rng rng{41};
    const long lists = inputs(4000, 400000);
    long ties = 0;
    for (long l = 0; l < lists; ++l) {
      const std::size_t count = 1 + static_cast<std::size_t>(rng.below(60));
      std::vector<float> acc(count), want(count);
      std::vector<double> prod(count);
      for (std::size_t i = 0; i < count; ++i) {
        Triple t = nearMidpoint(rng);
        if (rng.below(3) != 0) {
          t = {rng.below(5) == 0 ? 0.0f : rng.positive(-20, 20), rng.positive(-20, 20), 0.1f};
        }
        acc[i] = t.acc;
        prod[i] = static_cast<double>(t.value) * t.surface;
        want[i] = addProduct(t.acc, t.value, t.surface);
        if (onFloatMidpoint(static_cast<double>(t.acc) + prod[i])) ++ties;
      }
      addOneList(path, acc, prod, rng.below(2) == 0);
      for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(bitsOf(acc[i]), bitsOf(want[i])) << kernelPathName(path) << " entry " << i;
      }
    }
    EXPECT_GT(ties, lists * 5) << kernelPathName(path);
  }
}

// Reference stations of random shape for accumulate(): dense rows of the
// given width (some values 0), lists of every length up to well past the
// runs' fixed chunk (in a wide tail, past the longest list a run takes),
// each padded to whole groups with zeros on the three spare slots at the
// end, drawn stations repeated. Short products are integers of 21 to 23
// bits: their sums pass 2^24 within a few draws, and from there on every
// odd sum lies on a float midpoint, as with survey data that have few
// digits. With floats, every product is a float, as where surfaces are
// powers of two, and the stations also have the float views.
struct RandomStations {
  std::size_t width = 0;
  std::vector<double> headProd;
  std::vector<int64_t> tailStart{0};
  std::vector<int32_t> tailSlot;
  std::vector<double> tailProd;
  std::vector<float> headFloat, tailFloat;
  StationValues values(std::size_t head, bool runs) const {
    return {head, headProd.data(), tailStart.data(), tailSlot.data(), tailProd.data(), runs};
  }
  StationFloats floatValues(std::size_t head, bool runs) const {
    return {head, headFloat.data(), tailStart.data(), tailSlot.data(), tailFloat.data(), runs};
  }
};

RandomStations randomStations(Rng& rng, std::size_t head, std::size_t n, bool shortProducts,
                              bool floats) {
  RandomStations r;
  // Now and then a wide tail, whose longest lists are too long for a run.
  const bool wide = rng.below(8) == 0;
  const std::size_t tail =
      static_cast<std::size_t>(wide ? 1200 + rng.below(300) : 50 + rng.below(150));
  const std::size_t spare = kListGroup - 1;
  r.width = head + tail + spare;
  auto product = [&] {
    if (shortProducts) return static_cast<double>((1 << 20) + rng.below(7 << 20));
    const double value = rng.positive(-10, 10);
    return floats ? value : value * static_cast<double>(rng.positive(-8, 4));
  };
  for (std::size_t j = 0; j < n; ++j) {
    for (std::size_t i = 0; i < head; ++i)
      r.headProd.push_back(rng.below(3) == 0 ? 0.0 : product());
    const int kind = rng.below(10);
    const std::size_t length = static_cast<std::size_t>(kind < 6   ? rng.below(16)
                                                        : kind < 9 ? 24 + rng.below(30)
                                                        : wide     ? 3000 + rng.below(1000)
                                                                   : 40 + rng.below(110));
    std::vector<char> used(tail, 0);
    for (std::size_t k = 0; k < std::min(length, 2 * tail); ++k)
      used[static_cast<std::size_t>(rng.below(static_cast<int>(tail)))] = 1;
    for (std::size_t a = 0; a < tail; ++a) {
      if (!used[a]) continue;
      r.tailSlot.push_back(static_cast<int32_t>(head + a));
      r.tailProd.push_back(product());
    }
    const std::size_t listed = r.tailSlot.size() - static_cast<std::size_t>(r.tailStart.back());
    for (std::size_t q = 0; (listed + q) % kListGroup != 0; ++q) {
      r.tailSlot.push_back(static_cast<int32_t>(head + tail + (j + q) % spare));
      r.tailProd.push_back(0.0);
    }
    r.tailStart.push_back(static_cast<int64_t>(r.tailSlot.size()));
  }
  if (floats) {
    r.headFloat.assign(r.headProd.begin(), r.headProd.end());
    r.tailFloat.assign(r.tailProd.begin(), r.tailProd.end());
  }
  return r;
}

// Every path's accumulate() and accumulateFloats() against the sums made
// one by one in draw order, each rounded once from extended precision: rows
// and lists, lists added in runs (flushed when full, long lists on their
// own) and station by station.
TEST(Kernels, AccumulateMatchesTheExtendedSumsInDrawOrder) {
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) continue;
    for (bool floats : {false, true}) {
      Rng rng{37};
      const long trials = inputs(300, 30000);
      // Heads that the vector paths split into blocks of every kind.
      const std::vector<std::size_t> heads{0, 16, 32, 48, 64, 80, 96, 144, 272, 496};
      long rowMidpoints = 0, listMidpoints = 0;
      for (long trial = 0; trial < trials; ++trial) {
        const std::size_t head = heads[static_cast<std::size_t>(rng.below(10))];
        const std::size_t n = 1 + static_cast<std::size_t>(rng.below(40));
        const RandomStations st = randomStations(rng, head, n, rng.below(3) == 0, floats);
        const std::size_t count = static_cast<std::size_t>(rng.below(257));
        std::vector<int32_t> drawn(count);
        for (int32_t& j : drawn) j = rng.below(static_cast<int>(n));
        std::vector<float> want(st.width, 0.0f);
        for (int32_t j : drawn) {
          const std::size_t uj = static_cast<std::size_t>(j);
          auto add = [&](std::size_t slot, double prod) {
            if (onFloatMidpoint(static_cast<double>(want[slot]) + prod)) {
              ++(slot < head ? rowMidpoints : listMidpoints);
            }
            want[slot] = static_cast<float>(static_cast<long double>(want[slot]) +
                                            static_cast<long double>(prod));
          };
          for (std::size_t i = 0; i < head; ++i) add(i, st.headProd[uj * head + i]);
          for (int64_t k = st.tailStart[uj]; k < st.tailStart[uj + 1]; ++k) {
            add(static_cast<std::size_t>(st.tailSlot[static_cast<std::size_t>(k)]),
                st.tailProd[static_cast<std::size_t>(k)]);
          }
        }
        for (bool runs : {true, false}) {
          // Two calls, as the draws come in batches: the second continues the sums.
          std::vector<float> acc(st.width, 0.0f);
          const SpeciesKernels& k = *pathKernels(path).species;
          const std::size_t half = count / 2;
          if (floats) {
            const StationFloats v = st.floatValues(head, runs);
            k.accumulateFloats(acc.data(), v, drawn.data(), half);
            k.accumulateFloats(acc.data(), v, drawn.data() + half, count - half);
          } else {
            const StationValues v = st.values(head, runs);
            k.accumulate(acc.data(), v, drawn.data(), half);
            k.accumulate(acc.data(), v, drawn.data() + half, count - half);
          }
          for (std::size_t a = 0; a < st.width; ++a) {
            ASSERT_EQ(bitsOf(acc[a]), bitsOf(want[a]))
                << kernelPathName(path) << " slot " << a << " runs " << runs << " trial " << trial
                << " floats " << floats;
          }
        }
      }
      // The rows' and the lists' sums went through the tie fallbacks (or, with
      // floats, the float additions' ties) many times.
      EXPECT_GT(rowMidpoints, trials * 10) << kernelPathName(path);
      EXPECT_GT(listMidpoints, trials * 10) << kernelPathName(path);
    }
  }
}

TEST(Kernels, ProfileSumsAreThoseOfTheExtendedRoots) {
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) continue;
    Rng rng{31};
    const long rows = inputs(5000, 500000);
    long exact = 0;
    for (long r = 0; r < rows; ++r) {
      const std::size_t count = static_cast<std::size_t>(rng.below(90));
      const float S = rng.below(20) == 0 ? 0.0f : rng.positive(-8, 8);
      // Some rows span so many magnitudes that their sums are not exact.
      const int spread = rng.below(4) == 0 ? 120 : 30;
      // Some rows are mostly empty, as after a few draws: whole vectors of
      // zeros and negatives among a few positive values.
      const bool sparse = rng.below(3) == 0;
      std::vector<float> acc(count), y(count);
      for (std::size_t i = 0; i < count; ++i) {
        const int kind = sparse && rng.below(10) != 0 ? rng.below(2) : rng.below(6);
        acc[i] = kind == 0   ? 0.0f
                 : kind == 1 ? -rng.positive(-5, 5)
                             : rng.positive(-spread, spread);
        y[i] = rng.below(3) == 0 ? 0.0f : rng.positive(-5, 5);
      }
      ProfileSums got;
      pathKernels(path).species->profileSums(acc.data(), S, y.data(), count, got);
      int64_t n = 0;
      float minPositive = std::numeric_limits<float>::infinity();
      long double a = 0, m = 0;
      for (std::size_t i = 0; i < count; ++i) {
        const float p = root4(acc[i] / S);
        if (p > 0.0f) {
          ++n;
          minPositive = std::min(minPositive, p);
        }
        a += p;
        m += p > y[i] ? y[i] : p;
      }
      ASSERT_EQ(got.count, n);
      ASSERT_EQ(bitsOf(got.minPositive), bitsOf(minPositive));
      // Where the sums are provably exact in double they equal the extended ones.
      float smallestY = std::numeric_limits<float>::infinity();
      for (float v : y) {
        if (v > 0.0f) smallestY = std::min(smallestY, v);
      }
      const double smallest = std::min(minPositive, smallestY);
      if (floatSumExact(got.a, smallest)) {
        ++exact;
        ASSERT_EQ(static_cast<long double>(got.a), a) << kernelPathName(path);
        ASSERT_EQ(static_cast<long double>(got.m), m) << kernelPathName(path);
      }
    }
    // Both kinds of rows occur: the test means something either way.
    EXPECT_GT(exact, rows / 2);
    EXPECT_LT(exact, rows);
  }
}

// How far (in units of its last place) the extended fourth root of q lies
// from the float it rounds to: 0.5 at a midpoint between floats.
double rootOffset(float q) {
  const Extended t = sqrt(sqrt(Extended(q)));
  const float r = root4(q);
  int e = 0;
  std::frexp(r, &e);
  return std::fabs(static_cast<double>((t - Extended(r)) / Extended(std::ldexp(1.0, e - 24))));
}

// Floats that the vector paths' roots must recompute in extended
// precision (found by trying every float; the pattern repeats every four
// binades), each in every lane position among ordinary values: each lane
// must keep its own root. The double roots recompute those within their
// margin of a float midpoint; the float roots of AVX2 and AVX-512 those
// whose extended root lies within 2^-14 units of one and values outside
// 2^-64..2^64 (the small and the large ones in rows of their own, so that
// each row's sums stay exact in double).
TEST(Kernels, ProfileSumsRecomputeNearMidpointRootsInTheirOwnLanes) {
  auto fromBits = [](uint32_t b) {
    float q;
    std::memcpy(&q, &b, sizeof q);
    return q;
  };
  std::vector<float> small, large = {0x1.000002p64f, 0x1.8p70f, 0x1p80f};
  for (uint32_t b :
       {0x3ee1bda3u, 0x3f13fd42u, 0x3f7ffffeu, 0x3f8df0e7u, 0x3fd5476au, 0x3ffda996u}) {
    ASSERT_TRUE(rootNearMidpoint(std::sqrt(std::sqrt(static_cast<double>(fromBits(b)))))) << b;
    small.push_back(fromBits(b));
  }
  for (uint32_t b : {0x3f902866u, 0x40100823u, 0x40904de5u, 0x4110c871u, 0x3e9087c2u}) {
    ASSERT_GT(rootOffset(fromBits(b)), 0.5 - 0x1p-14) << b;
    small.push_back(fromBits(b));
  }
  // Roots that are powers of two, r = t: the decision's bounds at their
  // smallest, and the float below r half a unit away.
  small.insert(small.end(), {1.0f, 16.0f, 0x1p-60f, std::nextafter(16.0f, 32.0f)});
  small.insert(small.end(), {0x1.fffffep-65f, 0x1.8p-66f, 0x1p-70f});
  for (const std::vector<float>& near : {small, large}) {
    for (KernelPath path : kAllPaths) {
      if (!kernelPathAvailable(path)) continue;
      for (std::size_t at = 0; at < 16; ++at) {
        std::vector<float> acc(3 * near.size() + 1), y(acc.size(), 2.0f);
        for (std::size_t i = 0; i < acc.size(); ++i) {
          acc[i] = 1.25f + 0.125f * static_cast<float>(i);
        }
        for (std::size_t k = 0; k < near.size(); ++k) acc[(at + 3 * k) % acc.size()] = near[k];
        ProfileSums got;
        pathKernels(path).species->profileSums(acc.data(), 1.0f, y.data(), acc.size(), got);
        long double a = 0, m = 0;
        float minPositive = std::numeric_limits<float>::infinity();
        for (std::size_t i = 0; i < acc.size(); ++i) {
          const float r = root4(acc[i]);
          a += r;
          m += std::min(r, y[i]);
          minPositive = std::min(minPositive, r);
        }
        ASSERT_TRUE(floatSumExact(got.a, minPositive));
        ASSERT_EQ(static_cast<long double>(got.a), a) << kernelPathName(path) << " at " << at;
        ASSERT_EQ(static_cast<long double>(got.m), m) << kernelPathName(path) << " at " << at;
        ASSERT_EQ(bitsOf(got.minPositive), bitsOf(minPositive)) << kernelPathName(path);
      }
    }
  }
}

#if ECO_VECTOR128
// The lane bits of a comparison of four floats: bit k for lane k. Only
// the profile sums read them, where a permutation changes no count.
TEST(Vector128, FloatLaneBitsFollowTheLanes) {
  for (int pattern = 0; pattern < 16; ++pattern) {
    float values[4];
    for (int l = 0; l < 4; ++l) values[l] = (pattern >> l) & 1 ? 1.5f + l : (l % 2 ? -0.0f : -3.0f);
    EXPECT_EQ(v128::laneBits(v128::positive(v128::loadF(values))), pattern);
  }
}

// The baseline vectors' lane tests of the midpoints and root margins look at
// the low half of each of four lanes (two vectors of two); each lane must
// answer for itself, whatever the high halves hold. The root margins'
// recomputations change no result on their own (the double roots are right
// on every float), so a mix-up of their lanes shows only here.
TEST(Vector128, LaneTestsAnswerForTheirOwnLane) {
  const uint64_t mask = kFloatTailMask, low = kFloatMidpointTail - kRootMargin;
  const uint64_t span = 2 * kRootMargin;
  struct Case {
    uint64_t inside, outside;  // low bits, each under a different high half
  };
  const Case cases[] = {{low, low - 1}, {low + span, low + span + 1}, {low + 7, 0}};
  const uint64_t highs[4] = {0x3FF0000000000000u, 0x4123456700000000u, 0xFFFFFFFF00000000u, 0};
  for (const Case& c : cases) {
    for (int at = 0; at < 4; ++at) {
      uint64_t lanes[4], zeros[4];
      for (int l = 0; l < 4; ++l) {
        lanes[l] = highs[l] | (l == at ? c.inside : c.outside);
        zeros[l] = highs[l] | (l == at ? 0 : (c.outside == 0 ? 1 : c.outside)) | (mask + 1);
      }
      EXPECT_EQ(v128::offsetsWithin(v128::loadU(lanes), v128::loadU(lanes + 2),
                                    static_cast<uint32_t>(mask), static_cast<uint32_t>(low),
                                    static_cast<uint32_t>(span)),
                1 << at)
          << "lane " << at;
      // Zero under the mask (a held sum's rounding) and the midpoint's bits
      // (a list group's sums), in this lane only.
      for (const uint32_t value : {uint32_t{0}, uint32_t{kFloatMidpointTail}}) {
        uint64_t equal[4];
        for (int l = 0; l < 4; ++l) equal[l] = zeros[l] ^ value;
        EXPECT_TRUE(v128::anyEqualUnder(v128::loadU(equal), v128::loadU(equal + 2), mask, value))
            << at;
        equal[at] ^= 1u << (at * 7);
        EXPECT_FALSE(v128::anyEqualUnder(v128::loadU(equal), v128::loadU(equal + 2), mask, value))
            << at;
      }
    }
  }
}
#endif

// The exactness test of the similarity sums rejects what double cannot
// hold: 1 + 2^-30 + 2^-30 is exact, 2^30 + 2^-30 is not.
TEST(ExactFloat, FloatSumExactnessTest) {
  EXPECT_TRUE(floatSumExact(0.0, std::numeric_limits<double>::infinity()));
  EXPECT_TRUE(floatSumExact(1.5, 0.5));
  EXPECT_TRUE(floatSumExact(0x1p27, 1.0));
  EXPECT_FALSE(floatSumExact(0x1p30 + 0x1p-30, 0x1p-30));
  EXPECT_FALSE(floatSumExact(std::numeric_limits<double>::infinity(), 1.0));
}

// The one switch from a path to its code hands out each path's own
// kernels: a mix-up would go unseen by the exactness tests, which pass on
// any path.
TEST(Kernels, EachPathHasItsOwnKernels) {
  const PathKernels* seen[std::size(kAllPaths)] = {};
  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) continue;
    const PathKernels& k = pathKernels(path);
    EXPECT_EQ(k.path, path);
    for (const PathKernels* other : seen) {
      if (other == nullptr) continue;
      // Without a vector unit the portable path is the scalar code.
      if (ECO_VECTOR128 || other->path != KernelPath::scalar || path != KernelPath::portable) {
        EXPECT_NE(other->species->accumulate, k.species->accumulate) << kernelPathName(path);
        EXPECT_NE(other->species->accumulateFloats, k.species->accumulateFloats)
            << kernelPathName(path);
      }
      // SVE draws its stations with NEON's code.
      const bool neonDraws = other->path == KernelPath::portable && path == KernelPath::sve;
      if (!neonDraws) {
        EXPECT_NE(other->stations, k.stations) << kernelPathName(path);
      }
    }
    seen[static_cast<int>(path)] = &k;
  }
}

}  // namespace
}  // namespace eco
