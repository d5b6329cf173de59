#include "numeric/quantile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "numeric/error_capture.h"
#include "numeric/errors.h"
#include "numeric/machine.h"

namespace eco {
namespace {

using Quantiles = ErrorCapture;

const float kNaN = std::bit_cast<float>(0x7FC00000u);

struct Result {
  std::vector<float> q, xlo, xhi;
  int32_t nmv = -1;
};

Result eqtil(const std::vector<float>& x, const std::vector<float>& p) {
  Result r;
  r.q.assign(p.size(), -99.0f);
  r.xlo = r.xhi = r.q;
  EQTIL(static_cast<int32_t>(x.size()), x.data(), static_cast<int32_t>(p.size()), p.data(),
        r.q.data(), r.xlo.data(), r.xhi.data(), r.nmv);
  return r;
}

std::vector<float> oneToTen(bool ascending) {
  std::vector<float> x(10);
  for (int i = 0; i < 10; ++i) x[i] = static_cast<float>(ascending ? i + 1 : 10 - i);
  return x;
}

const std::vector<float> kExampleProps = {0.25f, 0.5f, 0.01f, 0.99f};

void expectExampleResult(const Result& r) {
  EXPECT_EQ(r.q, (std::vector<float>{2.75f, 5.5f, 1.0f, 10.0f}));
  EXPECT_EQ(r.xlo, (std::vector<float>{2, 5, 1, 10}));
  EXPECT_EQ(r.xhi, (std::vector<float>{3, 6, 1, 10}));
  EXPECT_EQ(r.nmv, 0);
}

bool allQuietNaN(const std::vector<float>& v) {
  return std::all_of(v.begin(), v.end(),
                     [](float x) { return std::bit_cast<uint32_t>(x) == 0x7FC00000u; });
}

TEST_F(Quantiles, OneToTenAscending) {
  expectExampleResult(eqtil(oneToTen(true), kExampleProps));
  EXPECT_EQ(printed(), "");
}

TEST_F(Quantiles, OneToTenDescendingLeavesXUnchanged) {
  const std::vector<float> x = oneToTen(false);
  const std::vector<float> before = x;
  expectExampleResult(eqtil(x, kExampleProps));
  EXPECT_EQ(x, before);
  EXPECT_EQ(printed(), "");
}

TEST_F(Quantiles, StandardProportionsOnOneToTen) {
  const std::vector<float> p(kProportions.begin(), kProportions.end());
  const Result r = eqtil(oneToTen(false), p);
  // Position 11p: below 1 clamps to x(1), at or above 10 to x(10).
  EXPECT_EQ(r.q, (std::vector<float>{1, 1, 1, 1.1f, 2.75f, 5.5f, 8.25f, 9.9f, 10, 10, 10}));
  EXPECT_EQ(r.xlo, (std::vector<float>{1, 1, 1, 1, 2, 5, 8, 9, 10, 10, 10}));
  EXPECT_EQ(r.xhi, (std::vector<float>{1, 1, 1, 2, 3, 6, 9, 10, 10, 10, 10}));
}

TEST_F(Quantiles, OnePresentValueAmongMissingOnes) {
  std::vector<float> x(4000, kNaN);
  x[0] = 3.5f;
  const std::vector<float> p(kProportions.begin(), kProportions.end());
  const Result r = eqtil(x, p);
  EXPECT_EQ(r.nmv, 3999);
  for (std::size_t j = 0; j < p.size(); ++j) {
    EXPECT_EQ(r.q[j], 3.5f);
    EXPECT_EQ(r.xlo[j], 3.5f);
    EXPECT_EQ(r.xhi[j], 3.5f);
  }
  EXPECT_EQ(printed(), "");
}

TEST_F(Quantiles, MissingValueFirstTakesTheWorkspacePath) {
  const std::vector<float> p = {0.25f, 0.5f, 0.99f};
  const Result withGap = eqtil({kNaN, 1.0f, 2.0f}, p);
  EXPECT_EQ(withGap.nmv, 1);
  EXPECT_EQ(withGap.q, (std::vector<float>{1.0f, 1.5f, 2.0f}));
  EXPECT_EQ(withGap.xlo, (std::vector<float>{1.0f, 1.0f, 2.0f}));
  EXPECT_EQ(withGap.xhi, (std::vector<float>{1.0f, 2.0f, 2.0f}));
  const Result plain = eqtil({1.0f, 2.0f}, p);
  EXPECT_EQ(plain.q, withGap.q);
  EXPECT_EQ(plain.nmv, 0);
}

TEST_F(Quantiles, CloseNeighboursAreNotInterpolated) {
  const float a = 1.0e-10f;
  const float b = std::nextafter(a, 1.0f);
  const Result r = eqtil({0.0f, a, b, 1.0f}, {0.5f});  // position 2.5
  EXPECT_EQ(r.q[0], a);
  EXPECT_EQ(r.xlo[0], a);
  EXPECT_EQ(r.xhi[0], b);
  const Result equal = eqtil({4.0f, 2.0f, 2.0f, 9.0f}, {0.25f});  // position 1.25
  EXPECT_EQ(equal.q[0], 2.0f);
}

// p = 0.5 + 2^-24 with n = 3 puts t at 2 + 2^-22, so e x k equals |f|: a
// fraction the workspace path drops and the in-place path keeps.
TEST_F(Quantiles, NegligibleFractionTestDiffersBetweenPaths) {
  const float p = 0.5f + 0x1p-24f;
  const Result inPlace = eqtil({0.0f, 1.0f, 0x1p30f}, {p});
  EXPECT_EQ(inPlace.q[0], 257.0f);
  EXPECT_EQ(inPlace.xlo[0], 1.0f);
  EXPECT_EQ(inPlace.xhi[0], 0x1p30f);
  const Result workspace = eqtil({0x1p30f, 1.0f, 0.0f}, {p});
  EXPECT_EQ(workspace.q[0], 1.0f);
  EXPECT_EQ(workspace.xlo[0], 1.0f);
  EXPECT_EQ(workspace.xhi[0], 1.0f);
}

TEST_F(Quantiles, InterpolationIsRoundedOnce) {
  // Position 4 x 0.3 = 1.2: 0.8 x 1 + 0.2 x 16777216 in double, one rounding.
  const Result r = eqtil({1.0f, 16777216.0f, 16777218.0f}, {0.3f});
  const float f = 4.0f * 0.3f - 1.0f;
  const double exact = (1.0 - f) * 1.0 + static_cast<double>(f) * 16777216.0;
  EXPECT_EQ(r.q[0], static_cast<float>(exact));
}

TEST_F(Quantiles, ProportionJustBelowOneNeverReadsPastTheEnd) {
  // n + 1 = 1000: t rounds to 1000 - 2^-14, and t + t x e truncates to n + 1.
  std::vector<float> x(999);
  for (int i = 0; i < 999; ++i) x[i] = static_cast<float>(i + 1);
  const float p = std::nextafter(1.0f, 0.0f);
  const Result sorted = eqtil(x, {p});
  EXPECT_EQ(sorted.q[0], 999.0f);
  std::reverse(x.begin(), x.end());
  const Result reversed = eqtil(x, {p});
  EXPECT_EQ(reversed.q[0], 999.0f);
  EXPECT_EQ(reversed.xhi[0], 999.0f);
}

TEST_F(Quantiles, AllMissingWarning) {
  const std::vector<float> p(kProportions.begin(), kProportions.end());
  const Result r = eqtil(std::vector<float>(5, kNaN), p);
  EXPECT_EQ(r.nmv, 5);
  EXPECT_TRUE(allQuietNaN(r.q));
  EXPECT_TRUE(allQuietNaN(r.xlo));
  EXPECT_TRUE(allQuietNaN(r.xhi));
  EXPECT_EQ(printed(),
            "\n *** WARNING  ERROR 1 from EQTIL.  All of the observations are missing\n"
            " ***          values.  The elements of Q, XLO and XHI have been set to NaN \n"
            " ***          (not a number).\n");
  // The warning stays with the program's level and shows in a later traceback.
  E1PSH("A");
  E1PSH("B");
  E1MES(5, 1, "x");
  const std::string out = printed();
  EXPECT_NE(out.find("\n     USER                                 3           1\n"),
            std::string::npos);
}

TEST_F(Quantiles, NoObservations) {
  Result r;
  r.q.assign(1, -99.0f);
  float lo = -99.0f, hi = -99.0f;
  const float p = 0.5f;
  EXPECT_THROW(EQTIL(0, nullptr, 1, &p, r.q.data(), &lo, &hi, r.nmv), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 4 from EQTIL.  NOBS = 0.  There must be at least one\n"
            " ***          observation.\n");
  EXPECT_EQ(r.q[0], -99.0f);
}

TEST_F(Quantiles, ZeroProportionStopsInsideE2til) {
  EXPECT_THROW(eqtil(oneToTen(false), {0.0f, 0.5f}), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 3 from E2TIL.  QPROP(1) = 0.000000E+00.  The quantile\n"
            " ***          proportion must be greater than 0.0 and less than  1.0.\n"
            "     Here is a traceback of subprogram calls in reverse order:\n"
            "     Routine name                    Error type  Error code\n"
            "     ------------                    ----------  ----------\n"
            "     E2TIL                                5           3    (Called internally)\n"
            "     EQTIL                                0           0\n"
            "     USER                                 0           0\n");
}

TEST_F(Quantiles, FirstOffendingProportionIsNamed) {
  EXPECT_THROW(eqtil(oneToTen(true), {0.5f, 1.0f, 0.0f}), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 3 from E2TIL.  QPROP(2) = 1.000000E+00.  The quantile\n"
            " ***          proportion must be greater than 0.0 and less than  1.0.\n"
            "     Here is a traceback of subprogram calls in reverse order:\n"
            "     Routine name                    Error type  Error code\n"
            "     ------------                    ----------  ----------\n"
            "     E2TIL                                5           3    (Called internally)\n"
            "     EQTIL                                0           0\n"
            "     USER                                 0           0\n");
}

TEST_F(Quantiles, NaNProportion) {
  std::vector<float> work(10);
  std::vector<float> q(3), lo(3), hi(3);
  const std::vector<float> x = oneToTen(true);
  const float p[] = {0.5f, 0.25f, kNaN};
  int32_t nmv = -1;
  EXPECT_THROW(E2TIL(10, x.data(), 3, p, q.data(), lo.data(), hi.data(), nmv, work.data()),
               RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 3 from E2TIL.  QPROP(3) = NaN.  The quantile proportion\n"
            " ***          must be greater than 0.0 and less than  1.0.\n");
  EXPECT_EQ(nmv, -1);
}

TEST_F(Quantiles, E2tilRaisesEachValidationError) {
  float x = 1.0f, q = 0, lo = 0, hi = 0, work = 0;
  int32_t nmv = 0;
  EXPECT_THROW(E2TIL(0, &x, 0, nullptr, &q, &lo, &hi, nmv, &work), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 4 from E2TIL.  NOBS = 0.  There must be at least one\n"
            " ***          observation.\n"
            "\n *** TERMINAL ERROR 2 from E2TIL.  NQPROP = 0.  There must be at least one\n"
            " ***          quantile to compute.\n");
}

TEST_F(Quantiles, E2tilWarnsWhenCalledDirectlyOnAllMissing) {
  const std::vector<float> x(3, kNaN);
  std::vector<float> work(3, 0.0f), q(1), lo(1), hi(1);
  const float p = 0.5f;
  int32_t nmv = 0;
  E2TIL(3, x.data(), 1, &p, q.data(), lo.data(), hi.data(), nmv, work.data());
  EXPECT_EQ(nmv, 3);
  EXPECT_TRUE(allQuietNaN(q));
  EXPECT_EQ(printed(),
            "\n *** WARNING  ERROR 1 from E2TIL.  All of the observations are missing\n"
            " ***          values.  The elements of Q, XLO and XHI have been set to NaN \n"
            " ***          (not a number).\n");
}

TEST_F(Quantiles, E2tilUsesTheWorkspaceOnlyForUnorderedData) {
  const float p = 0.5f;
  float q = 0, lo = 0, hi = 0;
  int32_t nmv = 0;
  const std::vector<float> ordered = {1, 2, 3, kNaN};
  std::vector<float> work(4, -5.0f);
  E2TIL(4, ordered.data(), 1, &p, &q, &lo, &hi, nmv, work.data());
  EXPECT_EQ(work, std::vector<float>(4, -5.0f));
  EXPECT_EQ(q, 2.0f);
  EXPECT_EQ(nmv, 1);
  const std::vector<float> unordered = {3, kNaN, 1, 2};
  E2TIL(4, unordered.data(), 1, &p, &q, &lo, &hi, nmv, work.data());
  EXPECT_EQ(q, 2.0f);
  EXPECT_EQ(nmv, 1);
  EXPECT_EQ(std::vector<float>(work.begin(), work.begin() + 3), (std::vector<float>{1, 2, 3}));
  EXPECT_TRUE(std::isnan(work[3]));
  EXPECT_EQ(printed(), "");
}

// The tail-only orderings give exactly the quantiles of the full sort: the
// same proportions are evaluated again together with 0.5, which forces the
// full sort on the same workspace path.
TEST_F(Quantiles, TailOrderingsMatchTheFullSort) {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int> value(-50, 50);
  const std::vector<std::vector<float>> tails = {
      {0.01f, 0.025f, 0.05f, 0.10f}, {0.2f}, {0.15f, 0.001f},
      {0.99f, 0.975f, 0.95f, 0.90f}, {0.8f}, {0.85f, 0.9999f}};
  for (int n : {1, 2, 3, 7, 10, 99, 2000, 4000}) {
    std::vector<float> x(n);
    for (float& v : x) v = static_cast<float>(value(rng)) * 0.37f;
    x[0] = 1e9f;  // never ordered
    for (int gaps = 0; gaps < 2; ++gaps) {
      if (gaps == 1 && n > 2) x[1] = kNaN;
      for (const std::vector<float>& p : tails) {
        std::vector<float> withMiddle = p;
        withMiddle.push_back(0.5f);
        const Result tail = eqtil(x, p);
        const Result full = eqtil(x, withMiddle);
        for (std::size_t j = 0; j < p.size(); ++j) {
          ASSERT_EQ(tail.q[j], full.q[j]) << n << " " << p[j];
          ASSERT_EQ(tail.xlo[j], full.xlo[j]) << n << " " << p[j];
          ASSERT_EQ(tail.xhi[j], full.xhi[j]) << n << " " << p[j];
        }
        ASSERT_EQ(tail.nmv, full.nmv);
      }
    }
  }
  EXPECT_EQ(printed(), "");
}

// Sorting a class beforehand (on any thread) must give the tables the very
// quantiles, bounds, missing counts and messages of the unordered values.
TEST_F(Quantiles, ValuesOrderedBeforehandGiveTheSameResults) {
  const std::vector<float> p(kProportions.begin(), kProportions.end());
  auto same = [](const Result& a, const Result& b) {
    auto bits = [](const std::vector<float>& v) {
      std::vector<uint32_t> out;
      for (float x : v) out.push_back(std::bit_cast<uint32_t>(x));
      return out;
    };
    return bits(a.q) == bits(b.q) && bits(a.xlo) == bits(b.xlo) && bits(a.xhi) == bits(b.xhi) &&
           a.nmv == b.nmv;
  };
  std::mt19937 rng(77);
  int sorted = 0;
  for (int n :
       {1, 2, 3, 5, 9, 10, 11, 39, 40, 41, 99, 100, 101, 199, 399, 1999, 3999, 4000, 4100}) {
    for (int kind = 0; kind < 4; ++kind) {
      std::vector<float> x(static_cast<std::size_t>(n));
      std::uniform_int_distribution<int> small(0, 6);
      std::uniform_real_distribution<float> wide(0.0f, 1e6f);
      for (float& v : x) {
        switch (kind) {
          case 0:  // many ties, zeros and infinities
            v = small(rng) == 6 ? INFINITY : static_cast<float>(small(rng)) * 0.25f;
            break;
          case 1:
            v = wide(rng);
            break;
          case 2:  // missing values in between
            v = small(rng) == 0 ? kNaN : wide(rng);
            break;
          default:  // every value missing
            v = kNaN;
        }
      }
      std::vector<float> padded = x;
      if (padded.size() < 4000) padded.resize(4000, kNaN);
      const Result want = eqtil(padded, p);
      const std::string message = printed();
      std::vector<float> ordered = x;
      const bool did = orderForQuantiles(ordered, static_cast<int32_t>(p.size()), p.data());
      if (!did) {
        EXPECT_EQ(ordered.size(), x.size());
        EXPECT_TRUE(std::equal(ordered.begin(), ordered.end(), x.begin(),
                               [](float a, float b) {
                                 return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
                               }))
            << "left as it was, n = " << n;
        continue;
      }
      ++sorted;
      EXPECT_TRUE(std::is_sorted(ordered.begin(), ordered.end(), [](float a, float b) {
        return !isMissing(a) && (isMissing(b) || a < b);
      }));
      if (ordered.size() < 4000) ordered.resize(4000, kNaN);
      EXPECT_TRUE(same(eqtil(ordered, p), want)) << "n = " << n << ", kind " << kind;
      EXPECT_EQ(printed(), message);
    }
  }
  EXPECT_GT(sorted, 40);
}

// Where a sort could change a result, the values are left alone: a
// negative zero among zeros, a fraction exactly on the threshold of the
// in-place rule, an invalid proportion, no present value.
TEST_F(Quantiles, ValuesThatASortCouldChangeAreLeftAlone) {
  const float p5 = 0.5f;
  const float onThreshold = 0.5f + 0x1p-24f;  // n = 3: e x k equals the fraction
  const float zero = 0.0f;
  const struct {
    std::vector<float> x;
    float p;
  } cases[] = {
      {{1.0f, -0.0f, 0.0f}, p5},
      {{0x1p30f, 1.0f, 0.0f}, onThreshold},
      {{2.0f, 1.0f}, zero},
      {{kNaN, kNaN}, p5},
  };
  for (const auto& c : cases) {
    std::vector<float> x = c.x;
    EXPECT_FALSE(orderForQuantiles(x, 1, &c.p)) << c.x.size();
    for (std::size_t i = 0; i < x.size(); ++i) {
      EXPECT_EQ(std::bit_cast<uint32_t>(x[i]), std::bit_cast<uint32_t>(c.x[i]));
    }
  }
  std::vector<float> fine = {0x1p30f, 1.0f, 0.0f};
  EXPECT_TRUE(orderForQuantiles(fine, 1, &p5));
  EXPECT_EQ(fine, (std::vector<float>{0.0f, 1.0f, 0x1p30f}));
  EXPECT_EQ(printed(), "");
}

TEST_F(Quantiles, RegistersAndPopsOnEveryPath) {
  eqtil(oneToTen(true), {0.5f});
  eqtil(oneToTen(false), {0.5f});
  eqtil({kNaN, kNaN}, {0.5f});
  printed();
  // Back at the program's level: a pop now finds the stack empty.
  EXPECT_THROW(E1POP("X"), RunStopped);
  EXPECT_NE(printed().find("Cannot pop from"), std::string::npos);
}

}  // namespace
}  // namespace eco
