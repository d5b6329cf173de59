#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "output/edit.h"

namespace eco {
namespace {

std::string fieldBlanks(size_t n) { return std::string(n, ' '); }

struct FCase {
  float value;
  int w, d;
  const char* expected;
};

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

const FCase fCases[] = {
    // ties to even on the exact binary value
    {23.25f, 8, 1, "    23.2"},
    {23.75f, 8, 1, "    23.8"},
    {0.025f, 7, 3, "  0.025"},  // the float lies slightly above 0.025
    {0.125f, 7, 2, "   0.12"},
    {0.375f, 7, 2, "   0.38"},
    {2.5f, 7, 0, "     2."},
    {3.5f, 7, 0, "     4."},
    {0.5f, 7, 0, "     0."},
    // fields that overflow
    {1234.5f, 7, 3, "*******"},
    {1000.0f, 7, 3, "*******"},
    {999.9994f, 7, 3, "999.999"},
    {999.9996f, 7, 3, "*******"},  // rounds up to 1000.000
    {12345678.0f, 10, 2, "**********"},
    {1234567.0f, 10, 2, "1234567.00"},
    {-123456.0f, 10, 2, "-123456.00"},
    {-1234567.0f, 10, 2, "**********"},
    {1e38f, 12, 2, "************"},
    // the zero in front of the point
    {0.5f, 12, 5, "     0.50000"},
    {0.4f, 15, 0, "             0."},
    {23.0f, 15, 0, "            23."},
    {0.5f, 6, 5, ".50000"},
    {0.5f, 5, 5, "*****"},
    {-0.5f, 7, 5, "-.50000"},
    {-0.5f, 8, 5, "-0.50000"},
    {-0.5f, 6, 5, "******"},
    {-0.25f, 4, 2, "-.25"},
    {-0.25f, 5, 2, "-0.25"},
    {0.25f, 3, 2, ".25"},
    // no sign on a value that rounds to zero
    {-0.00004f, 10, 4, "    0.0000"},
    {-0.0f, 7, 3, "  0.000"},
    {-0.4f, 15, 0, "             0."},
    {-0.6f, 15, 0, "            -1."},
    {-0.00004f, 5, 4, ".0000"},
    {-0.00006f, 7, 4, "-0.0001"},
    {-0.00006f, 6, 4, "-.0001"},
    // ordinary values
    {0.01f, 12, 3, "       0.010"},
    {0.99f, 12, 3, "       0.990"},
    {0.25f, 12, 5, "     0.25000"},
    {12.3456f, 10, 4, "   12.3456"},
    {-12.3456f, 10, 1, "     -12.3"},
    {100.0f, 15, 5, "      100.00000"},
    {1.0e-45f, 10, 4, "    0.0000"},  // smallest denormal
    {16777216.0f, 12, 1, "  16777216.0"},
    {3.4028235e38f, 40, 0, "340282346638528859811704183484516925440."},
    // not a number and infinity
    {nan, 12, 2, " NaN        "},
    {nan, 7, 3, " NaN   "},
    {-nan, 7, 3, " NaN   "},
    {nan, 4, 1, " NaN"},
    {nan, 3, 1, "***"},
    {inf, 7, 3, "    Inf"},
    {-inf, 7, 3, "   -Inf"},
    {-inf, 3, 1, "***"},
    // degenerate widths
    {1.0f, 3, 3, "***"},
    {1.0f, 3, -1, "***"},
};

TEST(EditF, Table) {
  for (const FCase& c : fCases) {
    EXPECT_EQ(editF(c.value, c.w, c.d), c.expected) << c.value << " F" << c.w << "." << c.d;
  }
}

TEST(EditF, WidthBelowOneGivesNothing) {
  EXPECT_EQ(editF(1.0f, 0, 0), "");
  EXPECT_EQ(editF(1.0f, -3, 1), "");
}

TEST(EditF, LargestFloatAtThreeDecimals) {
  // The exact value of 1e38f has 38 integer digits: with the point and
  // three decimals 42 characters, 43 with a sign.
  EXPECT_EQ(editF(1e38f, 42, 3), "99999996802856924650656260769173209088.000");
  EXPECT_EQ(editF(-1e38f, 43, 3), "-99999996802856924650656260769173209088.000");
  EXPECT_EQ(editF(-1e38f, 42, 3), std::string(42, '*'));
  EXPECT_EQ(editF(1e38f, 41, 3), std::string(41, '*'));
}

struct ICase {
  int32_t value;
  int w, m;
  const char* expected;
};

const ICase iCases[] = {
    {5, 2, 2, "05"},
    {12, 2, 2, "12"},
    {123, 2, 2, "**"},
    {100, 2, 2, "**"},
    {-5, 2, 2, "**"},
    {-1, 2, 2, "**"},
    {7, 2, 1, " 7"},
    {0, 2, 1, " 0"},
    {105, 2, 1, "**"},
    {0, 2, 2, "00"},
    {99, 2, 2, "99"},
    {-5, 3, 2, "-05"},
    {-5, 2, 1, "-5"},
    {42, 6, 4, "  0042"},
    {42, 3, 4, "***"},
    {0, 3, 0, "   "},
    {3, 12, 1, "           3"},
    {17, 12, 1, "          17"},
    {INT32_MAX, 12, 1, "  2147483647"},
    {INT32_MIN, 12, 1, " -2147483648"},
    {INT32_MIN, 11, 1, "-2147483648"},
    {INT32_MIN, 10, 1, "**********"},
    {INT32_MIN, 13, 11, " -02147483648"},
    {INT32_MIN, 13, 12, "-002147483648"},
    {INT32_MIN, 13, 13, "*************"},
};

TEST(EditI, Table) {
  for (const ICase& c : iCases) {
    EXPECT_EQ(editI(c.value, c.w, c.m), c.expected) << c.value << " I" << c.w << "." << c.m;
  }
}

TEST(EditA, Table) {
  const std::string name = "ABRA ALBA (WOOD, 1802) IN THE SOUTHERN NORTH SEA  ";  // 50 characters
  ASSERT_EQ(name.size(), 50u);
  EXPECT_EQ(editA("Ecotope", 8), " Ecotope");
  EXPECT_EQ(editA("Surface ", 12), "    Surface ");
  EXPECT_EQ(editA(name, 25), "ABRA ALBA (WOOD, 1802) IN");
  EXPECT_EQ(editA(name, 50), name);
  EXPECT_EQ(editA(name, 52), "  " + name);
  EXPECT_EQ(editA("", 3), fieldBlanks(3));
  EXPECT_EQ(editA("abc", 0), "");
}

}  // namespace
}  // namespace eco
