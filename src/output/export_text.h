#pragma once
// Texts and numbers as the exports (CSV, HTML) and the console write them.

#include <string>
#include <string_view>

namespace eco {

// A stored name for the exports: without its trailing blanks and as valid
// UTF-8. The input files are read as bytes; a byte that does not belong to
// a well-formed UTF-8 sequence is taken as Latin-1 (the usual other
// encoding of such files) and converted, so the exports are always UTF-8;
// a character that the 50-byte cut of the stored name split is left out.
std::string exportName(std::string_view stored);

// The shortest decimal that reads back as the same 32-bit number ("0.1",
// "27186.8", "1e-05"); "Inf" and "-Inf" for the infinities; empty for a NaN
// (a missing value).
std::string shortestDecimal(float value);

}  // namespace eco
