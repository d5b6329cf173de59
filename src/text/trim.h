#pragma once
// Stored names and header values are blank padded to their field widths;
// everything that shows them to a person, or uses them as a file or folder
// name, takes them without the padding.

#include <string>
#include <string_view>

namespace eco {

// s without its trailing blanks (only ' ': a tab is part of the text).
inline std::string_view trimBlanks(std::string_view s) {
  const std::size_t end = s.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}

inline std::string trimmed(std::string_view s) { return std::string(trimBlanks(s)); }

}  // namespace eco
