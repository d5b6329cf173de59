#include "stats/similarity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace eco {
namespace {

TEST(BrayCurtis, WorkedExampleWithContributions) {
  const std::vector<float> x = {1, 0, 2}, y = {1, 1, 0};
  std::vector<float> c(3);
  EXPECT_EQ(brayCurtis(x, y, c), 0.4f);
  EXPECT_EQ(c, (std::vector<float>{0.0f, 0.2f, 0.4f}));
}

TEST(BrayCurtis, IdenticalProfilesAreFullySimilar) {
  const std::vector<float> x = {0.3f, 1.7f, 0.0f, 2.25f};
  std::vector<float> c(4, -1.0f);
  EXPECT_EQ(brayCurtis(x, x, c), 1.0f);
  EXPECT_EQ(c, (std::vector<float>(4, 0.0f)));
}

TEST(BrayCurtis, TwoEmptyProfilesGiveNaN) {
  const std::vector<float> z = {0, 0};
  std::vector<float> c(2);
  EXPECT_TRUE(std::isnan(brayCurtis(z, z, c)));
  EXPECT_TRUE(std::isnan(c[0]) && std::isnan(c[1]));
}

TEST(BrayCurtis, SumsAreCarriedInExtendedPrecision) {
  // 2^24 + 1 + 1 ... in float the small terms would vanish one by one.
  std::vector<float> x(101, 1.0f), y(101, 0.0f);
  x[0] = 16777216.0f;
  y[0] = 16777216.0f;
  std::vector<float> none;
  const long double m = 16777216.0L, a = 16777216.0L + 100, b = 16777216.0L;
  EXPECT_EQ(brayCurtis(x, y, none), static_cast<float>(2 * m / (a + b)));
}

TEST(SelectContributors, TiesGoToTheLowerIndex) {
  const std::vector<float> v = {0.5f, -0.2f, 0.5f, -0.2f};
  const int K = 4;
  // Species 1's pseudo-samples: one higher than 0.5, one equal (counts as not higher).
  const std::vector<float> m = {0.6f, 0.5f, 0.1f, 0.0f, 0.0f,  0.0f,  0.0f,  0.0f,
                                0.0f, 0.0f, 0.0f, 0.0f, -0.1f, -0.3f, -0.2f, -0.1f};
  ContributorList list;
  selectContributors(v, m, K, 2, list);
  ASSERT_EQ(list.positive.size(), 2u);
  ASSERT_EQ(list.negative.size(), 2u);
  EXPECT_EQ(list.positive[0].species, 0);
  EXPECT_EQ(list.positive[1].species, 2);
  EXPECT_EQ(list.negative[0].species, 1);
  EXPECT_EQ(list.negative[1].species, 3);
  EXPECT_EQ(list.positive[0].value, 0.5f);
  EXPECT_EQ(list.positive[0].phigh, 0.25f);
  EXPECT_EQ(list.positive[0].plow, 0.75f);
  EXPECT_EQ(list.negative[1].value, -0.2f);
  EXPECT_EQ(list.negative[1].phigh, 0.5f);  // -0.1 twice lie strictly above -0.2
  EXPECT_EQ(list.negative[1].plow, 0.5f);
}

TEST(SelectContributors, FewerQualifyingSpeciesThanRows) {
  const std::vector<float> v = {0.0f, 0.3f, 0.0f, 0.1f, 0.2f};
  const std::vector<float> m(5 * 10, 0.0f);
  ContributorList list;
  selectContributors(v, m, 10, 10, list);
  ASSERT_EQ(list.positive.size(), 3u);
  EXPECT_EQ(list.positive[0].species, 1);
  EXPECT_EQ(list.positive[1].species, 4);
  EXPECT_EQ(list.positive[2].species, 3);
  EXPECT_TRUE(list.negative.empty());
  EXPECT_EQ(list.positive[2].phigh, 0.0f);
  EXPECT_EQ(list.positive[2].plow, 1.0f);
}

TEST(SelectContributors, ZeroAndNaNNeverQualifyAndListLengthZeroIsEmpty) {
  const std::vector<float> v = {0.0f, NAN, -0.0f, 1.0f};
  const std::vector<float> m(4, 0.0f);
  ContributorList list;
  selectContributors(v, m, 1, 5, list);
  ASSERT_EQ(list.positive.size(), 1u);
  EXPECT_EQ(list.positive[0].species, 3);
  EXPECT_TRUE(list.negative.empty());
  selectContributors(v, m, 1, 0, list);
  EXPECT_TRUE(list.positive.empty());
  EXPECT_TRUE(list.negative.empty());
}

TEST(SelectContributors, HugeListLengthIsBoundedBySpecies) {
  const std::vector<float> v = {0.2f, -0.4f};
  const std::vector<float> m(2, 0.0f);
  ContributorList list;
  selectContributors(v, m, 1, 2147483647, list);
  EXPECT_EQ(list.positive.size(), 1u);
  EXPECT_EQ(list.negative.size(), 1u);
  EXPECT_EQ(list.listLength, 2147483647);
}

}  // namespace
}  // namespace eco
