#include "stats/profile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "survey_builder.h"

namespace eco {
namespace {

using test::makeSurvey;

TEST(Profile, ReferenceAndAssessmentProfiles) {
  const SurveyTables t = makeSurvey(3,
                                    {{kReference, 1, {16, 0, -2}, {1, 0, 0}},
                                     {kReference, 3, {0, 0, 0}, {0, 0, 0}},
                                     {kReference, 4, {0, 0, 0}, {0, 0, 0}},
                                     {kAssessment, 2, {0, 8, 0}, {0, 2, 0}}},
                                    true);
  EcotopeProfile p;
  buildEcotopeProfile(t, 0, p);
  // Reference sum of species 1: 16 x 1 over a surface of 8 -> 2.
  EXPECT_EQ(p.refprof[0], std::sqrt(std::sqrt(2.0f)));
  EXPECT_EQ(p.refprof[1], 0.0f);
  EXPECT_EQ(p.refprof[2], 0.0f);  // a negative sum is not present
  EXPECT_EQ(p.nspref, 1.0f);
  EXPECT_EQ(p.totdensref, 2.0f - 0.25f);
  EXPECT_EQ(p.assprof[1], std::sqrt(std::sqrt(8.0f)));
  EXPECT_EQ(p.nspass, 1.0f);
  EXPECT_EQ(p.totdensass, 8.0f);
  EXPECT_EQ(p.totbiomref, 0.125f);
  EXPECT_EQ(p.totbiomass, 2.0f);
  // 2 - 0.5 x 8/3
  EXPECT_EQ(p.asstarget, static_cast<float>(2.0L - 0.5L * (8.0f / 3.0f)));
}

TEST(Eligibility, ReportNeedsThreeReferenceStationsAndEnoughSurface) {
  using S = test::StationSpec;
  auto survey = [](int nref, float assSurface) {
    std::vector<S> st;
    for (int j = 0; j < nref; ++j) st.push_back({kReference, 2, {1}, {}});
    if (assSurface >= 0) st.push_back({kAssessment, assSurface, {1}, {}});
    return makeSurvey(1, st);
  };
  EXPECT_TRUE(eligibleForReport(survey(3, 1.5f).stations, 0));
  EXPECT_FALSE(eligibleForReport(survey(2, 1.5f).stations, 0));
  EXPECT_FALSE(eligibleForReport(survey(3, 1.0f).stations, 0));  // exactly half: target 0
  EXPECT_FALSE(eligibleForReport(survey(3, -1).stations, 0));    // no assessment station
  EXPECT_TRUE(eligibleForSummary(survey(1, -1).stations, 0));
  EXPECT_FALSE(eligibleForSummary(survey(0, 1).stations, 0));
}

TEST(SurfaceWarning, DeviationAboveMean) {
  using S = test::StationSpec;
  const SurveyTables unequal = makeSurvey(
      1, {S{kReference, 1, {}, {}}, S{kReference, 1, {}, {}}, S{kReference, 10, {}, {}}});
  const SurveyTables even =
      makeSurvey(1, {S{kReference, 1, {}, {}}, S{kReference, 2, {}, {}}, S{kReference, 3, {}, {}}});
  EXPECT_NEAR(unequal.stations.ecotope[0].group[kReference].sdsurf, 5.196f, 1e-3f);
  EXPECT_TRUE(surfaceWarning(unequal.stations, 0));
  EXPECT_FALSE(surfaceWarning(even.stations, 0));
}

}  // namespace
}  // namespace eco
