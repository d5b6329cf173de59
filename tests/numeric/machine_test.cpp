#include "numeric/machine.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "numeric/error_capture.h"

namespace eco {
namespace {

using Machine = ErrorCapture;

float fromBits(uint32_t b) { return std::bit_cast<float>(b); }
uint32_t bitsOf(float x) { return std::bit_cast<uint32_t>(x); }
const float kMachineNaN = fromBits(0x7FC00000u);

TEST(Amach, EveryConstantHasItsBitPattern) {
  const uint32_t bits[] = {0x00800000u, 0x7F7FFFFFu, 0x33800000u, 0x34000000u,
                           0x3E9A209Bu, 0x7FC00000u, 0x7F800000u, 0xFF800000u};
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(bitsOf(AMACH(n)), bits[n - 1]) << n;
  EXPECT_EQ(AMACH(1), 0x1p-126f);
  EXPECT_EQ(AMACH(2), std::numeric_limits<float>::max());
  EXPECT_EQ(AMACH(3), 0x1p-24f);
  EXPECT_EQ(AMACH(4), 0x1p-23f);
  EXPECT_EQ(AMACH(5), 0.30103f);
  EXPECT_EQ(AMACH(7), std::numeric_limits<float>::infinity());
  EXPECT_EQ(AMACH(8), -std::numeric_limits<float>::infinity());
  const float nan = AMACH(6);
  EXPECT_FALSE(nan == nan);
  EXPECT_FALSE(nan < 0.0f || nan > 0.0f || nan <= 0.0f || nan >= 0.0f);
}

TEST_F(Machine, AmachOutOfRange) {
  EXPECT_THROW(AMACH(0), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 5 from AMACH.  The argument must be between 1 and 8\n"
            " ***          inclusive. N = 0\n");
}

TEST(Imach, EveryConstant) {
  const int32_t values[] = {32, 4, 2, 31, 2147483647, 2, 24, -125, 128, 53, -1021, 1024};
  for (int n = 1; n <= 12; ++n) EXPECT_EQ(IMACH(n), values[n - 1]) << n;
}

TEST_F(Machine, ImachOutOfRangeWritesItsOwnMessage) {
  EXPECT_THROW(IMACH(13), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 5 from IMACH.  The argument\n"
            " ***          must be between 1 and 12 inclusive.\n"
            " ***          N =     13.\n\n");
  EXPECT_THROW(IMACH(-2000000), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 5 from IMACH.  The argument\n"
            " ***          must be between 1 and 12 inclusive.\n"
            " ***          N = ******.\n\n");
}

TEST_F(Machine, UmachReadsAndSetsUnits) {
  int32_t unit = 0;
  UMACH(1, unit);
  EXPECT_EQ(unit, 5);
  UMACH(2, unit);
  EXPECT_EQ(unit, 6);
  UMACH(3, unit);
  EXPECT_EQ(unit, 6);
  int32_t nine = 9;
  UMACH(-3, nine);
  UMACH(3, unit);
  EXPECT_EQ(unit, 9);
  int32_t six = 6;
  UMACH(-3, six);
  UMACH(3, unit);
  EXPECT_EQ(unit, 6);
}

TEST_F(Machine, UmachOutOfRangeWritesItsOwnMessage) {
  int32_t unit = 0;
  EXPECT_THROW(UMACH(-4, unit), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 5 from UMACH.  The absolute\n"
            " ***          value of the index variable must be\n"
            " ***          1, 2, or 3.  IABS(N) =      4.\n\n");
}

TEST(IsMissing, NaNBitPatternsOnly) {
  EXPECT_TRUE(isMissing(fromBits(0x7FC00000u)));
  EXPECT_TRUE(isMissing(fromBits(0x7F800001u)));  // signalling
  EXPECT_TRUE(isMissing(fromBits(0xFFC00000u)));
  EXPECT_TRUE(isMissing(fromBits(0x7FFFFFFFu)));
  EXPECT_FALSE(isMissing(fromBits(0x7F800000u)));
  EXPECT_FALSE(isMissing(fromBits(0xFF800000u)));
  EXPECT_FALSE(isMissing(0.0f));
  EXPECT_FALSE(isMissing(-0.0f));
  EXPECT_FALSE(isMissing(std::numeric_limits<float>::max()));
  EXPECT_FALSE(isMissing(std::numeric_limits<float>::denorm_min()));
}

TEST_F(Machine, IsananFindsTheFirstMissingValue) {
  const float x[] = {1.0f, 2.0f, kMachineNaN, 4.0f, kMachineNaN, 6.0f};
  EXPECT_EQ(ISANAN(6, x, 1), 3);
  EXPECT_EQ(ISANAN(2, x, 1), 0);
  EXPECT_EQ(ISANAN(3, x, 2), 2);  // x(1), x(3), x(5): the second visited
  EXPECT_EQ(ISANAN(0, x, 1), 0);
  EXPECT_EQ(ISANAN(6, nullptr, 0), 0);  // never looks at x
  EXPECT_EQ(printed(), "");
}

TEST_F(Machine, IsananNegativeLength) {
  EXPECT_THROW(ISANAN(-1, nullptr, 1), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 1 from ISANAN.   The length of the input vector is -1. \n"
            " ***          The length must be non-negative.\n");
}

TEST_F(Machine, IsananNegativeStride) {
  EXPECT_THROW(ISANAN(2, nullptr, -3), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 2 from ISANAN.   The length of the incrementation of the\n"
            " ***          input vector is -3.  The incrementation must be non-negative.\n");
}

struct U1mvvCase {
  std::vector<float> in;
  std::vector<float> out;  // NaN stands for a missing value
  int32_t nmv;
};

TEST_F(Machine, U1mvvMovesMissingValuesBehind) {
  const float N = kMachineNaN;
  const U1mvvCase cases[] = {
      {{1, N, 2, N, 3}, {1, 3, 2, N, N}, 2},
      {{1, 2, 3}, {1, 2, 3}, 0},
      {{N, N, N}, {N, N, N}, 3},
      {{N, 1, 2}, {2, 1, N}, 1},
      {{N}, {N}, 1},
      {{5}, {5}, 0},
      {{N, N, 7, 8, N}, {8, 7, N, N, N}, 3},
      {{1, N, N, 4, 5, 6}, {1, 6, 5, 4, N, N}, 2},
  };
  for (const U1mvvCase& c : cases) {
    std::vector<float> x = c.in;
    int32_t nmv = -5;
    U1MVV(static_cast<int32_t>(x.size()), x.data(), nmv);
    EXPECT_EQ(nmv, c.nmv);
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (isMissing(c.out[i])) {
        EXPECT_TRUE(isMissing(x[i])) << i;
      } else {
        EXPECT_EQ(x[i], c.out[i]) << i;
      }
    }
  }
  EXPECT_EQ(printed(), "");
}

TEST_F(Machine, U1mvvCountsSignallingNaNs) {
  std::vector<float> x = {fromBits(0x7F800001u), 2.0f};
  int32_t nmv = 0;
  U1MVV(2, x.data(), nmv);
  EXPECT_EQ(nmv, 1);
  EXPECT_EQ(x[0], 2.0f);
  EXPECT_EQ(bitsOf(x[1]), 0x7FC00000u);
}

TEST_F(Machine, U1mvvNeedsObservations) {
  int32_t nmv = 4;
  EXPECT_THROW(U1MVV(0, nullptr, nmv), RunStopped);
  EXPECT_EQ(nmv, 0);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 1 from U1MVV.  NOBS = 0.  NOBS must be greater than 0.\n");
}

TEST(VectorHelpers, FillAndCopyWithStrides) {
  std::vector<float> x(6, 0.0f);
  SSET(3, 2.5f, x.data(), 2);
  EXPECT_EQ(x, (std::vector<float>{2.5f, 0, 2.5f, 0, 2.5f, 0}));
  SSET(0, 9.0f, x.data(), 1);
  SSET(-1, 9.0f, x.data(), 1);
  EXPECT_EQ(x[1], 0.0f);
  const float src[] = {1, 2, 3};
  std::vector<float> y(5, 0.0f);
  SCOPY(3, src, 1, y.data(), 2);
  EXPECT_EQ(y, (std::vector<float>{1, 0, 2, 0, 3}));
  SCOPY(0, src, 1, y.data(), 1);
  EXPECT_EQ(y[0], 1.0f);
}

TEST(VectorHelpers, IndexOfLargestAndSmallestMagnitude) {
  const float x[] = {0.5f, -3.0f, 3.0f, 0.1f, -0.1f, 2.0f};
  EXPECT_EQ(ISAMAX(6, x, 1), 2);  // ties keep the earliest
  EXPECT_EQ(ISAMIN(6, x, 1), 4);
  EXPECT_EQ(ISAMAX(3, x, 2), 2);  // 0.5, 3.0, -0.1
  EXPECT_EQ(ISAMIN(3, x, 2), 3);
  EXPECT_EQ(ISAMAX(1, x + 1, 1), 1);
  EXPECT_EQ(ISAMIN(1, x + 1, 1), 1);
  EXPECT_EQ(ISAMAX(0, x, 1), 0);
  EXPECT_EQ(ISAMIN(-2, x, 1), 0);
}

}  // namespace
}  // namespace eco
