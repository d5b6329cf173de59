#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <set>
#include <vector>

#include "literal_stats.h"
#include "numeric/evaluation.h"
#include "resample/draws.h"
#include "stats/class_tables.h"
#include "stats/profile.h"
#include "stats/similarity.h"
#include "survey_builder.h"

namespace eco {
namespace {

using test::makeSurvey;
using test::StationSpec;

bool sameFloatBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The pseudo-sample drawn the literal way: the whole buffer of random
// numbers is generated first and used from its first element on, every
// species added in extended precision.
PseudoSample plainDraw(const DrawSetup& d, float target, UniformGenerator& g) {
  PseudoSample ps;
  literal::drawPseudoSample(d, target, g, ps);
  return ps;
}

void expectSame(const PseudoSample& a, const PseudoSample& b) {
  EXPECT_TRUE(sameFloatBits(a.S, b.S));
  EXPECT_TRUE(sameFloatBits(a.D, b.D));
  EXPECT_TRUE(sameFloatBits(a.B, b.B));
  EXPECT_TRUE(sameFloatBits(a.N, b.N));
  EXPECT_TRUE(sameFloatBits(a.similarity, b.similarity));
  EXPECT_EQ(a.fellShort, b.fellShort);
  ASSERT_EQ(a.p.size(), b.p.size());
  for (std::size_t s = 0; s < a.p.size(); ++s) EXPECT_TRUE(sameFloatBits(a.p[s], b.p[s]));
  ASSERT_EQ(a.pb.size(), b.pb.size());
  for (std::size_t s = 0; s < a.pb.size(); ++s) EXPECT_TRUE(sameFloatBits(a.pb[s], b.pb[s]));
  ASSERT_EQ(a.contrib.size(), b.contrib.size());
  for (std::size_t s = 0; s < a.contrib.size(); ++s) {
    EXPECT_TRUE(sameFloatBits(a.contrib[s], b.contrib[s]));
  }
}

SurveyTables unequalSurvey() {
  return makeSurvey(4,
                    {{kReference, 0.0213171f, {1, 0, 3.5f, 0}, {2, 0, 1, 0}},
                     {kReference, 0.0017193f, {0, 2, 0, 0}, {0, 4, 0, 0}},
                     {kReference, 0.0011658f, {5, 1, 0, 0.25f}, {1, 1, 0, 9}},
                     {kReference, 0.002305f, {0, 0, 0, 0}, {0, 0, 0, 0}},
                     {kAssessment, 0.0031865f, {1, 1, 1, 1}, {1, 1, 1, 1}}},
                    true);
}

TEST(DrawPseudoSample, SameAsDrawingFromAFullBufferOfRandomNumbers) {
  const SurveyTables t = unequalSurvey();
  EcotopeProfile profile;
  buildEcotopeProfile(t, 0, profile);
  // maxstat 3 leaves 6 draws: the large targets run out of random numbers.
  for (int32_t maxstat : {3, 30, 1250}) {
    const DrawSetup d = makeDrawSetup(t, 0, profile.refprof, true, true, maxstat);
    UniformGenerator fast, plain;
    int shortCount = 0;
    for (float target : {0.0f, 0.001f, 0.003f, 0.02f, 0.05f, 0.1f}) {
      for (int it = 0; it < 200; ++it) {
        PseudoSample ps;
        drawPseudoSample(d, target, fast, ps);
        expectSame(ps, plainDraw(d, target, plain));
        ASSERT_EQ(fast.s1, plain.s1);
        ASSERT_EQ(fast.s2, plain.s2);
        shortCount += ps.fellShort;
      }
    }
    if (maxstat == 3) {
      EXPECT_GT(shortCount, 0);
    }
    if (maxstat == 1250) {
      EXPECT_EQ(shortCount, 0);
    }
  }
}

TEST(DrawPseudoSample, NoStationIsDrawnForATargetOfZero) {
  const SurveyTables t = unequalSurvey();
  EcotopeProfile profile;
  buildReferenceProfile(t, 0, profile);
  const DrawSetup d = makeDrawSetup(t, 0, profile.refprof, false, false, 5);
  UniformGenerator g, ref;
  PseudoSample ps;
  drawPseudoSample(d, 0.0f, g, ps);
  EXPECT_EQ(ps.S, 0.0f);
  for (int i = 0; i < 10; ++i) nextUniform(ref);  // the stream still moves by 2 x maxstat
  EXPECT_EQ(g.s1, ref.s1);
  EXPECT_EQ(g.s2, ref.s2);
}

TEST(DrawPseudoSample, LargestRandomValueGivesTheLastStation) {
  // 7 x 0.99999994 stays below 7: station 7, never an eighth.
  const float r = 0.99999994f;
  EXPECT_EQ(static_cast<int>(static_cast<long double>(7) * r) + 1, 7);
}

TEST(SurfaceClass, RoundsInExtendedPrecision) {
  const float a = 0.1f;
  const float S = a + a + a;  // as the draws sum it
  EXPECT_EQ(surfaceClass(S, a, 10), 3);
  EXPECT_EQ(surfaceClass(0.0f, 2.0f, 3), 1);     // class 0 becomes 1
  EXPECT_EQ(surfaceClass(5.0f, 2.0f, 3), 3);     // trunc(2.5 + 0.5)
  EXPECT_EQ(surfaceClass(1e30f, 1e-30f, 3), 0);  // far above the table: not kept
}

// The class against the literal evaluation's trunc in extended precision:
// quotients on and just beside every boundary between classes, below 1,
// at the top of the table and far above it, random ones.
TEST(SurfaceClass, SameAsTheExtendedTrunc) {
  std::vector<std::pair<float, float>> cases;
  for (float meansurf : {0.1f, 0.2f, 0.015f, 1.0f, 3.0f, 1e-30f}) {
    for (int k = 0; k < 300; ++k) {
      // S near (k + 0.5) x meansurf, where y crosses k + 1.
      const float S = static_cast<float>((k + 0.5) * static_cast<double>(meansurf));
      for (float s = S, i = 0; i < 4; s = std::nextafter(s, 0.0f), ++i)
        cases.push_back({s, meansurf});
      for (float s = S, i = 0; i < 4; s = std::nextafter(s, 1e38f), ++i)
        cases.push_back({s, meansurf});
    }
    cases.push_back({0.0f, meansurf});
    cases.push_back({1e30f, meansurf});
    cases.push_back({std::numeric_limits<float>::infinity(), meansurf});
    cases.push_back({std::numeric_limits<float>::quiet_NaN(), meansurf});
  }
  uint64_t x = 88172645463325252ull;
  for (int i = 0; i < 200000; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    const float S = static_cast<float>(x % 1000000) * 0.001f;
    const float meansurf = static_cast<float>((x >> 20) % 1000 + 1) * 0.01f;
    cases.push_back({S, meansurf});
  }
  // Far up the table, where a double quotient is no longer enough, and
  // quotients of every sign, zero, infinity and subnormal kind.
  for (int i = 0; i < 20000; ++i) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    const float meansurf = std::ldexp(static_cast<float>(x % 16777216 + 1), -20 - (x >> 60));
    const double k = static_cast<double>((x >> 24) % 2147483647);
    const float S = static_cast<float>((k + 0.5) * meansurf);
    for (float s : {std::nextafter(S, 0.0f), S, std::nextafter(S, 1e38f)}) {
      cases.push_back({s, meansurf});
    }
  }
  const float odd[] = {0.0f,        -0.0f,     -1.0f, 1.0f,        0x1p-149f,
                       0x1.8p-148f, 0x1p-148f, 3e38f, 1.0f / 0.0f, -1.0f / 0.0f};
  for (float a : odd) {
    for (float b : odd) cases.push_back({a, b});
  }
  for (const auto& [S, meansurf] : cases) {
    for (int32_t maxClass : {1, 3, 10, 300, 1250, 1 << 28, 2147483646, 2147483647}) {
      ASSERT_EQ(surfaceClass(S, meansurf, maxClass), literal::surfaceClass(S, meansurf, maxClass))
          << S << " / " << meansurf << " of " << maxClass;
    }
  }
}

// Reference surfaces 0.1, 0.2 and 0.3 have the mean 0.2f. A pseudo-sample
// of 0.1 + 0.2 + 0.2 (the middle station drawn twice) has S / meansurf just
// below 2.5 in extended precision, class 2; in float the quotient rounds to
// 2.5 and the class would be 3.
TEST(SurfaceClass, DecimalSurfacesNeedTheExtendedQuotient) {
  const SurveyTables t = makeSurvey(
      1, {{kReference, 0.1f, {1}, {}}, {kReference, 0.2f, {1}, {}}, {kReference, 0.3f, {1}, {}}});
  const float meansurf = t.stations.ecotope[0].group[kReference].meansurf;
  ASSERT_EQ(meansurf, 0.2f);
  float S = 0.0f;
  for (float surface : {0.1f, 0.2f, 0.2f}) S = S + surface;
  EXPECT_EQ(surfaceClass(S, meansurf, 10), 2);
  EXPECT_EQ(static_cast<int>(std::trunc(S / meansurf + 0.5f)), 3);  // what float would give
}

// The class tables of the summary pass for the survey's only ecotope.
ClassTables summaryClasses(
    const SurveyTables& t, float meansurf, int32_t maxstat,
    const std::function<void(int32_t)>& progress = [](int32_t) {}, int64_t* fellShort = nullptr) {
  EcotopeProfile profile;
  buildReferenceProfile(t, 0, profile);
  const DrawSetup d = makeDrawSetup(t, 0, profile.refprof, false, false, maxstat);
  UniformGenerator g;
  ClassTables c;
  const int64_t n = fillClassTables(d, meansurf, false, g, c, progress);
  if (fellShort != nullptr) *fellShort = n;
  return c;
}

TEST(ClassTables, EqualSurfacesFillEveryClassWithItsTarget) {
  std::vector<StationSpec> st;
  for (int j = 0; j < 5; ++j) st.push_back({kReference, 0.25f, {float(j), 1, 0}, {}});
  const SurveyTables t = makeSurvey(3, st);
  std::vector<int32_t> progress;
  int64_t fellShort = -1;
  const ClassTables c = summaryClasses(
      t, t.stations.ecotope[0].group[kReference].meansurf, 1250,
      [&](int32_t k) { progress.push_back(k); }, &fellShort);
  EXPECT_EQ(fellShort, 0);
  EXPECT_EQ(progress, (std::vector<int32_t>{1, 2, 3, 4, 5}));
  ASSERT_EQ(c.simclass.size(), 5u);
  for (const auto& row : c.simclass) EXPECT_EQ(row.size(), 2000u);
  EXPECT_TRUE(c.biomclass.empty());
}

TEST(ClassTables, SurfacesOneOneFour) {
  const SurveyTables t =
      makeSurvey(1, {{kReference, 1, {1}, {}}, {kReference, 1, {2}, {}}, {kReference, 4, {3}, {}}});
  const ClassTables c = summaryClasses(t, 2.0f, 1250);
  // Target 1 ends in class 1 (S = 1) or 2 (S = 4); target 2 in class 2 or 3;
  // target 3 (5.0) in class 3 or above, whose values are not kept.
  const std::size_t total = c.simclass[0].size() + c.simclass[1].size() + c.simclass[2].size();
  EXPECT_LT(total, 6000u);
  EXPECT_GT(c.simclass[0].size(), 1000u);  // two stations of three
  EXPECT_LT(c.simclass[0].size(), 2000u);
  EXPECT_GT(c.simclass[1].size(), c.simclass[0].size());
}

TEST(ClassTables, OneReferenceStationIsAlwaysFullySimilar) {
  const SurveyTables t = makeSurvey(2, {{kReference, 0.5f, {1, 3}, {}}});
  const ClassTables c = summaryClasses(t, 0.5f, 10);
  ASSERT_EQ(c.simclass[0].size(), 2000u);
  EXPECT_EQ(std::set<float>(c.simclass[0].begin(), c.simclass[0].end()), std::set<float>{1.0f});
  EXPECT_EQ(std::set<float>(c.nspclass[0].begin(), c.nspclass[0].end()), std::set<float>{2.0f});
}

TEST(ClassTables, ClassValuesArePaddedToFourThousandOrKeptWhole) {
  const std::vector<float> few(3, 1.0f), many(4500, 2.0f);
  const std::vector<float> a = classValues(few), b = classValues(many);
  ASSERT_EQ(a.size(), 4000u);
  EXPECT_EQ(a[2], 1.0f);
  EXPECT_TRUE(std::isnan(a[3]) && std::isnan(a[3999]));
  EXPECT_EQ(b.size(), 4500u);
}

TEST(ClassTables, AClassKeepsMoreThanFourThousandValues) {
  // Surfaces 1, 1 and 10 (mean 4): every target ends in class 3 whenever the
  // large station is drawn, so class 3 overflows its 4000 slots.
  const SurveyTables t = makeSurvey(
      1, {{kReference, 1, {1}, {}}, {kReference, 1, {2}, {}}, {kReference, 10, {3}, {}}});
  const ClassTables c = summaryClasses(t, 4.0f, 1250);
  EXPECT_GT(c.simclass[2].size(), 4000u);
  EXPECT_EQ(classValues(c.simclass[2]).size(), c.simclass[2].size());
  EXPECT_LE(c.simclass[0].size() + c.simclass[1].size() + c.simclass[2].size(), 6000u);
}

}  // namespace
}  // namespace eco
