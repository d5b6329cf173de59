#include "records/float_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <system_error>

#include "stats/long_tests.h"

namespace eco {
namespace {

constexpr std::errc kOk{};
constexpr std::errc kRange = std::errc::result_out_of_range;
constexpr std::errc kInvalid = std::errc::invalid_argument;

// What the conversion must give: the status, how many characters it takes,
// and the value (for a failure: the caller's value, here 7.5, unchanged).
struct TextCase {
  const char* text;
  std::errc fec;
  int fused;
  float fvalue;
  std::errc dec;
  int dused;
  double dvalue;
};

// The behaviour of libstdc++'s from_chars, on the edges of both formats.
const TextCase kCases[] = {
    {"0", kOk, 1, 0.0f, kOk, 1, 0.0},
    {"-0", kOk, 2, -0.0f, kOk, 2, -0.0},
    {"1.5", kOk, 3, 1.5f, kOk, 3, 1.5},
    {".5", kOk, 2, 0.5f, kOk, 2, 0.5},
    {"-.5e-2", kOk, 6, -0.005f, kOk, 6, -0.005},
    {"1.e5", kOk, 4, 1e5f, kOk, 4, 1e5},
    {"0.1", kOk, 3, 0.1f, kOk, 3, 0.1},
    // Ties to even: 2^24 + 1 and 2^53 + 1 lie halfway between neighbours.
    {"16777217", kOk, 8, 16777216.0f, kOk, 8, 16777217.0},
    {"9007199254740993", kOk, 16, 9007199254740992.0f, kOk, 16, 9007199254740992.0},
    // Just above those midpoints, by a digit far behind them.
    {"16777217.000000000000000000000000001", kOk, 36, 16777218.0f, kOk, 36, 16777217.0},
    // An exponent with no digits, a sign after a number, junk: the number
    // before them is taken.
    {"1e", kOk, 1, 1.0f, kOk, 1, 1.0},
    {"1e+", kOk, 1, 1.0f, kOk, 1, 1.0},
    {"1e-", kOk, 1, 1.0f, kOk, 1, 1.0},
    {"1.5e3x", kOk, 5, 1500.0f, kOk, 5, 1500.0},
    {"12-3", kOk, 2, 12.0f, kOk, 2, 12.0},
    {"0x1p3", kOk, 1, 0.0f, kOk, 1, 0.0},
    // Nothing to read.
    {"", kInvalid, 0, 7.5f, kInvalid, 0, 7.5},
    {"+1", kInvalid, 0, 7.5f, kInvalid, 0, 7.5},
    {"-", kInvalid, 0, 7.5f, kInvalid, 0, 7.5},
    {".", kInvalid, 0, 7.5f, kInvalid, 0, 7.5},
    {" 1", kInvalid, 0, 7.5f, kInvalid, 0, 7.5},
    {"e5", kInvalid, 0, 7.5f, kInvalid, 0, 7.5},
    // The largest values and the first ones past them.
    {"3.4028235e38", kOk, 12, 3.4028235e38f, kOk, 12, 3.4028235e38},
    {"3.40282356e38", kOk, 13, 3.4028235e38f, kOk, 13, 3.40282356e38},
    {"3.40282357e38", kRange, 13, 7.5f, kOk, 13, 3.40282357e38},
    {"1e39", kRange, 4, 7.5f, kOk, 4, 1e39},
    {"-1e40", kRange, 5, 7.5f, kOk, 5, -1e40},
    {"1.7976931348623157e308", kRange, 22, 7.5f, kOk, 22, 1.7976931348623157e308},
    {"1.797693134862315807e308", kRange, 24, 7.5f, kOk, 24, 1.7976931348623157e308},
    {"1.797693134862315808e308", kRange, 24, 7.5f, kRange, 24, 7.5},
    {"1e309", kRange, 5, 7.5f, kRange, 5, 7.5},
    {"1e99999999999999999999", kRange, 22, 7.5f, kRange, 22, 7.5},
    // Subnormal results are in range; only a nonzero value that rounds to
    // zero is out of it (half the smallest subnormal rounds to even: 0).
    {"1e-38", kOk, 5, 1e-38f, kOk, 5, 1e-38},
    {"1e-45", kOk, 5, 0x1p-149f, kOk, 5, 1e-45},
    {"7.1e-46", kOk, 7, 0x1p-149f, kOk, 7, 7.1e-46},
    {"7.006492321624085354618e-46", kRange, 27, 7.5f, kOk, 27, 0x1p-150},
    {"7.006492321624085354619e-46", kOk, 27, 0x1p-149f, kOk, 27, 0x1p-150},
    {"1e-46", kRange, 5, 7.5f, kOk, 5, 1e-46},
    {"-1e-50", kRange, 6, 7.5f, kOk, 6, -1e-50},
    {"4.9e-324", kRange, 8, 7.5f, kOk, 8, 0x1p-1074},
    {"2.5e-324", kRange, 8, 7.5f, kOk, 8, 0x1p-1074},
    {"2.4703282292062327e-324", kRange, 23, 7.5f, kRange, 23, 7.5},
    {"2.4703282292062328e-324", kRange, 23, 7.5f, kOk, 23, 0x1p-1074},
    {"1e-400", kRange, 6, 7.5f, kRange, 6, 7.5},
    {"00001e-99999999999999999999", kRange, 27, 7.5f, kRange, 27, 7.5},
    // A zero is never out of range, whatever its exponent.
    {"0e999999", kOk, 8, 0.0f, kOk, 8, 0.0},
    {"-0.000e-999999", kOk, 14, -0.0f, kOk, 14, -0.0},
    // Infinities and NaN are read as words.
    {"inf", kOk, 3, std::numeric_limits<float>::infinity(), kOk, 3,
     std::numeric_limits<double>::infinity()},
    {"-Infinity", kOk, 9, -std::numeric_limits<float>::infinity(), kOk, 9,
     -std::numeric_limits<double>::infinity()},
    {"infinit", kOk, 3, std::numeric_limits<float>::infinity(), kOk, 3,
     std::numeric_limits<double>::infinity()},
    {"in", kInvalid, 0, 7.5f, kInvalid, 0, 7.5},
};

template <class T>
void checkCase(const char* text, std::errc ec, int used, T want) {
  T v = static_cast<T>(7.5);
  const std::from_chars_result r = decimalToFloat(text, text + std::strlen(text), v);
  EXPECT_EQ(static_cast<int>(r.ec), static_cast<int>(ec)) << text;
  EXPECT_EQ(r.ptr - text, used) << text;
  if (std::isnan(want)) {
    EXPECT_TRUE(std::isnan(v)) << text;
  } else {
    EXPECT_EQ(v, want) << text;
    EXPECT_EQ(std::signbit(v), std::signbit(want)) << text;
  }
}

TEST(FloatText, Table) {
  for (const TextCase& c : kCases) {
    checkCase(c.text, c.fec, c.fused, c.fvalue);
    checkCase(c.text, c.dec, c.dused, c.dvalue);
  }
}

TEST(FloatText, NotANumber) {
  for (const char* text : {"nan", "NaN", "-nan", "nan()", "nan(abc_12)"}) {
    const int used = static_cast<int>(std::strlen(text));
    checkCase(text, kOk, used, std::numeric_limits<float>::quiet_NaN());
    checkCase(text, kOk, used, std::numeric_limits<double>::quiet_NaN());
  }
  // An unclosed or malformed sequence leaves it out.
  checkCase("nan(ab", kOk, 3, std::numeric_limits<float>::quiet_NaN());
  checkCase("nan(a-b)", kOk, 3, std::numeric_limits<double>::quiet_NaN());
}

// Text around the places where rounding and range decide: random digit
// strings, exact decimal midpoints between neighbouring floats with a
// digit changed far behind, the range limits, signs, junk and words.
class TextMaker {
 public:
  explicit TextMaker(uint64_t seed) : rng_(seed) {}

  std::string next() {
    std::string s;
    if (pick(4) == 0) s += '-';
    switch (pick(6)) {
      case 0:
      case 1:
        s += digits();
        break;
      case 2:
        s += floatMidpoint();
        break;
      case 3:
        s += nearLimit();
        break;
      case 4:
        s += word();
        break;
      default:
        s += std::to_string(pick(1000)) + "." + std::string(pick(40), '0') +
             std::to_string(pick(100)) + "e" + std::to_string(static_cast<int>(pick(700)) - 350);
        break;
    }
    if (pick(8) == 0) s += "+-e.x5"[pick(6)];
    return s;
  }

 private:
  uint64_t pick(uint64_t n) { return rng_() % n; }

  std::string digitRun(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('0' + pick(10));
    return s;
  }

  // 1 to 30 digits, a point somewhere or none, an exponent or none.
  std::string digits() {
    std::string s = digitRun(1 + pick(30));
    if (pick(2) == 0) s.insert(pick(s.size() + 1), ".");
    if (pick(3) != 0) {
      s += "eE"[pick(2)];
      if (pick(2) == 0) s += "+-"[pick(2)];
      s += std::to_string(pick(pick(4) == 0 ? 100000 : 400));
    }
    return s;
  }

  // The exact decimal value halfway between a float and the next one
  // (exact in double, written with every digit), cut short or extended.
  std::string floatMidpoint() {
    float f;
    do {
      f = std::bit_cast<float>(static_cast<uint32_t>(rng_()) & 0x7F7FFFFFu);
    } while (!std::isfinite(f));
    const double mid = (static_cast<double>(f) +
                        static_cast<double>(std::nextafter(f, std::numeric_limits<float>::max()))) /
                       2;
    char buf[1200];
    const std::to_chars_result r =
        std::to_chars(buf, buf + sizeof buf, mid, std::chars_format::scientific, 200);
    std::string s(buf, r.ptr);
    const std::size_t e = s.find('e');
    std::string mant = s.substr(0, e), exp = s.substr(e);
    while (mant.back() == '0') mant.pop_back();
    switch (pick(4)) {
      case 0:
        break;
      case 1:
        mant.pop_back();  // just below (or a shorter midpoint)
        break;
      case 2:
        mant += std::string(pick(30), '0') + "1";  // just above
        break;
      default:
        mant += std::string(pick(30), '0');
        break;
    }
    return mant + exp;
  }

  std::string nearLimit() {
    static const char* const limits[] = {"3.4028235677973366e38",
                                         "3.40282346638528859811704183484516925440e38",
                                         "7.00649232162408535461864791644958065640e-46",
                                         "1.40129846432481707092372958328991613128e-45",
                                         "1.7976931348623158e308",
                                         "2.47032822920623272088284396434110686182e-324",
                                         "4.94065645841246544176568792868221372365e-324",
                                         "1.17549435082228750796873653722224568e-38",
                                         "2.2250738585072011e-308",
                                         "2.2250738585072014e-308"};
    std::string s = limits[pick(std::size(limits))];
    const std::size_t e = s.find('e');
    const std::size_t at = 2 + pick(e - 2);
    s[at] = static_cast<char>('0' + pick(10));
    return s;
  }

  std::string word() {
    static const char* const words[] = {"inf",   "infinity", "nan", "nan(x1_)", "nan(",
                                        "infin", "NAN(0)",   "iNf", "na",       "e3"};
    return words[pick(std::size(words))];
  }

  std::mt19937_64 rng_;
};

#ifdef __GLIBCXX__
// The vendored conversion against libstdc++'s own, bit for bit, with the
// status and the characters taken.
template <class T>
void compareWithLibrary(const std::string& s) {
  using Bits = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
  T mine = static_cast<T>(7.5), theirs = static_cast<T>(7.5);
  const char* first = s.data();
  const char* last = s.data() + s.size();
  const std::from_chars_result a = decimalToFloat(first, last, mine);
  const std::from_chars_result b = std::from_chars(first, last, theirs);
  ASSERT_EQ(static_cast<int>(a.ec), static_cast<int>(b.ec)) << s;
  ASSERT_EQ(a.ptr, b.ptr) << s;
  ASSERT_EQ(std::bit_cast<Bits>(mine), std::bit_cast<Bits>(theirs)) << s;
}

TEST(FloatText, SameAsLibstdcxx) {
  TextMaker make(20261209);
  const int64_t n = test::inputs(100000, 50000000);
  for (int64_t i = 0; i < n; ++i) {
    const std::string s = make.next();
    compareWithLibrary<float>(s);
    compareWithLibrary<double>(s);
    if (HasFatalFailure()) return;
  }
}
#else
TEST(FloatText, SameAsLibstdcxx) { GTEST_SKIP() << "only with libstdc++"; }
#endif

}  // namespace
}  // namespace eco
