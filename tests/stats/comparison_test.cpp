#include "stats/comparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace eco {
namespace {

TEST(ChanceProbability, EqualValuesCountTowardsLow) {
  const std::vector<float> d(2000, 3.5f);
  const Chances c = chanceProbability(3.5f, d);
  EXPECT_EQ(c.phigh, 0.0f);
  EXPECT_EQ(c.plow, 1.0f);
}

TEST(ChanceProbability, AboveAndBelowEveryPseudoSample) {
  std::vector<float> d(2000);
  for (int k = 0; k < 2000; ++k) d[static_cast<std::size_t>(k)] = static_cast<float>(k);
  EXPECT_EQ(chanceProbability(5000.0f, d).phigh, 0.0f);
  EXPECT_EQ(chanceProbability(5000.0f, d).plow, 1.0f);
  EXPECT_EQ(chanceProbability(-1.0f, d).phigh, 1.0f);
  EXPECT_EQ(chanceProbability(-1.0f, d).plow, 0.0f);
  // 1499 values lie strictly above 500.
  EXPECT_EQ(chanceProbability(500.0f, d).phigh, 1499.0f / 2000.0f);
}

TEST(ChanceProbability, NaNIsNeverHigher) {
  std::vector<float> d(2000, NAN);
  d[0] = 2.0f;
  EXPECT_EQ(chanceProbability(1.0f, d).phigh, 1.0f / 2000.0f);
}

TEST(NewSpecies, AbsentInReferencePresentInAssessment) {
  const std::vector<float> ref = {0, 1, 0, 0, 2};
  const std::vector<float> ass = {1, 1, 0, 3, 0};
  EXPECT_EQ(newSpecies(ref, ass), (std::vector<int32_t>{0, 3}));
}

struct FactorCase {
  float q2, q5, q6, q7, q10;
  double F1, F2, R;
  Grade grade;
};

class PowerFactorsTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(PowerFactorsTest, WorkedExamples) {
  const FactorCase c = GetParam();
  float q[11] = {};
  q[1] = c.q2;
  q[4] = c.q5;
  q[5] = c.q6;
  q[6] = c.q7;
  q[9] = c.q10;
  const PowerFactors f = powerFactors(q);
  EXPECT_NEAR(f.F1, c.F1, 5e-4);
  EXPECT_NEAR(static_cast<double>(f.F2), c.F2, 5e-4);
  EXPECT_NEAR(static_cast<double>(f.R), c.R, 5e-4);
  EXPECT_EQ(gradeFor(f.R), c.grade);
}

INSTANTIATE_TEST_SUITE_P(
    Grades, PowerFactorsTest,
    ::testing::Values(FactorCase{0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 2.072, 1.701, 1.887, Grade::good},
                      FactorCase{10, 40, 50, 60, 100, 6.676, 2.391, 4.534, Grade::moderate},
                      FactorCase{4, 4, 4, 4, 4, 1, 1, 1, Grade::good}));

TEST(PowerGrade, BoundariesAreStrict) {
  EXPECT_EQ(gradeFor(Extended(1.9999)), Grade::good);
  EXPECT_EQ(gradeFor(Extended(2.0)), Grade::moderate);
  EXPECT_EQ(gradeFor(Extended(5.0)), Grade::low);
  EXPECT_EQ(gradeFor(Extended(10.0)), Grade::veryPoor);
  EXPECT_EQ(gradeFor(NAN), Grade::veryPoor);
}

TEST(PowerGrade, Distributions) {
  EXPECT_EQ(powerGrade(std::vector<float>(2000, 0.75f)), Grade::good);
  // A median of 0: more than half of the pseudo-samples without species.
  std::vector<float> d(2000, 0.0f);
  for (std::size_t k = 0; k < 900; ++k) d[k] = 3.0f;
  EXPECT_EQ(powerGrade(d), Grade::veryPoor);
}

}  // namespace
}  // namespace eco
