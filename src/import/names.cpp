#include "import/names.h"

namespace eco {

std::string fileName50(std::string_view name, bool* cut) {
  std::string s;
  for (char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    s += u < 0x20 || u == 0x7F ? ' ' : c;
  }
  *cut = s.size() > kNameBytes;
  if (!*cut) return s;
  std::size_t end = kNameBytes;
  // Back over continuation bytes to the lead byte of the split character.
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  return s.substr(0, end);
}

std::string quotedItem(std::string_view name) {
  const bool apostrophe = name.find('\'') != std::string_view::npos;
  if (apostrophe && name.find('"') == std::string_view::npos) {
    return "\"" + std::string(name) + "\"";
  }
  std::string q = "'";
  for (char c : name) q += c == '\'' ? std::string("''") : std::string(1, c);
  return q + "'";
}

}  // namespace eco
