#include "records/value_convert.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "records/float_text.h"

namespace eco {

namespace {

bool isSign(char c) { return c == '+' || c == '-'; }
bool isExponentLetter(char c) {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q';
}

// from_chars knows only E and no leading plus: work on a local copy.
std::string normalized(std::string_view value) {
  std::string s(value);
  for (char& c : s) {
    if (isExponentLetter(c)) c = 'e';
  }
  if (!s.empty() && s.front() == '+') s.erase(0, 1);
  return s;
}

// Power of ten of the leading nonzero digit of a normalized value. Only
// its sign is used, to tell overflow from total underflow, so the
// exponent is saturated rather than read exactly.
int64_t decimalMagnitude(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && s[i] == '-') ++i;
  int64_t integerDigits = 0;
  int64_t digitIndex = 0;
  int64_t firstNonzero = -1;
  bool afterPoint = false;
  for (; i < s.size() && s[i] != 'e'; ++i) {
    if (s[i] == '.') {
      afterPoint = true;
    } else if (isDecimalDigit(s[i])) {
      if (!afterPoint) ++integerDigits;
      if (firstNonzero < 0 && s[i] != '0') firstNonzero = digitIndex;
      ++digitIndex;
    }
  }
  if (firstNonzero < 0) return 0;
  int64_t exponent = 0;
  int64_t exponentSign = 1;
  if (i < s.size()) {
    ++i;
    if (i < s.size() && isSign(s[i])) {
      if (s[i] == '-') exponentSign = -1;
      ++i;
    }
    constexpr int64_t cap = 1'000'000'000'000'000;
    for (; i < s.size() && isDecimalDigit(s[i]); ++i) {
      exponent = exponent * 10 + (s[i] - '0');
      if (exponent > cap) exponent = cap;
    }
  }
  return integerDigits - 1 - firstNonzero + exponentSign * exponent;
}

}  // namespace

ConvertStatus checkNumberSyntax(std::string_view value) {
  bool seenPoint = false;
  bool seenExponent = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    const bool afterSign = i > 0 && isSign(value[i - 1]);
    if (isDecimalDigit(c)) continue;
    if (isSign(c)) {
      if (afterSign) return ConvertStatus::syntaxError;
      // A sign closing a value after a digit or point can never start an
      // exponent; a lone sign or "1E+" is merely incomplete.
      const bool last = i + 1 == value.size();
      if (last && i > 0 && !isExponentLetter(value[i - 1])) return ConvertStatus::syntaxError;
    } else if (c == '.') {
      if (seenPoint) return ConvertStatus::syntaxError;
      seenPoint = true;
    } else if (isExponentLetter(c)) {
      if (i == 0 || afterSign || seenExponent) return ConvertStatus::syntaxError;
      seenExponent = true;
    } else {
      return ConvertStatus::syntaxError;
    }
  }
  return ConvertStatus::ok;
}

ConvertStatus convertInteger(std::string_view value, int32_t* out) {
  const ConvertStatus form = checkNumberSyntax(value);
  if (form != ConvertStatus::ok) return form;
  bool realForm = false;
  for (char c : value) {
    if (c == '.' || isExponentLetter(c)) realForm = true;
  }
  if (!realForm) {
    std::string_view digits = value;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int32_t v = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) {
      return ConvertStatus::conversionError;
    }
    *out = v;
    return ConvertStatus::ok;
  }
  const std::string s = normalized(value);
  double d = 0.0;
  const auto [ptr, ec] = decimalToFloat(s.data(), s.data() + s.size(), d);
  if (ptr != s.data() + s.size()) return ConvertStatus::conversionError;
  if (ec == std::errc::result_out_of_range) {
    if (decimalMagnitude(s) > 0) return ConvertStatus::conversionError;
    d = 0.0;  // so small that it truncates to zero anyway
  } else if (ec != std::errc()) {
    return ConvertStatus::conversionError;
  }
  const double t = std::trunc(d);
  if (!(t >= -2147483648.0 && t <= 2147483647.0)) return ConvertStatus::conversionError;
  *out = static_cast<int32_t>(t);
  return ConvertStatus::ok;
}

ConvertStatus convertReal(std::string_view value, float* out) {
  const ConvertStatus form = checkNumberSyntax(value);
  if (form != ConvertStatus::ok) return form;
  const std::string s = normalized(value);
  float f = 0.0f;
  const auto [ptr, ec] = decimalToFloat(s.data(), s.data() + s.size(), f);
  if (ptr != s.data() + s.size()) return ConvertStatus::conversionError;
  if (ec == std::errc::result_out_of_range) {
    if (decimalMagnitude(s) > 0) return ConvertStatus::conversionError;
    f = (!s.empty() && s.front() == '-') ? -0.0f : 0.0f;
  } else if (ec != std::errc()) {
    return ConvertStatus::conversionError;
  }
  *out = f;
  return ConvertStatus::ok;
}

}  // namespace eco
