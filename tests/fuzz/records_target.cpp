// Fuzz target: the free-format record reader, and the field editors on the
// values it reads.
//
// Input: the first line lists the items of every read, one letter each:
// i (integer), r (real), t followed by an optional length (text; length 1
// when none is written, at most 4096, all texts together at most 8192);
// other characters are skipped, and a line without any item reads one
// integer. The rest of the input is the file that is read, record by
// record, until its end. Every read is checked against the contract of
// readRecord; the first line is also read as a text field, twice, and as a
// one-line file, which must all agree. The values read (and raw 32-bit
// patterns of the input) are then edited into fixed-width fields, which
// must be exactly as wide as asked and must read back as the value.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "output/edit.h"
#include "records/free_read.h"

namespace {

using eco::ReadItem;
using eco::ReadOutcome;
using eco::ReadResult;

constexpr std::size_t kMaxItems = 24;
constexpr std::size_t kMaxTextLength = 4096;
constexpr std::size_t kMaxTotalText = 8192;
constexpr int32_t kIntSentinel = 0x5A5A5A;
constexpr float kRealSentinel = -7.25e-3f;
// Values kept for the editors: the first ones read, and raw bit patterns
// taken from the start of the input.
constexpr std::size_t kKeptIntegers = 24;
constexpr std::size_t kKeptReals = 24;
constexpr std::size_t kKeptTexts = 6;
constexpr std::size_t kRawReals = 16;

struct ItemShape {
  ReadItem::Kind kind;
  std::size_t length;
};

std::vector<ItemShape> parseItems(std::string_view shape) {
  std::vector<ItemShape> items;
  std::size_t totalText = 0;
  for (std::size_t i = 0; i < shape.size() && items.size() < kMaxItems; ++i) {
    const char c = shape[i];
    if (c == 'i') {
      items.push_back({ReadItem::Kind::integer, 0});
    } else if (c == 'r') {
      items.push_back({ReadItem::Kind::real, 0});
    } else if (c == 't') {
      std::size_t length = 0;
      bool digits = false;
      while (i + 1 < shape.size() && shape[i + 1] >= '0' && shape[i + 1] <= '9') {
        length =
            std::min(kMaxTextLength, length * 10 + static_cast<std::size_t>(shape[i + 1] - '0'));
        digits = true;
        ++i;
      }
      if (!digits) length = 1;
      // A long text is worth one item, not a read of megabytes per record.
      length = std::min(length, kMaxTotalText - std::min(totalText, kMaxTotalText));
      totalText += length;
      items.push_back({ReadItem::Kind::text, length});
    }
  }
  return items;
}

// The destinations of one read, all holding sentinel values before it.
struct Values {
  std::vector<int32_t> ints;
  std::vector<float> reals;
  std::vector<std::string> texts;
  std::vector<ReadItem> items;

  explicit Values(const std::vector<ItemShape>& shape)
      : ints(shape.size(), kIntSentinel), reals(shape.size(), kRealSentinel), texts(shape.size()) {
    for (std::size_t i = 0; i < shape.size(); ++i) {
      texts[i].assign(shape[i].length, '~');
      switch (shape[i].kind) {
        case ReadItem::Kind::integer:
          items.push_back(ReadItem::integer(ints[i]));
          break;
        case ReadItem::Kind::real:
          items.push_back(ReadItem::real(reals[i]));
          break;
        case ReadItem::Kind::text:
          items.push_back(ReadItem::text(texts[i], shape[i].length));
          break;
      }
    }
  }
  Values(const Values&) = delete;
  Values& operator=(const Values&) = delete;

  // Item i holds the same value as item i of `other` (reals bit for bit).
  bool same(const Values& other, std::size_t i) const {
    return ints[i] == other.ints[i] &&
           std::bit_cast<uint32_t>(reals[i]) == std::bit_cast<uint32_t>(other.reals[i]) &&
           texts[i] == other.texts[i];
  }
};

// A snapshot of the values, to see which ones a read changed.
struct Snapshot {
  std::vector<int32_t> ints;
  std::vector<uint32_t> reals;
  std::vector<std::string> texts;
  explicit Snapshot(const Values& v) : ints(v.ints), texts(v.texts) {
    for (float r : v.reals) reals.push_back(std::bit_cast<uint32_t>(r));
  }
  bool unchanged(const Values& v, std::size_t i) const {
    return ints[i] == v.ints[i] && reals[i] == std::bit_cast<uint32_t>(v.reals[i]) &&
           texts[i] == v.texts[i];
  }
};

void checkResult(const ReadResult& r, const Values& v, const std::vector<ItemShape>& shape,
                 const Snapshot& before, std::string_view where, int64_t linesBefore,
                 int64_t linesAfter) {
  const std::string at = " (" + std::string(where) + ")";
  ECO_FUZZ_CHECK(r.satisfied >= 0, "negative count of satisfied items" + at);
  ECO_FUZZ_CHECK(static_cast<std::size_t>(r.satisfied) <= shape.size(),
                 "a read satisfied more items than it was given" + at);
  for (std::size_t i = 0; i < shape.size(); ++i) {
    ECO_FUZZ_CHECK(v.texts[i].size() == shape[i].length,
                   "a text item is not exactly its declared length" + at);
    if (i >= static_cast<std::size_t>(r.satisfied)) {
      ECO_FUZZ_CHECK(before.unchanged(v, i), "an item after the last satisfied one changed" + at);
    }
  }
  if (r.outcome == ReadOutcome::complete) {
    ECO_FUZZ_CHECK(r.report.empty(), "a complete read carries a report" + at);
    ECO_FUZZ_CHECK(linesAfter > linesBefore, "a complete read took no record" + at);
  } else {
    ECO_FUZZ_CHECK(!r.report.empty(), "a failed read has no report" + at);
  }
  if (r.outcome == ReadOutcome::endOfFile) {
    ECO_FUZZ_CHECK(r.report.rfind("end-of-file during read", 0) == 0,
                   "an end of file reported as something else" + at);
  }
  ECO_FUZZ_CHECK(linesAfter >= linesBefore, "the line count went back" + at);
  ECO_FUZZ_CHECK(r.lastLine <= linesAfter, "the read ended beyond the lines taken" + at);
  if (r.firstLine != 0) {
    ECO_FUZZ_CHECK(r.firstLine > linesBefore, "the first value lies before the read" + at);
    ECO_FUZZ_CHECK(r.firstLine <= r.lastLine, "the first value lies after the read's end" + at);
  }
  ECO_FUZZ_CHECK(!r.continued || (r.firstLine != 0 && r.lastLine > r.firstLine),
                 "a read marked continued that stayed on one record" + at);
}

ReadResult readAndCheck(eco::RecordSource& source, Values& v, const std::vector<ItemShape>& shape,
                        std::string_view where) {
  const Snapshot before(v);
  const int64_t linesBefore = source.stream != nullptr ? source.lineNumber : 0;
  const ReadResult r = eco::readRecord(source, v.items);
  checkResult(r, v, shape, before, where, linesBefore, source.lineNumber);
  return r;
}

// The first line read three ways: a text field read twice through the same
// source, and a file holding only that line.
void checkFieldAgreement(const std::string& line, const std::vector<ItemShape>& shape) {
  Values first(shape), second(shape), file(shape);
  eco::RecordSource field = eco::fieldSource(line);
  const ReadResult a = readAndCheck(field, first, shape, "text field");
  const ReadResult b = readAndCheck(field, second, shape, "text field, again");
  std::istringstream in(line);
  eco::RecordSource fileSource = eco::fileSource(in, "one.line", 20);
  const ReadResult c = readAndCheck(fileSource, file, shape, "one-line file");
  ECO_FUZZ_CHECK(a.outcome == b.outcome && a.satisfied == b.satisfied,
                 "a second read of a text field differs from the first");
  ECO_FUZZ_CHECK(a.outcome == c.outcome && a.satisfied == c.satisfied,
                 "a text field and a one-line file read differently");
  for (std::size_t i = 0; i < shape.size(); ++i) {
    ECO_FUZZ_CHECK(first.same(second, i), "a second read of a text field gave another value");
    ECO_FUZZ_CHECK(first.same(file, i), "a text field and a one-line file gave another value");
  }
  if (a.outcome == ReadOutcome::endOfFile) {
    ECO_FUZZ_CHECK(a.report.find("unit -5, file Internal List-Directed Read") != std::string::npos,
                   "a text field's report does not name the internal read");
  }
}

// ---- field editing ----

bool allAsterisks(const std::string& s) {
  return !s.empty() && s.find_first_not_of('*') == std::string::npos;
}

void checkEditF(float x, int w, int d) {
  const std::string s = eco::editF(x, w, d);
  ECO_FUZZ_CHECK(s.size() == static_cast<std::size_t>(std::max(w, 0)),
                 "editF(" + std::to_string(x) + ", " + std::to_string(w) + ", " +
                     std::to_string(d) + ") is " + std::to_string(s.size()) + " characters wide");
  if (w < 1 || allAsterisks(s) || std::isnan(x) || std::isinf(x)) return;
  // A value that fits reads back within half a unit of its last digit.
  const std::size_t start = s.find_first_not_of(' ');
  ECO_FUZZ_CHECK(start != std::string::npos, "editF gave a blank field for a number");
  // A field with no room for the zero in front of the point holds "." alone
  // for a value that rounds to zero without fraction digits.
  const std::string number = s.substr(start) == "." ? std::string("0.") : s.substr(start);
  char* end = nullptr;
  const double back = std::strtod(number.c_str(), &end);
  ECO_FUZZ_CHECK(end == number.c_str() + number.size(),
                 "editF gave a field that is not a number: '" + s + "'");
  const double tolerance = 0.5 * std::pow(10.0, -d) * (1 + 1e-12) + std::fabs(x) * 1e-15;
  ECO_FUZZ_CHECK(std::fabs(back - static_cast<double>(x)) <= tolerance,
                 "editF(" + std::to_string(x) + ", " + std::to_string(w) + ", " +
                     std::to_string(d) + ") = '" + s + "' is not the rounded value");
  ECO_FUZZ_CHECK(s.find('-') == std::string::npos || back != 0.0,
                 "editF wrote a minus sign on a value that rounds to zero: '" + s + "'");
  const std::size_t point = s.find('.');
  ECO_FUZZ_CHECK(point != std::string::npos && s.size() - point - 1 == static_cast<std::size_t>(d),
                 "editF gave another number of fraction digits: '" + s + "'");
}

void checkEditI(int32_t v, int w, int m) {
  const std::string s = eco::editI(v, w, m);
  ECO_FUZZ_CHECK(s.size() == static_cast<std::size_t>(std::max(w, 0)),
                 "editI(" + std::to_string(v) + ", " + std::to_string(w) + ", " +
                     std::to_string(m) + ") is " + std::to_string(s.size()) + " characters wide");
  if (w < 1 || allAsterisks(s)) return;
  std::size_t p = s.find_first_not_of(' ');
  if (p == std::string::npos && m == 0 && v == 0) return;  // Iw.0 of zero: no digit at all
  ECO_FUZZ_CHECK(p != std::string::npos, "editI gave a blank field");
  const bool negative = s[p] == '-';
  if (negative) ++p;
  const std::string digits = s.substr(p);
  ECO_FUZZ_CHECK(!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos,
                 "editI gave a field that is not an integer: '" + s + "'");
  ECO_FUZZ_CHECK(static_cast<int>(digits.size()) >= std::max(m, 1) || (m == 0 && v == 0),
                 "editI gave fewer digits than asked: '" + s + "'");
  const int64_t back = std::stoll(digits) * (negative ? -1 : 1);
  ECO_FUZZ_CHECK(back == v, "editI gave another value: '" + s + "' for " + std::to_string(v));
}

void checkEditA(const std::string& t, int w) {
  const std::string s = eco::editA(t, w);
  ECO_FUZZ_CHECK(s.size() == static_cast<std::size_t>(std::max(w, 0)),
                 "editA is not exactly the width asked");
  if (w < 1) return;
  const std::size_t uw = static_cast<std::size_t>(w);
  const std::string expected =
      uw >= t.size() ? std::string(uw - t.size(), ' ') + t : t.substr(0, uw);
  ECO_FUZZ_CHECK(s == expected, "editA did not right-justify or cut the text");
}

// The formats of the system's own records, with fuzzed values: the record
// is exactly as long as its fields.
void checkRecords(int32_t code, std::span<const float> reals, const std::string& text) {
  std::vector<eco::OutItem> row{eco::OutItem::of(code)};
  for (std::size_t k = 0; k < 12; ++k) row.push_back(eco::OutItem::of(reals[k % reals.size()]));
  auto rows = eco::editRecords("(I2.2,8X,F12.5,2X,11F12.2)", row);
  ECO_FUZZ_CHECK(rows.size() == 1 && rows[0].size() == 156,
                 "a summary-table row is not one record of 156 characters");
  ECO_FUZZ_CHECK(rows[0].substr(2, 8) == std::string(8, ' ') && rows[0].substr(22, 2) == "  ",
                 "a summary-table row has characters where blanks belong");

  std::vector<eco::OutItem> list{eco::OutItem::of(text)};
  for (std::size_t k = 0; k < 5; ++k) list.push_back(eco::OutItem::of(reals[k % reals.size()]));
  rows = eco::editRecords("(A25,5F10.4)", list);
  ECO_FUZZ_CHECK(rows.size() == 1 && rows[0].size() == 75,
                 "a species-list row is not one record of 75 characters");

  const std::vector<eco::OutItem> value{eco::OutItem::of(reals[0]), eco::OutItem::of(text)};
  rows = eco::editRecords("(F15.5,5X,A)", value);
  const std::size_t expected = text.empty() ? 15 : 20 + text.size();
  ECO_FUZZ_CHECK(rows.size() == 1 && rows[0].size() == expected,
                 "a value record is not its field, five blanks and its text");
}

void checkEditing(const std::vector<int32_t>& ints, const std::vector<float>& reals,
                  const std::vector<std::string>& texts) {
  // The system's own fields, then narrow, zero and wide ones.
  static constexpr int kRealFields[][2] = {
      {7, 3},  {8, 1},  {8, 3}, {10, 1}, {10, 2}, {10, 3}, {10, 4}, {12, 2}, {12, 3},  {12, 5},
      {15, 0}, {15, 5}, {0, 0}, {1, 0},  {2, 1},  {3, 0},  {4, 2},  {5, 5},  {20, 10}, {40, 3}};
  static constexpr int kIntegerFields[][2] = {{2, 2}, {2, 1}, {12, 1}, {0, 1},   {1, 1},
                                              {3, 0}, {5, 5}, {11, 1}, {11, 11}, {20, 3}};
  static constexpr int kTextWidths[] = {0, 1, 8, 12, 25, 50, 150};
  for (float x : reals) {
    for (const auto& f : kRealFields) checkEditF(x, f[0], f[1]);
  }
  for (int32_t v : ints) {
    for (const auto& f : kIntegerFields) checkEditI(v, f[0], f[1]);
  }
  for (const std::string& t : texts) {
    for (int w : kTextWidths) checkEditA(t, w);
    checkEditA(t, static_cast<int>(t.size()) + 3);
  }
  const std::string text = texts.empty() ? std::string("Species") : texts.front();
  checkRecords(ints.empty() ? 7 : ints.front(), reals, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string itemLine = input.substr(0, newline);
  const std::string content =
      newline == std::string::npos ? std::string() : input.substr(newline + 1);
  std::vector<ItemShape> shape = parseItems(itemLine);
  // The readers never read an empty list; a read without items has no end.
  if (shape.empty()) shape.push_back({ReadItem::Kind::integer, 0});

  eco::fuzz::enter();
  // Values collected for the editors: a few kept from every read.
  std::vector<int32_t> ints{0, -1, std::numeric_limits<int32_t>::min(),
                            std::numeric_limits<int32_t>::max()};
  std::vector<float> reals{0.0f, -0.0f, 0.025f, std::numeric_limits<float>::quiet_NaN()};
  std::vector<std::string> texts;

  // The file, read as the input readers read theirs: record after record.
  std::istringstream in(content);
  eco::RecordSource source = eco::fileSource(in, "fuzz.DAT", 13);
  const int64_t lines = static_cast<int64_t>(std::count(content.begin(), content.end(), '\n')) + 1;
  int64_t reads = 0;
  for (;;) {
    Values v(shape);
    const ReadResult r = readAndCheck(source, v, shape, "file");
    ++reads;
    if (r.outcome != ReadOutcome::complete) {
      ECO_FUZZ_CHECK(r.report.find(", unit 13, file fuzz.DAT") != std::string::npos,
                     "a report does not name the unit and the file");
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
      if (shape[i].kind == ReadItem::Kind::integer && ints.size() < kKeptIntegers) {
        ints.push_back(v.ints[i]);
      }
      if (shape[i].kind == ReadItem::Kind::real && reals.size() < kKeptReals) {
        reals.push_back(v.reals[i]);
      }
      if (shape[i].kind == ReadItem::Kind::text && texts.size() < kKeptTexts) {
        texts.push_back(v.texts[i]);
      }
    }
    if (r.outcome == ReadOutcome::endOfFile) break;
    // A read takes at least one record, so the file ends after at most one
    // read per line (an error also moves on: the next read starts anew).
    ECO_FUZZ_CHECK(reads <= lines, "more reads than records without reaching the end");
  }

  // A file drops a carriage return before its line feed and may drop a byte
  // order mark at its start; a text field keeps both.
  const std::string firstLine = content.substr(0, content.find('\n'));
  if ((firstLine.empty() || firstLine.back() != '\r') && firstLine.rfind("\xEF\xBB\xBF", 0) != 0) {
    checkFieldAgreement(firstLine, shape);
  }

  // Raw bit patterns: NaNs with payloads, infinities, subnormals.
  for (std::size_t p = 0, n = 0; p + 4 <= size && n < kRawReals; p += 4, ++n) {
    uint32_t bits;
    std::memcpy(&bits, data + p, 4);
    reals.push_back(std::bit_cast<float>(bits));
  }
  checkEditing(ints, reals, texts);
  eco::fuzz::leave();
  return 0;
}
