#include "run/header.h"

#include <array>
#include <string_view>

#include "records/free_read.h"

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
};

constexpr std::array<Keyword, 14> kKeywords = {{
    {"[TIT]", ValueKind::wholeText, "", ""},
    {"[PAI]", ValueKind::text, "error reading input path in header file", ""},
    {"[PAO]", ValueKind::text, "error reading output path in header file", ""},
    {"[INP]", ValueKind::text, "error reading input file name in header file", ""},
    {"[OUT]", ValueKind::text, "", ""},
    {"[BIO]", ValueKind::logical, "error reading biomass code in header file",
     "wrong code for presence biomass data"},
    {"[ASS]", ValueKind::logical, "error reading assessment code in header file",
     "wrong code for presence assessment data"},
    {"[MET]", ValueKind::integer, "error reading max no of ecotopes in header file", ""},
    {"[MSP]", ValueKind::integer, "error reading max no of species in header file", ""},
    {"[MST]", ValueKind::integer, "error reading max no of stations in header file", ""},
    {"[EMS]", ValueKind::integer, "error reading empty species code in header file", ""},
    {"[ARM]", ValueKind::digit, "error rading assessment/reference mode in header file",
     "wrong code for assessment/reference mode - value should be 1,2 or 3"},
    {"[LLN]", ValueKind::integer, "error reading length of output lists", ""},
    {"[EOF]", ValueKind::none, "", ""},
}};

void fail(HeaderFlags& flags, std::string_view message) {
  flags.error = true;
  flags.message = std::string(message);
}

// Reads one item from the value text. True when the read completed;
// otherwise the failure has been recorded in the flags: a read error gives
// the keyword's own message when it has one, anything else the input
// layer's report.
bool readValue(const std::string& value, const ReadItem& item, const Keyword& key,
               HeaderFlags& flags) {
  RecordSource source = fieldSource(value);
  ReadResult r = readRecord(source, std::span<const ReadItem>(&item, 1));
  if (r.outcome == ReadOutcome::complete) return true;
  if (r.outcome == ReadOutcome::error && !key.readFailure.empty()) {
    fail(flags, key.readFailure);
  } else {
    flags.inputReport = r.report;
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

void readHeaderLine(const std::string& lineIn, int k, RunSettings& settings, HeaderFlags& flags) {
  const std::string line = fixedText(lineIn, kLineWidth);
  const std::size_t start = static_cast<std::size_t>(k - 1);

  // The five characters from column k are read as one free-format text.
  std::string keyword(5, ' ');
  {
    RecordSource source = fieldSource(line.substr(start, 5));
    const ReadItem item = ReadItem::text(keyword, 5);
    if (readRecord(source, std::span<const ReadItem>(&item, 1)).outcome != ReadOutcome::complete) {
      fail(flags, "error reading keyword in header file");
      return;
    }
  }
  const Keyword* key = nullptr;
  for (const Keyword& candidate : kKeywords) {
    if (keyword == candidate.name) key = &candidate;
  }
  if (key == nullptr) {
    fail(flags, "unknown keyword found in header file");
    return;
  }

  // The value text: the rest of the line without its leading blanks.
  std::string value = start + 5 < line.size() ? line.substr(start + 5) : std::string();
  const std::size_t first = value.find_first_not_of(' ');
  value = fixedText(first == std::string::npos ? std::string() : value.substr(first), kLineWidth);

  switch (key->kind) {
    case ValueKind::none:
      flags.end = true;
      return;
    case ValueKind::wholeText:
      settings.title = value;
      return;
    case ValueKind::text: {
      std::string* field = key->name == "[PAI]"   ? &settings.inputPath
                           : key->name == "[PAO]" ? &settings.outputPath
                           : key->name == "[INP]" ? &settings.inputName
                                                  : &settings.outputName;
      readValue(value, ReadItem::text(*field, field->size()), *key, flags);
      return;
    }
    case ValueKind::logical: {
      std::string code(1, ' ');
      if (!readValue(value, ReadItem::text(code, 1), *key, flags)) return;
      bool& target = key->name == "[BIO]" ? settings.biomassPresent : settings.presenceAssessment;
      if (!decodeLogical(code[0], target)) fail(flags, key->checkFailure);
      return;
    }
    case ValueKind::integer:
      readValue(value, ReadItem::integer(*integerField(key->name, settings)), *key, flags);
      return;
    case ValueKind::digit: {
      // A one-digit integer field: a blank counts as 0.
      const char c = value[0];
      if (c != ' ' && (c < '0' || c > '9')) {
        fail(flags, key->readFailure);
        return;
      }
      settings.mode = c == ' ' ? 0 : c - '0';
      if (settings.mode < 1 || settings.mode > 3) fail(flags, key->checkFailure);
      return;
    }
  }
}

bool readHeaderFile(std::istream& in, const std::string& fileName, RunSettings& settings,
                    HeaderFlags& flags) {
  long lineNumber = 0;
  std::string raw;
  while (true) {
    if (!std::getline(in, raw)) {
      if (in.bad()) {
        fail(flags, "error in reading header file");
      } else {
        flags.inputReport = "end-of-file during read, unit " + std::to_string(kHeaderUnit) +
                            ", file " + fileName + ", line " + std::to_string(lineNumber + 1);
      }
      return false;
    }
    ++lineNumber;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::string line = fixedText(raw, kLineWidth);
    for (int k = 1; k <= kLastScannedColumn; ++k) {
      const char c = line[static_cast<std::size_t>(k - 1)];
      if (c == '#') break;
      if (c != '[') continue;
      readHeaderLine(line, k, settings, flags);
      if (!flags.inputReport.empty()) flags.inputReport += ", line " + std::to_string(lineNumber);
      if (flags.error || !flags.inputReport.empty()) return false;
      if (flags.end) return true;
    }
  }
}

}  // namespace eco
