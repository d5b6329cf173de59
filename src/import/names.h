#pragma once
// Names as the species and ecotope files hold them: one line, at most 50
// bytes, whole UTF-8 characters.

#include <string>
#include <string_view>

namespace eco {

inline constexpr std::size_t kNameBytes = 50;

// `name` with every control character (line breaks, tabs) as a blank, cut
// to at most kNameBytes bytes before a UTF-8 character the cut would split.
// *cut tells whether anything was cut off.
std::string fileName50(std::string_view name, bool* cut);

// `name` as a quoted item of a record: in apostrophes with an inner
// apostrophe doubled, or in quotation marks when it holds an apostrophe
// and no quotation mark.
std::string quotedItem(std::string_view name);

}  // namespace eco
