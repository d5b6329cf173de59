#include "records/value_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace eco {
namespace {

using S = ConvertStatus;

struct IntCase {
  const char* text;
  S status;
  int32_t value;
};

TEST(ConvertInteger, Table) {
  const IntCase cases[] = {
      {"0", S::ok, 0},
      {"12", S::ok, 12},
      {"+7", S::ok, 7},
      {"-42", S::ok, -42},
      {"2147483647", S::ok, 2147483647},
      {"-2147483648", S::ok, -2147483647 - 1},
      {"3.9", S::ok, 3},
      {"-3.9", S::ok, -3},
      {"1E2", S::ok, 100},
      {"1.5d1", S::ok, 15},
      {"2q0", S::ok, 2},
      {"0.999", S::ok, 0},
      {"-0.5", S::ok, 0},
      {"1e-99999", S::ok, 0},
      {"2147483647.9", S::ok, 2147483647},
      {"-2147483648.9", S::ok, -2147483647 - 1},
      {"2147483648", S::conversionError, 0},
      {"-2147483649", S::conversionError, 0},
      {"99999999999999999999", S::conversionError, 0},
      {"2147483648.0", S::conversionError, 0},
      {"1e20", S::conversionError, 0},
      {"-1e20", S::conversionError, 0},
      {"1e99999", S::conversionError, 0},
      {"+", S::conversionError, 0},
      {"-", S::conversionError, 0},
      {".", S::conversionError, 0},
      {"1E+", S::conversionError, 0},
      {"1e", S::conversionError, 0},
      {"12-3", S::conversionError, 0},
      {"1.5.2", S::syntaxError, 0},
      {"12a", S::syntaxError, 0},
      {"abc", S::syntaxError, 0},
      {"+-1", S::syntaxError, 0},
      {"E5", S::syntaxError, 0},
      {"-E5", S::syntaxError, 0},
      {"1e5e6", S::syntaxError, 0},
      {"12-", S::syntaxError, 0},
      {"1.+", S::syntaxError, 0},
      {"inf", S::syntaxError, 0},
      {"nan", S::syntaxError, 0},
      {"0x10", S::syntaxError, 0},
      {"1*", S::syntaxError, 0},
  };
  for (const IntCase& c : cases) {
    int32_t v = -777;
    EXPECT_EQ(convertInteger(c.text, &v), c.status) << c.text;
    EXPECT_EQ(v, c.status == S::ok ? c.value : -777) << c.text;
  }
}

struct RealCase {
  const char* text;
  S status;
  float value;
};

TEST(ConvertReal, Table) {
  const RealCase cases[] = {
      {"5", S::ok, 5.0f},
      {"3.5", S::ok, 3.5f},
      {"+.25", S::ok, 0.25f},
      {"-2.", S::ok, -2.0f},
      {"1.5E2", S::ok, 150.0f},
      {"1.5e2", S::ok, 150.0f},
      {"15D-1", S::ok, 1.5f},
      {"15d-1", S::ok, 1.5f},
      {"2Q+1", S::ok, 20.0f},
      {"2q1", S::ok, 20.0f},
      {"0.1", S::ok, 0.1f},
      {"3.4028235e38", S::ok, 3.4028235e38f},
      {"1e-40", S::ok, 1e-40f},
      // 16777217 lies halfway between two floats: ties go to the even one.
      {"16777217", S::ok, 16777216.0f},
      {"16777219", S::ok, 16777220.0f},
      {"1e99", S::conversionError, 0},
      {"-1e99", S::conversionError, 0},
      {"3.5e38", S::conversionError, 0},
      {".", S::conversionError, 0},
      {"+", S::conversionError, 0},
      {"1E+", S::conversionError, 0},
      {"1E2.5", S::conversionError, 0},
      {"1.5.2", S::syntaxError, 0},
      {"12a", S::syntaxError, 0},
      {"1,5", S::syntaxError, 0},
      {"--1", S::syntaxError, 0},
      {"1e+-5", S::syntaxError, 0},
      {"D3", S::syntaxError, 0},
      {"+e3", S::syntaxError, 0},
      {"1q2q3", S::syntaxError, 0},
      {"3.5-", S::syntaxError, 0},
      {"infinity", S::syntaxError, 0},
  };
  for (const RealCase& c : cases) {
    float v = -777.0f;
    EXPECT_EQ(convertReal(c.text, &v), c.status) << c.text;
    EXPECT_EQ(v, c.status == S::ok ? c.value : -777.0f) << c.text;
  }
}

// A value below half the smallest subnormal vanishes: it reads as a zero
// that keeps the sign of the value.
TEST(ConvertReal, TotalUnderflowGivesSignedZero) {
  float v = 1.0f;
  EXPECT_EQ(convertReal("1e-99", &v), S::ok);
  EXPECT_EQ(v, 0.0f);
  EXPECT_FALSE(std::signbit(v));
  EXPECT_EQ(convertReal("-1e-99", &v), S::ok);
  EXPECT_EQ(v, 0.0f);
  EXPECT_TRUE(std::signbit(v));
  EXPECT_EQ(convertReal("0.0000000000000000000000000000000000000000000001", &v), S::ok);
  EXPECT_EQ(v, 0.0f);
  EXPECT_EQ(convertReal("-1e-999999999999999999999", &v), S::ok);
  EXPECT_TRUE(std::signbit(v));
  EXPECT_EQ(convertReal("1e999999999999999999999", &v), S::conversionError);
}

TEST(ConvertReal, LongDigitStringsRoundOnce) {
  // 0.1 written with 3000 digits of zeros after it still rounds to 0.1f.
  std::string s = "0.1" + std::string(3000, '0');
  float v = 0.0f;
  EXPECT_EQ(convertReal(s, &v), S::ok);
  EXPECT_EQ(v, 0.1f);
  std::string big = "1" + std::string(60, '0');
  EXPECT_EQ(convertReal(big, &v), S::conversionError);
  std::string tiny = "0." + std::string(60, '0') + "1";
  EXPECT_EQ(convertReal(tiny, &v), S::ok);
  EXPECT_EQ(v, 0.0f);
}

}  // namespace
}  // namespace eco
