// Editing of single fields: Fw.d, Iw.m and Aw.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "output/edit.h"

namespace eco {

namespace {

std::string asterisks(int w) { return std::string(static_cast<size_t>(w), '*'); }

// Right-justifies text in w characters; asterisks when it is too long.
std::string rightJustify(std::string_view text, int w) {
  const size_t width = static_cast<size_t>(w);
  if (text.size() > width) return asterisks(w);
  std::string field(width - text.size(), ' ');
  field += text;
  return field;
}

}  // namespace

std::string editF(float value, int w, int d) {
  if (w < 1) return {};
  if (std::isnan(value)) {
    if (w < 4) return asterisks(w);
    std::string field = " NaN";
    field.resize(static_cast<size_t>(w), ' ');
    return field;
  }
  if (std::isinf(value)) return rightJustify(value < 0.0f ? "-Inf" : "Inf", w);
  // The shortest possible text is the point and d digits; a negative d has
  // no meaning for a field.
  if (d < 0 || d >= w) return asterisks(w);

  // std::to_chars rounds the exact binary value to d fraction digits with
  // ties to the even digit, independent of the floating-point rounding
  // mode. The largest float has 39 integer digits; with sign and point the
  // text stays below d + 48 characters.
  std::string buf(static_cast<size_t>(d) + 48, '\0');
  const auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, d);
  if (res.ec != std::errc()) return asterisks(w);
  std::string_view text(buf.data(), static_cast<size_t>(res.ptr - buf.data()));

  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  const size_t point = text.find('.');
  const std::string_view intDigits = text.substr(0, point);
  const std::string_view fracDigits =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);

  // A value that rounds to zero carries no sign.
  if (text.find_first_not_of("0.") == std::string_view::npos) negative = false;

  std::string body;  // digits and point, without the optional zero
  if (intDigits != "0") body += intDigits;
  body += '.';
  body += fracDigits;

  const size_t width = static_cast<size_t>(w);
  const size_t needed = body.size() + (negative ? 1 : 0);
  if (needed > width) return asterisks(w);
  // The zero in front of the point is written only when there is room for
  // it; otherwise a negative value gives its one free position to the "-".
  const bool zero = intDigits == "0" && needed < width;

  std::string field;
  field.reserve(width);
  field.append(width - needed - (zero ? 1 : 0), ' ');
  if (negative) field += '-';
  if (zero) field += '0';
  field += body;
  return field;
}

std::string editI(int32_t value, int w, int m) {
  if (w < 1) return {};
  if (m < 0) m = 0;
  if (m > w) return asterisks(w);
  // Work on the magnitude in 64 bits so that the most negative value has a
  // positive counterpart.
  const int64_t wide = value;
  const uint64_t magnitude = static_cast<uint64_t>(wide < 0 ? -wide : wide);
  std::string digits;
  if (magnitude != 0 || m > 0) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude);
    digits.assign(buf, res.ptr);
  }
  // Iw.0 of zero writes no digit at all: the field is blank.
  if (digits.size() < static_cast<size_t>(m)) {
    digits.insert(0, static_cast<size_t>(m) - digits.size(), '0');
  }
  if (value < 0) digits.insert(0, 1, '-');
  return rightJustify(digits, w);
}

std::string editA(std::string_view text, int w) {
  if (w < 1) return {};
  const size_t width = static_cast<size_t>(w);
  if (text.size() >= width) return std::string(text.substr(0, width));
  std::string field(width - text.size(), ' ');
  field += text;
  return field;
}

}  // namespace eco
