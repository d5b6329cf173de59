#include "records/float_text.h"

#include <system_error>

#include "fast_float/fast_float.h"

namespace eco {
namespace {

// fast_float stores infinity or zero on a range error; the standard
// contract keeps the caller's value.
template <class T>
std::from_chars_result decimalToFloating(const char* first, const char* last, T& value) {
  T parsed{};
  const fast_float::from_chars_result r =
      fast_float::from_chars(first, last, parsed, fast_float::chars_format::general);
  if (r.ec == std::errc()) value = parsed;
  return {r.ptr, r.ec};
}

}  // namespace

std::from_chars_result decimalToFloat(const char* first, const char* last, float& value) {
  return decimalToFloating(first, last, value);
}

std::from_chars_result decimalToFloat(const char* first, const char* last, double& value) {
  return decimalToFloating(first, last, value);
}

}  // namespace eco
