#include "stats/assessment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace eco {
namespace {

TEST(MonteCarloError, EdgesAndMiddle) {
  EXPECT_EQ(monteCarloError(0.0f, kPseudoSamples), 0.0f);
  EXPECT_EQ(monteCarloError(1.0f, kPseudoSamples), 0.0f);
  EXPECT_FLOAT_EQ(monteCarloError(0.5f, 2000), static_cast<float>(std::sqrt(0.25 / 2000)));
  // The probability as stored (a float) enters the error, not its decimal.
  const double p = 0.0005f;
  EXPECT_EQ(monteCarloError(0.0005f, 2000), static_cast<float>(std::sqrt(p * (1 - p) / 2000)));
}

}  // namespace
}  // namespace eco
