#include "numeric/sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "numeric/error_capture.h"
#include "numeric/machine.h"

namespace eco {
namespace {

using Sorting = ErrorCapture;

const float kInf = std::numeric_limits<float>::infinity();

std::vector<uint32_t> bitMultiset(const std::vector<float>& v) {
  std::vector<uint32_t> b;
  for (float x : v) b.push_back(std::bit_cast<uint32_t>(x));
  std::sort(b.begin(), b.end());
  return b;
}

// SVRGN agrees with std::sort up to the signs of zeros (compared with ==)
// and keeps exactly the same elements (compared as bit patterns).
void expectSortedLikeStd(const std::vector<float>& in) {
  std::vector<float> out(in.size());
  SVRGN(static_cast<int32_t>(in.size()), in.data(), out.data());
  std::vector<float> ref = in;
  std::sort(ref.begin(), ref.end());
  ASSERT_EQ(out.size(), ref.size());
  for (std::size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], ref[i]) << "n=" << in.size();
  ASSERT_EQ(bitMultiset(out), bitMultiset(in));
}

std::vector<float> randomVector(std::mt19937& rng, int n, int kind) {
  std::vector<float> v(n);
  std::uniform_int_distribution<int> small(0, 4);
  std::uniform_real_distribution<float> real(-1000.0f, 1000.0f);
  for (float& x : v) {
    switch (kind) {
      case 0:
        x = real(rng);
        break;
      case 1:  // many ties
        x = static_cast<float>(small(rng));
        break;
      default: {  // zeros of both signs and infinities among ties
        const int c = small(rng);
        x = c == 0 ? 0.0f : c == 1 ? -0.0f : c == 2 ? kInf : c == 3 ? -kInf : 1.5f;
      }
    }
  }
  return v;
}

TEST_F(Sorting, SvrgnMatchesStdSortOnRandomVectors) {
  std::mt19937 rng(12345);
  for (int n = 1; n <= 120; ++n) {
    for (int kind = 0; kind < 3; ++kind) expectSortedLikeStd(randomVector(rng, n, kind));
  }
  for (int n : {500, 999, 1000, 2000, 3999, 4000}) {
    for (int kind = 0; kind < 3; ++kind) expectSortedLikeStd(randomVector(rng, n, kind));
  }
  EXPECT_EQ(printed(), "");
}

TEST_F(Sorting, SvrgnOnOrderedAndPatternedInput) {
  for (int n : {2, 11, 12, 13, 100, 4000, 200000}) {
    std::vector<float> up(n), down(n), pipe(n), saw(n), same(n, 7.0f);
    for (int i = 0; i < n; ++i) {
      up[i] = static_cast<float>(i);
      down[i] = static_cast<float>(n - i);
      pipe[i] = static_cast<float>(std::min(i, n - i));
      saw[i] = static_cast<float>(i % 17);
    }
    for (const auto* v : {&up, &down, &pipe, &saw, &same}) expectSortedLikeStd(*v);
  }
}

TEST_F(Sorting, SvrgnInPlaceAndSingleElement) {
  std::vector<float> v = {3, -1, 2, 2, -7, 0};
  SVRGN(6, v.data(), v.data());
  EXPECT_EQ(v, (std::vector<float>{-7, -1, 0, 2, 2, 3}));
  const float one = 4.25f;
  float out = 0.0f;
  SVRGN(1, &one, &out);
  EXPECT_EQ(out, 4.25f);
}

TEST_F(Sorting, SvrgnKeepsNaNsWithoutRunningOff) {
  // Not a defined order, but the elements stay and nothing is read outside.
  std::mt19937 rng(7);
  for (int n : {3, 12, 50, 1000}) {
    std::vector<float> v = randomVector(rng, n, 0);
    for (int i = 0; i < n; i += 3) v[i] = AMACH(6);
    std::vector<float> out(n);
    SVRGN(n, v.data(), out.data());
    EXPECT_EQ(bitMultiset(out), bitMultiset(v));
  }
}

TEST_F(Sorting, SvrgnNeedsOneElement) {
  float x = 0.0f;
  EXPECT_THROW(SVRGN(0, &x, &x), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 1 from SVRGN.  N = 0.  The length of RA and RB, N, must\n"
            " ***          be greater than or equal to one.\n");
}

TEST(PartialSort, SmallestFirstInPlace) {
  std::vector<float> v = {3, 1, 2};
  SVRGP(3, v.data(), -1, v.data());
  EXPECT_EQ(v, (std::vector<float>{1, 3, 2}));
  std::vector<float> w = {5, 9, 1, 7, 3, 1};
  SVRGP(6, w.data(), -3, w.data());
  EXPECT_EQ(std::vector<float>(w.begin(), w.begin() + 3), (std::vector<float>{1, 1, 3}));
  EXPECT_EQ(bitMultiset(w), bitMultiset({5, 9, 1, 7, 3, 1}));
}

TEST(PartialSort, LargestAtTheEndInPlace) {
  std::vector<float> v = {5, 1, 4, 2, 3};
  SVRGP(5, v.data(), 2, v.data() + 3);
  EXPECT_EQ(v[3], 4.0f);
  EXPECT_EQ(v[4], 5.0f);
  std::vector<float> w = {2, 8, 8, -1, 0};
  SVRGP(5, w.data(), 5, w.data());
  EXPECT_EQ(w, (std::vector<float>{-1, 0, 2, 8, 8}));
}

TEST(PartialSort, IntoASeparateArray) {
  std::vector<float> a = {4, -2, 6, 0, 6};
  std::vector<float> lo(2);
  SVRGP(5, a.data(), -2, lo.data());
  EXPECT_EQ(lo, (std::vector<float>{-2, 0}));
  std::vector<float> b = {4, -2, 6, 0, 6};
  std::vector<float> hi(3);
  SVRGP(5, b.data(), 3, hi.data());
  EXPECT_EQ(hi, (std::vector<float>{4, 6, 6}));
  std::vector<float> c = {1, 2};
  std::vector<float> none = {9};
  SVRGP(2, c.data(), 0, none.data());
  EXPECT_EQ(none[0], 9.0f);
  EXPECT_EQ(c, (std::vector<float>{1, 2}));
}

TEST(PartialSort, TailsAgreeWithAFullSort) {
  std::mt19937 rng(99);
  for (int n : {1, 2, 10, 257}) {
    for (int m = 1; m <= n; m += (n > 20 ? 37 : 1)) {
      std::vector<float> v = randomVector(rng, n, 1);
      std::vector<float> ref = v;
      std::sort(ref.begin(), ref.end());
      std::vector<float> lo = v, hi = v;
      SVRGP(n, lo.data(), -m, lo.data());
      SVRGP(n, hi.data(), m, hi.data() + (n - m));
      for (int i = 0; i < m; ++i) {
        ASSERT_EQ(lo[i], ref[i]);
        ASSERT_EQ(hi[n - m + i], ref[n - m + i]);
      }
    }
  }
}

}  // namespace
}  // namespace eco
