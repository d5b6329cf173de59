// Format control: reading a format text, editing items into records and
// writing records to files and to the console.

#include "output/edit.h"

#include <cctype>
#include <optional>

namespace eco {

namespace {

struct Descriptor {
  enum class Kind { text, integer, real, skip, slash };
  Kind kind = Kind::text;
  int repeat = 1;
  int width = 0;   // 0 for a bare A: the text's own length
  int digits = 0;  // m of Iw.m, d of Fw.d
  bool isData() const { return kind == Kind::text || kind == Kind::integer || kind == Kind::real; }
};

// Numbers in a format are small; anything beyond this is a malformed text,
// and the bound keeps field widths and repeat counts far from overflow.
constexpr int maxNumber = 32767;

std::optional<int> readNumber(std::string_view s, size_t& i) {
  if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
  int n = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    n = n * 10 + (s[i] - '0');
    if (n > maxNumber) return std::nullopt;
    ++i;
  }
  return n;
}

// Parses one descriptor at s[i] (blanks already removed); advances i past
// it. Returns nothing when the text there is not a descriptor.
std::optional<Descriptor> readDescriptor(std::string_view s, size_t& i) {
  Descriptor desc;
  if (i < s.size() && s[i] == '/') {
    ++i;
    desc.kind = Descriptor::Kind::slash;
    return desc;
  }
  std::optional<int> count;
  if (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    count = readNumber(s, i);
    if (!count || *count < 1) return std::nullopt;
  }
  if (i >= s.size()) return std::nullopt;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
  ++i;
  const bool hasNumber = i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]));
  switch (letter) {
    case 'X':
      // nX: the count is the distance, not a repeat count.
      if (!count) return std::nullopt;
      desc.kind = Descriptor::Kind::skip;
      desc.width = *count;
      return desc;
    case 'A':
      desc.kind = Descriptor::Kind::text;
      if (hasNumber) {
        const auto w = readNumber(s, i);
        if (!w || *w < 1) return std::nullopt;
        desc.width = *w;
      }
      break;
    case 'I':
    case 'F': {
      desc.kind = letter == 'I' ? Descriptor::Kind::integer : Descriptor::Kind::real;
      const auto w = readNumber(s, i);
      if (!w || *w < 1) return std::nullopt;
      desc.width = *w;
      desc.digits = 1;
      const bool hasPoint = i < s.size() && s[i] == '.';
      if (hasPoint) {
        ++i;
        const auto m = readNumber(s, i);
        if (!m) return std::nullopt;
        desc.digits = *m;
      } else if (letter == 'F') {
        return std::nullopt;  // Fw needs its .d
      }
      break;
    }
    default:
      return std::nullopt;
  }
  desc.repeat = count.value_or(1);
  return desc;
}

// Reads a format text: leading blanks, "(", descriptors separated by
// commas (optional next to "/"), ")"; blanks inside are ignored, anything
// after the closing parenthesis too.
std::optional<std::vector<Descriptor>> readFormat(std::string_view format) {
  size_t start = format.find_first_not_of(' ');
  if (start == std::string_view::npos || format[start] != '(') return std::nullopt;
  const size_t close = format.find(')', start);
  if (close == std::string_view::npos) return std::nullopt;
  std::string body;
  for (size_t k = start + 1; k < close; ++k) {
    if (format[k] != ' ') body += format[k];
  }
  std::vector<Descriptor> list;
  size_t i = 0;
  bool needSeparator = false;  // after a descriptor other than "/"
  bool afterComma = false;
  while (i < body.size()) {
    if (body[i] == ',') {
      if (list.empty() || afterComma) return std::nullopt;
      afterComma = true;
      needSeparator = false;
      ++i;
      continue;
    }
    if (needSeparator && body[i] != '/') return std::nullopt;
    const auto desc = readDescriptor(body, i);
    if (!desc) return std::nullopt;
    list.push_back(*desc);
    needSeparator = desc->kind != Descriptor::Kind::slash;
    afterComma = false;
  }
  if (afterComma) return std::nullopt;
  return list;
}

std::string editItem(const Descriptor& desc, const OutItem& item) {
  switch (desc.kind) {
    case Descriptor::Kind::text:
      if (item.kind != OutItem::Kind::text)
        return std::string(desc.width > 0 ? desc.width : 1, '*');
      return desc.width > 0 ? editA(item.text, desc.width) : item.text;
    case Descriptor::Kind::integer:
      if (item.kind != OutItem::Kind::integer) return std::string(desc.width, '*');
      return editI(item.integer, desc.width, desc.digits);
    case Descriptor::Kind::real:
      if (item.kind != OutItem::Kind::real) return std::string(desc.width, '*');
      return editF(item.real, desc.width, desc.digits);
    default:
      return {};
  }
}

}  // namespace

void appendReals(std::vector<OutItem>& items, std::span<const float> values) {
  for (const float v : values) items.push_back(OutItem::of(v));
}

std::vector<std::string> editRecords(std::string_view format, std::span<const OutItem> items) {
  const auto list = readFormat(format);
  if (!list) return {};

  std::vector<std::string> records;
  std::string record;
  size_t pos = 0;   // 0-based position of the next character
  size_t next = 0;  // next item
  bool anyData = false;
  for (const Descriptor& desc : *list) anyData = anyData || desc.isData();

  while (true) {
    for (const Descriptor& desc : *list) {
      for (int r = 0; r < desc.repeat; ++r) {
        if (desc.kind == Descriptor::Kind::slash) {
          records.push_back(std::move(record));
          record.clear();
          pos = 0;
        } else if (desc.kind == Descriptor::Kind::skip) {
          // Only moves the position; the blanks appear if a field follows.
          pos += static_cast<size_t>(desc.width);
        } else {
          if (next >= items.size()) {
            records.push_back(std::move(record));
            return records;
          }
          const std::string field = editItem(desc, items[next++]);
          if (!field.empty()) {
            // Fields only ever move right, so the record never reaches
            // beyond the position.
            record.resize(pos, ' ');
            record += field;
            pos += field.size();
          }
        }
      }
    }
    // The closing parenthesis ends the record. Items still left (never
    // the case in the system's own writes) take the format over again.
    records.push_back(std::move(record));
    record.clear();
    pos = 0;
    if (next >= items.size() || !anyData) return records;
  }
}

void writeRecords(std::ostream& out, const std::vector<std::string>& records) {
  for (const std::string& rec : records) {
    out.write(rec.data(), static_cast<std::streamsize>(rec.size()));
    out.write("\r\n", 2);
  }
}

void write(std::ostream& out, std::string_view format, std::span<const OutItem> items) {
  writeRecords(out, editRecords(format, items));
}

void writeConsoleRecords(std::ostream& out, const std::vector<std::string>& records) {
  for (const std::string& rec : records) {
    out.write(rec.data(), static_cast<std::streamsize>(rec.size()));
    out.put('\n');
  }
}

std::string buildHeaderFormat(int32_t count) {
  // The format is itself the result of a fixed-format write into a
  // 150-character text, so a count outside 0..99 would show as "**".
  const OutItem items[] = {OutItem::of("(A8,2X,A12,2X,"), OutItem::of(count),
                           OutItem::of("F12.3)")};
  const auto records = editRecords("(A,I2,A)", items);
  std::string text = records.empty() ? std::string() : records.front();
  text.resize(150, ' ');
  return text;
}

}  // namespace eco
