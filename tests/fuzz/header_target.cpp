// Fuzz target: the header file reader. The input is the header file.
//
// Checked: the reader ends with success exactly when it decoded "[EOF]",
// and then with settings of their fixed lengths and a valid mode; a failure
// carries either one program message of at most 150 characters or an input
// layer report naming the header file; reading again gives the same
// result; nothing after the "[EOF]" line is read. Every "[" of every line
// is also handed to the keyword decoder directly.

#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "records/diagnostics.h"
#include "run/header.h"
#include "run/run_settings.h"

namespace {

constexpr std::size_t kMaxLinesDecoded = 64;

struct Parsed {
  bool ok = false;
  eco::RunSettings settings;
  eco::HeaderFlags flags;
  std::streamoff end = -1;  // where the stream stood after the read
};

Parsed parse(const std::string& text) {
  Parsed p;
  std::istringstream in(text);
  p.ok = eco::readHeaderFile(in, "fuzz.hdr", p.settings, p.flags);
  p.end = in.good() ? static_cast<std::streamoff>(in.tellg()) : -1;
  return p;
}

bool sameSettings(const eco::RunSettings& a, const eco::RunSettings& b) {
  return a.title == b.title && a.inputPath == b.inputPath && a.outputPath == b.outputPath &&
         a.inputName == b.inputName && a.outputName == b.outputName &&
         a.biomassPresent == b.biomassPresent && a.presenceAssessment == b.presenceAssessment &&
         a.maxet == b.maxet && a.maxspec == b.maxspec && a.maxstat == b.maxstat &&
         a.emptySpeciesCode == b.emptySpeciesCode && a.mode == b.mode &&
         a.listLength == b.listLength;
}

bool sameOutcome(const Parsed& a, const Parsed& b) {
  return a.ok == b.ok && a.flags.error == b.flags.error && a.flags.message == b.flags.message &&
         a.flags.inputReport == b.flags.inputReport && a.flags.end == b.flags.end &&
         (!a.ok || sameSettings(a.settings, b.settings));
}

void checkLengths(const eco::RunSettings& s, std::string_view where) {
  const std::string at = " (" + std::string(where) + ")";
  ECO_FUZZ_CHECK(s.title.size() == 80, "the title is not 80 characters" + at);
  ECO_FUZZ_CHECK(s.inputPath.size() == 80, "the input path is not 80 characters" + at);
  ECO_FUZZ_CHECK(s.outputPath.size() == 80, "the output path is not 80 characters" + at);
  ECO_FUZZ_CHECK(s.inputName.size() == 150, "the input name is not 150 characters" + at);
  ECO_FUZZ_CHECK(s.outputName.size() == 150, "the output name is not 150 characters" + at);
}

void checkFlags(const eco::HeaderFlags& f, std::string_view where) {
  const std::string at = " (" + std::string(where) + ")";
  if (f.error) {
    ECO_FUZZ_CHECK(!f.message.empty() && f.message.size() <= 150,
                   "a header failure without a message of at most 150 characters" + at);
  }
  if (!f.inputReport.empty()) {
    ECO_FUZZ_CHECK(f.inputReport.find(", unit ") != std::string::npos,
                   "an input layer report without its unit" + at);
  }
}

void checkFile(const std::string& text) {
  const Parsed p = parse(text);
  checkLengths(p.settings, "file");
  checkFlags(p.flags, "file");
  if (p.ok) {
    ECO_FUZZ_CHECK(p.flags.end, "the header was accepted without [EOF]");
    ECO_FUZZ_CHECK(!p.flags.error && p.flags.inputReport.empty(),
                   "the header was accepted with a failure recorded");
    ECO_FUZZ_CHECK(p.settings.mode >= 1 && p.settings.mode <= 3,
                   "the header was accepted with a mode outside 1..3");
    ECO_FUZZ_CHECK(text.find("[EOF]") != std::string::npos,
                   "the header was accepted though it holds no [EOF]");
  } else {
    ECO_FUZZ_CHECK(p.flags.error != !p.flags.inputReport.empty(),
                   "a failed header read has not exactly one of message and input report");
    // A value that runs into the end of its line is a read of a text
    // field, which the report names as such.
    if (!p.flags.inputReport.empty()) {
      ECO_FUZZ_CHECK(p.flags.inputReport.find("unit 10, file fuzz.hdr") != std::string::npos ||
                         p.flags.inputReport.find("unit -5, file Internal List-Directed Read") !=
                             std::string::npos,
                     "the input layer report names neither the header file nor the internal read");
      ECO_FUZZ_CHECK(p.flags.inputReport.find(", line ") != std::string::npos,
                     "the input layer report does not give the header line");
    }
  }
  ECO_FUZZ_CHECK(sameOutcome(p, parse(text)), "a second read of the same header differs");

  // The lines after the one holding [EOF] are never read: replacing them
  // changes nothing.
  if (p.ok && p.end >= 0 && static_cast<std::size_t>(p.end) <= text.size()) {
    const std::string cut = text.substr(0, static_cast<std::size_t>(p.end));
    const Parsed q = parse(cut + "[XYZ] after the end\n[MST] 7\n");
    ECO_FUZZ_CHECK(sameOutcome(p, q), "lines after the [EOF] line changed the settings");
  }
}

// Every "[" in columns 1..75 of every line, decoded on fresh settings.
void checkKeywords(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  for (std::size_t n = 0; n < kMaxLinesDecoded && std::getline(in, line); ++n) {
    const std::string fixed = eco::fixedText(line, 80);
    for (int k = 1; k <= 75; ++k) {
      if (fixed[static_cast<std::size_t>(k - 1)] != '[') continue;
      eco::RunSettings settings;
      eco::HeaderFlags flags;
      eco::readHeaderLine(line, k, settings, flags);
      checkLengths(settings, "one keyword");
      checkFlags(flags, "one keyword");
      ECO_FUZZ_CHECK(!(flags.error && !flags.inputReport.empty()),
                     "one keyword gave both a message and an input report");
      if (flags.end) {
        ECO_FUZZ_CHECK(fixed.compare(static_cast<std::size_t>(k - 1), 5, "[EOF]") == 0,
                       "the end flag was set by a keyword other than [EOF]");
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  eco::resetDiagnostics(nullptr);  // the reader's warnings are not checked here
  eco::fuzz::enter();
  checkFile(text);
  checkKeywords(text);
  eco::fuzz::leave();
  return 0;
}
