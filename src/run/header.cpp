#include "run/header.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "records/diagnostics.h"
#include "records/free_read.h"
#include "records/line_read.h"
#include "text/trim.h"

namespace eco {
namespace {

constexpr std::size_t kLineWidth = 80;
constexpr int kLastScannedColumn = 75;

enum class ValueKind { wholeText, text, logical, integer, digit, none };

struct Keyword {
  std::string_view name;
  ValueKind kind;
  std::string_view readFailure;  // empty: the input layer's report ends the run
  std::string_view checkFailure;
  std::string_view example;  // a valid value, for the located detail
  std::string_view need;     // what the value must be
};

constexpr std::string_view kQuoteText =
    "enclose the value in apostrophes if it holds blanks, slashes, commas or an asterisk";
constexpr std::string_view kWholeNumber = "write a whole number";
constexpr std::string_view kYesNo = "write y (yes) or n (no)";

constexpr std::array<Keyword, 14> kKeywords = {{
    {"[TIT]", ValueKind::wholeText, "", "", "", ""},
    {"[PAI]", ValueKind::text, "error reading input path in header file", "", "'.'", kQuoteText},
    {"[PAO]", ValueKind::text, "error reading output path in header file", "", "'.'", kQuoteText},
    {"[INP]", ValueKind::text, "error reading input file name in header file", "", "survey",
     kQuoteText},
    {"[OUT]", ValueKind::text, "", "", "results", kQuoteText},
    {"[BIO]", ValueKind::logical, "error reading biomass code in header file",
     "wrong code for presence biomass data", "y", kYesNo},
    {"[ASS]", ValueKind::logical, "error reading assessment code in header file",
     "wrong code for presence assessment data", "y", kYesNo},
    {"[MET]", ValueKind::integer, "error reading max no of ecotopes in header file", "", "20",
     kWholeNumber},
    {"[MSP]", ValueKind::integer, "error reading max no of species in header file", "", "500",
     kWholeNumber},
    {"[MST]", ValueKind::integer, "error reading max no of stations in header file", "", "1250",
     kWholeNumber},
    {"[EMS]", ValueKind::integer, "error reading empty species code in header file", "", "999",
     kWholeNumber},
    {"[ARM]", ValueKind::digit, "error rading assessment/reference mode in header file",
     "wrong code for assessment/reference mode - value should be 1,2 or 3", "2",
     "write 1 (summary tables), 2 (both) or 3 (report only)"},
    {"[LLN]", ValueKind::integer, "error reading length of output lists", "", "10", kWholeNumber},
    {"[EOF]", ValueKind::none, "", "", "", ""},
}};

constexpr std::string_view kKeywordList =
    "[TIT] [PAI] [PAO] [INP] [OUT] [BIO] [ASS] [MET] [MSP] [MST] [EMS] [ARM] [LLN] [EOF]";

// The text after a value, from column `rest` (1-based) of the value text,
// that the value's read did not take; empty when only blanks, a comment
// ("#...") or the next keyword ("[...") follow. One comma or slash that
// ends the value (as in "data/") is passed over first.
std::string textNotRead(const std::string& value, std::size_t rest) {
  std::size_t i = rest == 0 ? value.size() : std::min(rest - 1, value.size());
  auto skipBlanks = [&]() {
    while (i < value.size() && value[i] == ' ') ++i;
  };
  skipBlanks();
  if (i < value.size() && (value[i] == ',' || value[i] == '/')) {
    const std::size_t separator = i++;
    skipBlanks();
    if (i < value.size() && value[i] != '#' && value[i] != '[') i = separator;
  }
  if (i >= value.size() || value[i] == '#' || value[i] == '[') return {};
  std::size_t end = value.find_first_of("#[", i);
  if (end == std::string::npos) end = value.size();
  return trimmed(std::string_view(value).substr(i, end - i));
}

// What the user wrote as the value: the value text up to a comment or the
// next keyword, without trailing blanks.
std::string writtenValue(const std::string& value) {
  return trimmed(std::string_view(value).substr(0, value.find_first_of("#[")));
}

void fail(HeaderFlags& flags, std::string_view message) {
  flags.error = true;
  flags.message = std::string(message);
}

// Reads one item from the value text. True when the read completed;
// otherwise the failure has been recorded in the flags: a read error gives
// the keyword's own message when it has one, anything else the input
// layer's report. `rest` receives the column where the text after the
// value begins.
bool readValue(const std::string& value, const ReadItem& item, const Keyword& key,
               HeaderFlags& flags, std::size_t& rest, bool& taken) {
  RecordSource source = fieldSource(value);
  ReadResult r = readRecord(source, std::span<const ReadItem>(&item, 1));
  if (r.outcome == ReadOutcome::complete) {
    rest = r.restColumn;
    taken = r.satisfied > 0 && r.keptItems == 0;
    return true;
  }
  if (r.outcome == ReadOutcome::error && !key.readFailure.empty()) {
    fail(flags, key.readFailure);
  } else {
    flags.inputReport = r.report;
  }
  if (r.outcome == ReadOutcome::endOfFile) {
    flags.detail = std::string(key.name) + " has no value: write it on the keyword's line, e.g. " +
                   std::string(key.name) + " " + std::string(key.example);
  } else {
    flags.detail = std::string(key.name) + " " + shownValue(r.badValue) +
                   " cannot be read: " + std::string(key.need);
  }
  return false;
}

// The value of a logical code: only its first character counts.
bool decodeLogical(char c, bool& value) {
  switch (c) {
    case 'y':
    case 'Y':
    case 't':
    case 'T':
      value = true;
      return true;
    case 'n':
    case 'N':
    case 'f':
    case 'F':
      value = false;
      return true;
    default:
      return false;
  }
}

int32_t* integerField(std::string_view name, RunSettings& s) {
  if (name == "[MET]") return &s.maxet;
  if (name == "[MSP]") return &s.maxspec;
  if (name == "[MST]") return &s.maxstat;
  if (name == "[EMS]") return &s.emptySpeciesCode;
  return &s.listLength;  // "[LLN]"
}

}  // namespace

namespace {

// The keyword of a line: the five characters from column k, read as one
// free-format text. Null with the failure recorded in the flags.
const Keyword* readKeyword(const std::string& line, int k, HeaderFlags& flags) {
  const std::size_t start = static_cast<std::size_t>(k - 1);
  std::string keyword(5, ' ');
  RecordSource source = fieldSource(line.substr(start, 5));
  const ReadItem item = ReadItem::text(keyword, 5);
  if (readRecord(source, std::span<const ReadItem>(&item, 1)).outcome != ReadOutcome::complete) {
    fail(flags, "error reading keyword in header file");
    flags.column = static_cast<std::size_t>(k);
    flags.detail = "the keyword " + shownValue(line.substr(start, 5)) +
                   " cannot be read: the keywords are " + std::string(kKeywordList);
    return nullptr;
  }
  for (const Keyword& candidate : kKeywords) {
    if (keyword == candidate.name) return &candidate;
  }
  fail(flags, "unknown keyword found in header file");
  flags.column = static_cast<std::size_t>(k);
  flags.detail = "unknown keyword " + shownValue(keyword) + ": the keywords are " +
                 std::string(kKeywordList) +
                 ", in capitals; a '[' in columns 1 to 75 always starts a keyword, so no "
                 "value may hold one (a # before it makes the rest of the line a comment)";
  return nullptr;
}

// What a keyword's read left: where the text after the value begins, and
// the value taken as the rest's warning shows it.
struct ValueRead {
  std::size_t rest = 0;
  bool taken = true;
  std::string took;
};

bool readLogicalValue(const std::string& value, const Keyword& key, RunSettings& settings,
                      HeaderFlags& flags, ValueRead& r) {
  std::string code(1, ' ');
  if (!readValue(value, ReadItem::text(code, 1), key, flags, r.rest, r.taken)) return false;
  bool& target = key.name == "[BIO]" ? settings.biomassPresent : settings.presenceAssessment;
  if (!decodeLogical(code[0], target)) {
    fail(flags, key.checkFailure);
    flags.detail = std::string(key.name) + " " + shownValue(writtenValue(value)) +
                   " is not a valid code: " + std::string(key.need);
    return false;
  }
  r.took = shownValue(code);
  // Only the first letter counts, so a word (yes, false) is read whole.
  const std::size_t end = value.find_first_of(" ,/");
  r.rest = (end == std::string::npos ? value.size() : end) + 1;
  return true;
}

// A one-digit integer field: a blank counts as 0.
bool readModeValue(const std::string& value, const Keyword& key, RunSettings& settings,
                   HeaderFlags& flags, ValueRead& r) {
  const char c = value[0];
  if (c != ' ' && (c < '0' || c > '9')) {
    fail(flags, key.readFailure);
    flags.detail = std::string(key.name) + " " + shownValue(writtenValue(value)) +
                   " is not a mode: " + std::string(key.need);
    return false;
  }
  settings.mode = c == ' ' ? 0 : c - '0';
  if (settings.mode < 1 || settings.mode > 3) {
    fail(flags, key.checkFailure);
    flags.detail = c == ' ' ? std::string(key.name) + " has no value: " + std::string(key.need)
                            : std::string(key.name) + " " + shownValue(writtenValue(value)) +
                                  " is not a mode: " + std::string(key.need);
    return false;
  }
  r.took = std::string(1, c);
  r.rest = 2;
  return true;
}

// Reads the value of a keyword with one; false with the failure recorded.
bool readKeywordValue(const std::string& value, const Keyword& key, RunSettings& settings,
                      HeaderFlags& flags, ValueRead& r) {
  switch (key.kind) {
    case ValueKind::none:
    case ValueKind::wholeText:
      break;
    case ValueKind::text: {
      std::string* field = key.name == "[PAI]"   ? &settings.inputPath
                           : key.name == "[PAO]" ? &settings.outputPath
                           : key.name == "[INP]" ? &settings.inputName
                                                 : &settings.outputName;
      if (!readValue(value, ReadItem::text(*field, field->size()), key, flags, r.rest, r.taken)) {
        return false;
      }
      r.took = shownValue(trimmed(*field));
      return true;
    }
    case ValueKind::logical:
      return readLogicalValue(value, key, settings, flags, r);
    case ValueKind::integer: {
      int32_t* field = integerField(key.name, settings);
      if (!readValue(value, ReadItem::integer(*field), key, flags, r.rest, r.taken)) return false;
      r.took = std::to_string(*field);
      return true;
    }
    case ValueKind::digit:
      return readModeValue(value, key, settings, flags, r);
  }
  return true;
}

// The warning about text after a value that was not read, or empty.
std::string unreadText(const std::string& value, const Keyword& key, const ValueRead& r) {
  const std::string left = textNotRead(value, r.rest);
  if (left.empty()) return {};
  std::string text = std::string(key.name) + " took " +
                     (r.taken ? "the value " + r.took : std::string("no value (a slash ends it)")) +
                     "; the rest of the line, " + shownValue(left) + ", was not read: ";
  if (key.kind == ValueKind::text) {
    return text + "enclose a value with blanks, slashes or commas in apostrophes, e.g. " +
           std::string(key.name) + " '" + writtenValue(value) + "'";
  }
  if (key.kind == ValueKind::digit)
    return text + "only the first character counts; " + std::string(key.need);
  return text + "write only the value after the keyword (a comment starts with #)";
}

}  // namespace

void readHeaderLine(const std::string& lineIn, int k, RunSettings& settings, HeaderFlags& flags,
                    std::string* unread) {
  const std::string line = fixedText(lineIn, kLineWidth);
  const Keyword* key = readKeyword(line, k, flags);
  if (key == nullptr) return;
  if (key->kind == ValueKind::none) {
    flags.end = true;
    return;
  }
  // The value text: the rest of the line without its leading blanks.
  const std::size_t start = static_cast<std::size_t>(k - 1);
  std::string value = start + 5 < line.size() ? line.substr(start + 5) : std::string();
  const std::size_t first = value.find_first_not_of(' ');
  value = fixedText(first == std::string::npos ? std::string() : value.substr(first), kLineWidth);
  if (key->kind == ValueKind::wholeText) {
    settings.title = value;
    return;
  }
  ValueRead r;
  if (!readKeywordValue(value, *key, settings, flags, r)) return;
  if (unread != nullptr) *unread = unreadText(value, *key, r);
}

namespace {

// The warnings about the text of one header line that is never read.
void checkColumns(const std::string& raw, const std::string& fileName, int64_t lineNumber) {
  const std::size_t hash = raw.find('#');
  // A keyword past column 75 is never scanned.
  std::size_t warnedUpTo = 0;
  for (std::size_t i = kLastScannedColumn; i < raw.size(); ++i) {
    if (raw[i] != '[' || (hash != std::string::npos && hash < i)) continue;
    const std::string word = raw.substr(i, 5);
    for (const Keyword& k : kKeywords) {
      if (word != k.name) continue;
      warnAt(fileName, lineNumber, "header column",
             "keyword " + word + " at column " + std::to_string(i + 1) +
                 " was not read: keywords must start in columns 1 to 75; put it on a line of "
                 "its own");
      warnedUpTo = i + word.size();
    }
  }
  // Only the first 80 columns of a line are read (a keyword cut there has
  // been named already).
  if (raw.size() > kLineWidth && (hash == std::string::npos || hash >= kLineWidth)) {
    const std::size_t from = std::max(kLineWidth, warnedUpTo);
    const std::string beyond = trimmed(std::string_view(raw).substr(std::min(from, raw.size())));
    if (beyond.find_first_not_of(" \t") != std::string::npos) {
      warnAt(fileName, lineNumber, "header column",
             "the text beyond column 80, " + shownValue(beyond) +
                 ", was not read: a header line holds 80 columns; shorten the line");
    }
  }
}

// A keyword "without a value" whose value stands beyond column 80, where a
// header line is no longer read: the detail says so.
void valueBeyondColumn80(const std::string& raw, const std::string& keyword, HeaderFlags& flags) {
  if (flags.detail.rfind(keyword + " has no value", 0) != 0 || raw.size() <= kLineWidth) return;
  const std::string beyond = trimmed(std::string_view(raw).substr(kLineWidth));
  const std::size_t first = beyond.find_first_not_of(" \t");
  if (first == std::string::npos) return;
  flags.detail =
      keyword + " has no value in the 80 columns of its line: " + shownValue(beyond.substr(first)) +
      " stands beyond column 80, where a header line is not read; write the value "
      "next to its keyword";
}

// The output files a run of these settings creates, for the empty [OUT],
// in the order they are created.
std::string outputExtensions(const RunSettings& s, const HeaderFlags& flags) {
  std::string list;
  const auto add = [&list](const char* names) {
    list += (list.empty() ? "" : ", ") + std::string(names);
  };
  if (writesTables(s)) add(s.biomassPresent ? ".SIM, .DEN, .BIO, .NSP" : ".SIM, .DEN, .NSP");
  if (writesTables(s) && flags.csv) add(".tables.csv");
  if (writesReport(s)) add(flags.csv ? ".ASS, .assessment.csv, .species.csv" : ".ASS");
  if (flags.html) add(".html");
  return list;
}

bool failWith(HeaderFlags& flags, const std::string& fileName, int64_t line,
              const std::string& text) {
  flags.detail = failureLine(fileName, line, 0, text);
  return false;
}

}  // namespace

bool readHeaderFile(std::istream& in, const std::string& fileName, RunSettings& settings,
                    HeaderFlags& flags) {
  int64_t lineNumber = 0;
  std::string raw;
  while (true) {
    const LineRead got = readLine(in, raw);
    if (got == LineRead::readError) {
      fail(flags, "error in reading header file");
      return failWith(flags, fileName, lineNumber + 1,
                      "the header file could not be read (an input/output error of the disk or "
                      "the network share): copy it to a sound local disk and run again");
    }
    if (got == LineRead::tooLong) {
      flags.inputReport = "line too long, unit " + std::to_string(kHeaderUnit) + ", file " +
                          fileName + ", line " + std::to_string(lineNumber + 1);
      return failWith(flags, fileName, lineNumber + 1,
                      "the line is longer than 16 MiB, so this is not a header file (a device "
                      "or a binary file?): give the name of the header file");
    }
    if (got == LineRead::end) {
      flags.inputReport = "end-of-file during read, unit " + std::to_string(kHeaderUnit) +
                          ", file " + fileName + ", line " + std::to_string(lineNumber + 1);
      return failWith(flags, fileName, 0,
                      lineNumber == 0
                          ? std::string("the header file is empty: write the "
                                        "keywords of the run into it, ending with "
                                        "a line [EOF]")
                          : "the header file ends after line " + std::to_string(lineNumber) +
                                " without [EOF]: end it with a line [EOF]");
    }
    if (lineNumber == 0) dropByteOrderMark(raw);
    ++lineNumber;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::string line = fixedText(raw, kLineWidth);
    for (int k = 1; k <= kLastScannedColumn; ++k) {
      const char c = line[static_cast<std::size_t>(k - 1)];
      if (c == '#') break;
      if (c != '[') continue;
      std::string unread;
      readHeaderLine(line, k, settings, flags, &unread);
      if (!flags.inputReport.empty()) flags.inputReport += ", line " + std::to_string(lineNumber);
      if (flags.error || !flags.inputReport.empty()) {
        valueBeyondColumn80(raw, line.substr(static_cast<std::size_t>(k - 1), 5), flags);
        flags.detail = failureLine(fileName, lineNumber, flags.column, flags.detail);
        return false;
      }
      flags.lines[line.substr(static_cast<std::size_t>(k - 1), 5)] = lineNumber;
      if (!unread.empty()) warnAt(fileName, lineNumber, "header value", unread);
      if (flags.end) {
        if (trimmed(settings.outputName).empty()) {
          const auto out = flags.lines.find("[OUT]");
          warnAt(fileName, out == flags.lines.end() ? 0 : out->second, "empty output name",
                 "[OUT] gives no base name, so the output files are named " +
                     outputExtensions(settings, flags) +
                     ", hidden files on most systems: give a base name, e.g. [OUT] results");
        }
        return true;
      }
    }
    checkColumns(raw, fileName, lineNumber);
  }
}

}  // namespace eco
