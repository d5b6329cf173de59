#pragma once
// A strict reader of RFC 4180 text for the tests: records ended by CR LF,
// fields quoted with doubled quotes inside. Anything else is an error.

#include <string>
#include <vector>

namespace eco::csvtest {

struct Parsed {
  bool ok = true;
  std::string error;
  std::vector<std::vector<std::string>> records;
};

inline Parsed parseCsv(const std::string& text) {
  Parsed p;
  std::vector<std::string> record;
  std::string field;
  std::size_t i = 0;
  auto fail = [&](const std::string& why) {
    p.ok = false;
    p.error = why + " at byte " + std::to_string(i);
    return p;
  };
  while (i < text.size()) {
    if (text[i] == '"') {
      ++i;
      for (;;) {
        if (i >= text.size()) return fail("unterminated quoted field");
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += text[i++];
      }
      if (i < text.size() && text[i] != ',' && text[i] != '\r') {
        return fail("text after a closing quote");
      }
    } else {
      while (i < text.size() && text[i] != ',' && text[i] != '\r') {
        if (text[i] == '"' || text[i] == '\n') return fail("quote or line feed in a bare field");
        field += text[i++];
      }
    }
    if (i >= text.size()) return fail("last record not ended by CR LF");
    record.push_back(field);
    field.clear();
    if (text[i] == ',') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size() || text[i + 1] != '\n') return fail("CR without LF");
    i += 2;
    p.records.push_back(record);
    record.clear();
  }
  return p;
}

}  // namespace eco::csvtest
