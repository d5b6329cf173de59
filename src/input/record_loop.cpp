#include "input/record_loop.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "records/diagnostics.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace eco {
namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

// `text` without its first `count` values (separated by blanks or commas).
std::string dropValues(const std::string& text, int count) {
  std::size_t i = 0;
  for (int v = 0; v < count; ++v) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    while (i < text.size() && !isSeparator(text[i])) ++i;
  }
  while (i < text.size() && isSeparator(text[i])) ++i;
  return text.substr(i);
}

std::string joined(std::span<const std::string_view> names, uint64_t mask) {
  std::string s;
  int count = 0, total = 0;
  for (std::size_t i = 0; i < names.size() && i < 64; ++i) total += (mask >> i) & 1 ? 1 : 0;
  for (std::size_t i = 0; i < names.size() && i < 64; ++i) {
    if (((mask >> i) & 1) == 0) continue;
    ++count;
    if (count > 1) s += count == total ? " and " : ", ";
    s += names[i];
  }
  return s;
}

std::string allNames(std::span<const std::string_view> names) {
  return joined(names, names.size() >= 64 ? ~uint64_t{0} : (uint64_t{1} << names.size()) - 1);
}

// The names of the items a record has (without the biomass under [BIO] n).
std::string recordNames(const RecordReader& r) {
  return allNames(r.names.first(std::min(r.names.size(), r.items.size())));
}

// The first `n` items all took null values: the record's lines held nothing
// but commas and blanks, which is how a spreadsheet writes an empty row.
bool onlyNulls(const ReadResult& result, int n) {
  if (n <= 0 || result.slash) return false;
  const uint64_t want = n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
  return (result.keptItems & want) == want;
}

constexpr const char* kEmptyRow = "holds only commas (an empty row of a spreadsheet)";
constexpr const char* kQuoteInName =
    "an apostrophe inside a name is written twice ('Devil''s bit'), or the name is put in "
    "quotation marks (\"Devil's bit\")";

std::string nameOf(const RecordReader& r, int item) {
  if (item < 0 || static_cast<std::size_t>(item) >= r.names.size()) return "value";
  return std::string(r.names[static_cast<std::size_t>(item)]);
}

// Digits with an optional sign, point and exponent (with its digits): a
// value the conversion refuses only for its size.
bool isCompleteNumber(const std::string& v) {
  std::size_t i = 0;
  auto digits = [&]() {
    const std::size_t from = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
    return i - from;
  };
  if (i < v.size() && (v[i] == '+' || v[i] == '-')) ++i;
  std::size_t mantissa = digits();
  if (i < v.size() && v[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < v.size() && std::string("eEdDqQ").find(v[i]) != std::string::npos) {
    ++i;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == v.size();
}

// The values of a record, split at blanks, tabs, commas and semicolons,
// a quoted value taken whole: only to recognise what a record looks like.
std::vector<std::string> roughValues(const std::string& record) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < record.size()) {
    const char c = record[i];
    if (isSeparator(c) || c == ';') {
      ++i;
    } else if (c == '\'' || c == '"') {
      const std::size_t close = record.find(c, i + 1);
      const std::size_t end = close == std::string::npos ? record.size() : close;
      out.push_back(record.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      std::size_t end = i;
      while (end < record.size() && !isSeparator(record[end]) && record[end] != ';') ++end;
      out.push_back(record.substr(i, end - i));
      i = end;
    }
  }
  return out;
}

constexpr const char* kImportNote =
    "or let ecoassess import read the spreadsheet's CSV file (guide, section 3)";

// What a record that fails on its first value probably is: a line of
// column names, or a species or ecotope record with its two columns
// swapped. Empty when it looks like neither.
std::string recordShapeHint(const RecordReader& r, const ReadResult& result) {
  if (result.badItem != 0) return "";
  const std::vector<std::string> values = roughValues(result.badRecord);
  if (values.size() < 2) return "";
  const bool named = r.kind == "species" || r.kind == "ecotope";
  if (named && !isCompleteNumber(values.front()) && isCompleteNumber(values.back())) {
    return "the " + nameOf(r, 0) + " " + shownValue(result.badValue) +
           " is not a number, and the record ends with the number " + shownValue(values.back()) +
           ": the two columns seem swapped; a " + std::string(r.kind) +
           " record is the code, then the name, e.g. 1 'Festuca rubra'";
  }
  if (r.line != 0) return "";
  for (const std::string& v : values) {
    if (isCompleteNumber(v)) return "";
  }
  return "line " + std::to_string(result.lastLine) + " looks like a line of column names (" +
         shownValue(result.badRecord) + "): the input files hold records only; delete the line, " +
         kImportNote;
}

// The located detail of a value the input layer could not read.
std::string badValueText(const RecordReader& r, const ReadResult& result) {
  const std::string value = shownValue(result.badValue);
  const std::string name = nameOf(r, result.badItem);
  if (result.badValue.find(';') != std::string::npos) {
    return "the " + name + " " + value +
           " is not a number: the values are separated by semicolons, but the input files take "
           "blanks or commas between values; replace the semicolons, " +
           kImportNote;
  }
  if (const std::string shape = recordShapeHint(r, result); !shape.empty()) return shape;
  const bool integer =
      result.badItem >= 0 && static_cast<std::size_t>(result.badItem) < r.items.size() &&
      r.items[static_cast<std::size_t>(result.badItem)].kind == ReadItem::Kind::integer;
  switch (result.hint) {
    case ReadResult::Hint::byteOrderMark:
      return "the " + name + " " + value +
             " is not a number: it holds a byte order mark, an invisible mark that some "
             "programs write at the start of a file (only one at the very start of a file is "
             "passed over): remove it, e.g. by saving the file again as plain text";
    case ReadResult::Hint::decimalComma:
      return "the " + name + " " + value +
             " is not a number: it follows a decimal comma; write decimals with a point (2.5, "
             "not 2,5)";
    case ReadResult::Hint::quoted:
      return "the " + name + " " + value + " is quoted, but it must be a number: remove the quotes";
    case ReadResult::Hint::junkAfterQuote:
      return value +
             " follows directly after a closing quote: an apostrophe inside a name ends it; "
             "enclose such a name in quotation marks (\"Devil's bit\") or double the apostrophe "
             "('Devil''s bit')";
    case ReadResult::Hint::letter:
    case ReadResult::Hint::none:
      break;
  }
  if (result.report.rfind("input conversion error", 0) == 0) {
    if (!isCompleteNumber(result.badValue)) {
      return "the " + name + " " + value + " is not a complete number: correct the value";
    }
    return "the " + name + " " + value +
           (integer ? " is out of range for a whole number (-2147483648 to 2147483647)"
                    : " is out of range for a real number (at most about 3.4E38)") +
           ": correct the value";
  }
  if (result.hint == ReadResult::Hint::letter) {
    return "the " + name + " " + value + " is not a number: it holds a letter; correct the value";
  }
  return "the " + name + " " + value + " is not a number: correct the value";
}

void warnLeftover(RecordReader& r, const ReadResult& result) {
  const std::string& file = r.source.fileName;
  std::string unread = result.unread;
  const bool decimalComma = result.decimalCommaLine == r.line && result.decimalCommaColumn != 0;
  // A decimal comma in the last value leaves its decimals where the
  // biomass of [BIO] n would stand: it is named, not taken for a biomass.
  if (r.expectedExtra > 0 && !decimalComma) {
    const std::string rest = dropValues(unread, r.expectedExtra);
    if (rest.size() < unread.size() && !r.extraTold) {
      r.extraTold = true;
      warnAt(file, r.line, "ignored value", r.extraNote);
    }
    if (rest.empty()) return;
    unread = rest;
  }
  std::string text = "values not read at the end of the line: " + shownValue(unread) +
                     "; the record was read as " + valuesAsRead(r.items);
  if (decimalComma) {
    text += "; " + shownValue(result.decimalCommaText) +
            " looks like a decimal comma: write decimals with a point";
  } else if (result.unreadAfterQuote) {
    text +=
        "; an apostrophe inside a quoted name ends it: enclose the name in quotation marks "
        "(\"Devil's bit\") or double the apostrophe ('Devil''s bit')";
  } else if (result.unreadAfterText) {
    text += "; a name with blanks must be quoted ('Salt marsh')";
  } else {
    text += "; remove the extra values or check the columns";
  }
  warnAt(file, r.line, "unread value", text);
}

void warnKept(const RecordReader& r, const ReadResult& result) {
  const uint64_t all = r.items.size() >= 64 ? ~uint64_t{0} : (uint64_t{1} << r.items.size()) - 1;
  const uint64_t kept = result.keptItems & all;
  const std::string what =
      kept == all ? std::string("no value at all") : "no value for the " + joined(r.names, kept);
  std::string text = "the record gives " + what + " (" +
                     (result.slash ? "a slash ends it" : "null values") + "): ";
  if (kept == all && !result.slash) {
    text = std::string("the line ") + kEmptyRow + ": it is read as a record of null values ";
    if (r.previousLine > 0) {
      text += "that repeats the values of line " + std::to_string(r.previousLine) +
              ", so that observation is counted again; delete the empty row";
    } else {
      text += "taken as 0 or blank; delete the empty row";
    }
    warnAt(r.source.fileName, r.line, "repeated value", text);
    return;
  }
  if (r.previousLine > 0) {
    text += std::string(kept == all ? "it repeats" : "they keep") + " the values of line " +
            std::to_string(r.previousLine) +
            ", so that observation is counted again; write every value of the record";
  } else {
    text += "they are taken as 0 or blank; write every value of the record";
  }
  warnAt(r.source.fileName, r.line, "repeated value", text);
}

}  // namespace

RecordReader recordReader(std::istream& in, const std::string& fileName, int unit,
                          std::string_view kind, std::span<const ReadItem> items,
                          std::span<const std::string_view> names) {
  RecordReader r;
  r.source = fileSource(in, fileName, unit);
  r.kind = kind;
  r.items = items;
  r.names = names;
  return r;
}

std::string capacityLimit(std::string_view keyword, int32_t value) {
  if (value <= 0) return std::string(keyword) + " allows (it is 0 or less: none)";
  return std::string(keyword) + " " + std::to_string(value) + " allows";
}

std::string valuesAsRead(std::span<const ReadItem> items) {
  std::string s;
  for (const ReadItem& item : items) {
    if (!s.empty()) s += ' ';
    switch (item.kind) {
      case ReadItem::Kind::integer:
        s += std::to_string(*item.integerValue);
        break;
      case ReadItem::Kind::real:
        s += shortestText(*item.realValue);
        break;
      case ReadItem::Kind::text:
        s += shownValue(trimmed(*item.textValue));
        break;
    }
  }
  return s;
}

namespace {

// The file ends inside a record.
void failRecordCutOff(const RecordReader& r, const ReadResult& result, InputStatus& status) {
  status.inputLayer = false;
  status.message = "record with too few values in " + std::string(r.kind) + " file, line " +
                   std::to_string(result.firstLine);
  status.detail = failureLine(
      r.source.fileName, result.openQuoteLine != 0 ? result.openQuoteLine : result.firstLine, 0,
      result.openQuoteLine != 0
          ? "the quote that starts the " + nameOf(r, result.satisfied) +
                " is never closed, so it runs on to the end of the file: close the quote (" +
                kQuoteInName + ")"
      : onlyNulls(result, result.satisfied)
          ? std::string("the line ") + kEmptyRow +
                ": it starts a record, and the file ends before the record's " +
                nameOf(r, result.satisfied) + "; delete the empty rows at the end of the file"
          : "the file ends before the record's " + nameOf(r, result.satisfied) +
                ": write all values of a record (" + recordNames(r) + ") on its line");
}

// A record that took values from the next line and left the rest of it.
void failRecordRunOn(const RecordReader& r, const ReadResult& result, InputStatus& status) {
  status.inputLayer = false;
  status.message = "record with too few values in " + std::string(r.kind) + " file, line " +
                   std::to_string(result.firstLine);
  if (result.openQuoteLine != 0) {
    status.detail =
        failureLine(r.source.fileName, result.openQuoteLine, 0,
                    "the quote that starts the " + nameOf(r, result.satisfiedOnFirstLine) +
                        " is not closed on its line, so the value runs on to line " +
                        std::to_string(result.lastLine) + ", and the rest of that line " +
                        "would be lost: close the quote (" + kQuoteInName + ")");
    return;
  }
  status.detail = failureLine(
      r.source.fileName, result.firstLine, 0,
      "the record ends before its " + nameOf(r, result.satisfiedOnFirstLine) +
          ", so it would take it from line " + std::to_string(result.lastLine) +
          " and lose the rest of that line: " +
          (onlyNulls(result, result.satisfiedOnFirstLine)
               ? "line " + std::to_string(result.firstLine) + " " + kEmptyRow + ": delete it"
               : "write all values of a record (" + recordNames(r) + ") on its line"));
}

// A read error of the input layer: a value that cannot be read, or a
// stream that failed.
void failRead(const RecordReader& r, const ReadResult& result, InputStatus& status) {
  status.inputLayer = true;
  status.message = result.report + ", line " + std::to_string(result.lastLine);
  if (!result.streamFailed) {
    status.detail =
        failureLine(r.source.fileName, result.lastLine, result.badColumn, badValueText(r, result));
    return;
  }
  status.detail = failureLine(
      r.source.fileName, result.lastLine, 0,
      result.report.rfind("read error", 0) == 0
          ? "the file could not be read (an input/output error of the disk or the network "
            "share): copy it to a sound local disk and run again"
          : "the line is longer than 16 MiB, so this is not a file of records (a device "
            "or a binary file?): check [INP] and the file");
}

// The warnings about a record that was read.
void warnAboutRecord(RecordReader& r, const ReadResult& result) {
  if (result.keptItems != 0) warnKept(r, result);
  if (result.leftover) {
    warnLeftover(r, result);
  } else if (result.decimalCommaColumn != 0) {
    warnAt(r.source.fileName, result.decimalCommaLine, "decimal comma",
           shownValue(result.decimalCommaText) +
               " was read as two values (a decimal comma?): write decimals with a point; the "
               "record was read as " +
               valuesAsRead(r.items));
  }
}

}  // namespace

NextRecord nextRecord(RecordReader& r, InputStatus& status) {
  const ReadResult result = readRecord(r.source, r.items);
  if (result.outcome == ReadOutcome::endOfFile && result.satisfied > 0) {
    failRecordCutOff(r, result, status);
    return NextRecord::failed;
  }
  if (result.outcome == ReadOutcome::complete && result.continued && result.leftover) {
    failRecordRunOn(r, result, status);
    return NextRecord::failed;
  }
  if (result.outcome == ReadOutcome::endOfFile) return NextRecord::end;
  if (result.outcome == ReadOutcome::error) {
    failRead(r, result, status);
    return NextRecord::failed;
  }
  r.previousLine = r.line;
  r.line = result.firstLine;
  warnAboutRecord(r, result);
  return NextRecord::record;
}

}  // namespace eco
