// Free-format console output.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "output/edit.h"
#include "output/export_text.h"

namespace eco {

namespace {

constexpr size_t lineLength = 80;
constexpr int integerWidth = 12;
constexpr int realWidth = 15;

// The shortest form of a float is at most 15 characters
// ("-1.17549435e-38"), so it always fits.
std::string realField(float value) {
  return editA(std::isnan(value) ? std::string("NaN") : shortestDecimal(value), realWidth);
}

struct Lines {
  std::string done;  // finished lines, each with its '\n'
  std::string line;  // the line being filled

  void newLine() {
    done += line;
    done += '\n';
    line.clear();
  }

  // A number field goes directly at the current position, on a new line
  // when the room left is too small.
  void putField(const std::string& field) {
    if (!line.empty() && line.size() + field.size() > lineLength) newLine();
    line += field;
  }

  // A text is written whole; every line it begins or continues on starts
  // with one blank.
  void putText(std::string_view text) {
    if (line.empty()) line += ' ';
    while (true) {
      if (line.size() >= lineLength) {
        if (text.empty()) return;
        newLine();
        line += ' ';
      }
      const size_t take = std::min(text.size(), lineLength - line.size());
      line.append(text.substr(0, take));
      text.remove_prefix(take);
      if (text.empty()) return;
    }
  }
};

}  // namespace

std::string freeFormat(std::span<const OutItem> items) {
  Lines out;
  for (const OutItem& item : items) {
    switch (item.kind) {
      case OutItem::Kind::text:
        out.putText(item.text);
        break;
      case OutItem::Kind::integer:
        out.putField(editI(item.integer, integerWidth, 1));
        break;
      case OutItem::Kind::real:
        out.putField(realField(item.real));
        break;
    }
  }
  out.newLine();
  return out.done;
}

void writeFree(std::ostream& out, std::span<const OutItem> items) {
  const std::string text = freeFormat(items);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace eco
