#pragma once
// Decimal text to float or double, correctly rounded, with the contract of
// std::from_chars (chars_format::general) as libstdc++ implements it: no
// leading blank or plus; "inf", "infinity", "nan" and "nan(...)" in any
// case; a value that rounds past the largest finite value, or a nonzero
// value that rounds to zero, gives errc::result_out_of_range and leaves
// `value` unchanged (a value that rounds to a subnormal is in range);
// no number at all gives errc::invalid_argument, `value` unchanged.
//
// Not every standard library has the floating-point from_chars (libc++ 14
// lacks it), so the conversion is the same everywhere: the vendored
// fast_float, the algorithm libstdc++'s own conversion is built on.

#include <charconv>

namespace eco {

std::from_chars_result decimalToFloat(const char* first, const char* last, float& value);
std::from_chars_result decimalToFloat(const char* first, const char* last, double& value);

}  // namespace eco
