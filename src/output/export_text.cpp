#include "output/export_text.h"

#include <charconv>
#include <cmath>

#include "text/trim.h"

namespace eco {
namespace {

constexpr std::size_t kStoredNameLength = 50;

// Length of the well-formed UTF-8 sequence that starts at s[i], or 0.
std::size_t utf8Length(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = byte(i);
  if (b < 0x80) return 1;
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) lo = 0xA0;  // no overlong forms
    if (b == 0xED) hi = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return n;
}

// A name is stored cut to 50 bytes, which can split the last character of
// a UTF-8 name: true when s[i..] is the start of a well-formed sequence
// that the end of the text cuts off.
bool cutAtEnd(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  const std::size_t n = b >= 0xC2 && b <= 0xDF   ? 2
                        : b >= 0xE0 && b <= 0xEF ? 3
                        : b >= 0xF0 && b <= 0xF4 ? 4
                                                 : 0;
  if (n == 0 || i + n <= s.size()) return false;
  for (std::size_t k = i + 1; k < s.size(); ++k) {
    const auto c = static_cast<unsigned char>(s[k]);
    if (c < 0x80 || c > 0xBF) return false;
  }
  return true;
}

}  // namespace

std::string exportName(std::string_view stored) {
  const std::string_view name = trimBlanks(stored);
  // Only a name that fills its whole field can have been cut.
  const bool filled = stored.size() >= kStoredNameLength && name.size() == stored.size();
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t n = utf8Length(name, i);
    if (n == 0 && filled && cutAtEnd(name, i)) break;
    if (n > 0) {
      out.append(name, i, n);
      i += n;
    } else {
      const auto b = static_cast<unsigned char>(name[i]);
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
      ++i;
    }
  }
  return out;
}

std::string shortestDecimal(float value) {
  if (std::isnan(value)) return {};
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string{};
}

}  // namespace eco
