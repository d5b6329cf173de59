// Randomized invariants of the Fw.d editor.

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "output/edit.h"

namespace eco {
namespace {

// Checks one field; returns an empty text when it is sound, otherwise what
// is wrong with it.
std::string checkField(float value, int w, int d, const std::string& field) {
  if (field.size() != static_cast<size_t>(w)) return "width";
  if (field == std::string(w, '*')) {
    if (!std::isfinite(value)) return std::isnan(value) ? "asterisks for NaN" : "";
    // A magnitude whose integer part alone leaves no room for the point
    // and the decimals cannot fit; one far below that must fit.
    const long double mag = std::fabs(static_cast<long double>(value));
    if (mag < std::pow(10.0L, w - d - 3) - 1) return "asterisks for a value that fits";
    return "";
  }
  if (std::isnan(value)) return field == " NaN" + std::string(w - 4, ' ') ? "" : "NaN form";
  if (std::isinf(value)) {
    const std::string t = value < 0 ? "-Inf" : "Inf";
    return field == std::string(w - t.size(), ' ') + t ? "" : "Inf form";
  }
  if (std::fabs(static_cast<long double>(value)) >= std::pow(10.0L, w - d - 1)) {
    return "no asterisks for a value too large";
  }
  const size_t first = field.find_first_not_of(' ');
  if (first == std::string::npos) return "blank field";
  const std::string text = field.substr(first);
  const size_t point = text.find('.');
  if (point == std::string::npos || text.size() - point - 1 != static_cast<size_t>(d)) {
    return "fraction digits";
  }
  if (text.find_first_not_of("-0123456789.") != std::string::npos) return "characters";
  // Read back (a leading "-." needs a zero for the reader).
  std::string readable = text;
  if (readable.rfind("-.", 0) == 0) readable.insert(1, "0");
  if (readable.front() == '.') readable.insert(0, "0");
  long double back = 0;
  double parsed = 0;
  const auto res = std::from_chars(readable.data(), readable.data() + readable.size(), parsed);
  if (res.ec != std::errc() || res.ptr != readable.data() + readable.size()) return "unreadable";
  back = parsed;
  // The field is the value rounded to d digits: within half a unit of the
  // last digit (plus the error of reading the decimal back into a double).
  const long double exact = value;
  const long double half = 0.5L * std::pow(10.0L, -d);
  const long double slack = std::fabs(exact) * 1e-15L + 1e-300L;
  if (std::fabs(back - exact) > half + slack) return "not the rounded value";
  if (text.front() == '-' && back == 0) return "sign on zero";
  if (value > 0 && text.front() == '-') return "sign on a positive value";
  return "";
}

TEST(EditFRandom, EveryFieldIsExactlyWAndReadsBack) {
  std::mt19937 gen(20240611u);
  std::uniform_int_distribution<uint32_t> bits;
  std::uniform_int_distribution<int> width(7, 20);
  std::uniform_real_distribution<double> exponent(-8.0, 12.0);
  std::bernoulli_distribution coin;
  for (int n = 0; n < 200000; ++n) {
    float value;
    switch (n % 4) {
      case 0:  // any bit pattern: NaNs, infinities, denormals, huge values
        value = std::bit_cast<float>(bits(gen));
        break;
      case 1:  // denormals and tiny values
        value = std::bit_cast<float>(bits(gen) & 0x807fffffu);
        break;
      default:  // magnitudes the system writes
        value = static_cast<float>(std::pow(10.0, exponent(gen)));
        if (coin(gen)) value = -value;
        break;
    }
    const int w = width(gen);
    const int d = std::uniform_int_distribution<int>(0, w - 2)(gen);
    const std::string field = editF(value, w, d);
    const std::string problem = checkField(value, w, d, field);
    ASSERT_EQ(problem, "") << "value " << value << " F" << w << "." << d << " gave \"" << field
                           << '"';
  }
}

TEST(EditFRandom, SpecialValuesAtEveryWidth) {
  const float specials[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::denorm_min(),
                            -std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::max(),
                            -0.0f};
  for (const float v : specials) {
    for (int w = 7; w <= 60; ++w) {
      for (int d = 0; d <= w - 2; ++d) {
        const std::string field = editF(v, w, d);
        ASSERT_EQ(checkField(v, w, d, field), "") << v << " F" << w << "." << d;
      }
    }
  }
}

}  // namespace
}  // namespace eco
