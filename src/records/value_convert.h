#pragma once
// Conversion of one free-format numeric value (the characters between two
// separators) into a 32-bit integer or a 32-bit real.

#include <cstdint>
#include <string_view>

namespace eco {

// A decimal digit, 0 to 9 (not locale-dependent).
inline bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

enum class ConvertStatus { ok, syntaxError, conversionError };

// The form of a numeric value: syntaxError when it holds a character other
// than digits, signs, one decimal point and one exponent letter (E, D, Q in
// either case), two signs in a row, a second point, an exponent letter at
// the start, after a sign or a second time, or a sign ending a value after
// a digit or point ("12-"). Anything else is left to the conversion.
ConvertStatus checkNumberSyntax(std::string_view value);

// Integer value: optional sign and digits, or a real form (point or
// exponent) converted in double precision and truncated toward zero.
// Out of the 32-bit signed range is conversionError; *out is set only on ok.
ConvertStatus convertInteger(std::string_view value, int32_t* out);

// Real value, correctly rounded to the 32-bit real. A value too large for
// it is conversionError; one too small for its smallest subnormal gives a
// zero of the value's sign. *out is set only on ok.
ConvertStatus convertReal(std::string_view value, float* out);

}  // namespace eco
