// Fuzz target: a whole run, from the header file to the last output file.
//
// Input: the header file, then the species, ecotope, station and data files,
// in this order, each part after a line that begins with "~~~~" (the rest of
// that line is a label). A missing part is a missing file. When the first
// label holds "csv" or "html" the run has that option; when it holds
// "threads" the run is made again with three threads, and every file it
// writes must be the same, byte for byte.
//
// The header is first read here with the program's own reader. When it
// names paths or files outside the run's scratch directory, or capacities
// that would make a long run, it is replaced by an equivalent header with
// the input directory ".", the output directory "out" (or "." or a missing
// one), file names of plain characters and [MET] <= 8, [MSP] <= 100,
// [MST] <= 50, [LLN] <= 50; otherwise it is used as it stands. The input
// is then read once here as well, and a run whose station draws would be
// many (surfaces that differ by much more than a factor of 100, or that do
// not grow) is not started.
//
// The run happens in a scratch directory of its own (the current directory
// is restored afterwards), with its console output captured, and must end
// through the driver's return, a terminal error of the numerical routines
// included (a process exit inside the run is a failure of the target).
// Checked: status 0 or 1; a failure says so on the console and leaves no
// output file behind; status 0 only when the header and the input were
// readable and every output file of the mode is there, complete, with
// exactly the rows and blocks the survey calls for, and no other file (an
// output of another mode, a temporary file) is.

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "input/input_files.h"
#include "numeric/errors.h"
#include "output/edit.h"
#include "records/diagnostics.h"
#include "run/command_line.h"
#include "run/driver.h"
#include "run/header.h"
#include "run/run_settings.h"
#include "stats/profile.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kCapEcotopes = 8;
constexpr int32_t kCapSpecies = 100;
constexpr int32_t kCapStations = 50;
constexpr int32_t kCapListLength = 50;
constexpr std::size_t kMaxNameLength = 40;
// Work allowed for one run, in species values added up over all station
// draws (an overestimate: the largest golden survey, estimated at 3.7e8,
// runs in 0.12 s, about ten times that under the sanitizers). The
// environment variable ECO_FUZZ_WORK_BUDGET sets another limit.
constexpr double kWorkBudget = 4e8;
constexpr double kPseudoSamples = 2000;

const char* const kExtensions[] = {".SPE", ".ETP", ".STA", ".DAT"};

// ---- the input ----

struct Parts {
  std::string header;
  std::vector<std::optional<std::string>> files{4};  // SPE, ETP, STA, DAT
  std::string label;                                 // the rest of the first "~~~~" line
};

Parts split(const std::string& input) {
  std::vector<std::string> pieces;
  std::string labelText;
  std::size_t start = 0, scan = 0;
  for (;;) {
    std::size_t sep = input.find("~~~~", scan);
    while (sep != std::string::npos && sep != 0 && input[sep - 1] != '\n') {
      sep = input.find("~~~~", sep + 1);
    }
    if (sep == std::string::npos) break;
    pieces.push_back(input.substr(start, sep - start));
    const std::size_t eol = input.find('\n', sep);
    if (pieces.size() == 1) {
      labelText = input.substr(sep + 4, (eol == std::string::npos ? input.size() : eol) - sep - 4);
    }
    start = scan = eol == std::string::npos ? input.size() : eol + 1;
  }
  pieces.push_back(input.substr(start));
  Parts parts;
  parts.header = pieces[0];
  parts.label = labelText;
  for (std::size_t i = 1; i < pieces.size() && i <= 4; ++i) parts.files[i - 1] = pieces[i];
  return parts;
}

// ---- the header ----

struct Header {
  bool ok = false;
  eco::RunSettings settings;
};

Header readHeader(const std::string& text) {
  Header h;
  std::istringstream in(text);
  eco::HeaderFlags flags;
  h.ok = eco::readHeaderFile(in, "run.hdr", h.settings, flags);
  return h;
}

std::string plainName(const std::string& name) {
  std::string out;
  for (char c : eco::trimmed(name)) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == '-' || c == '.';
    if (plain && out.size() < kMaxNameLength) out += c;
  }
  return out;
}

// The settings with paths, names and capacities the scratch run can take.
eco::RunSettings contained(const eco::RunSettings& s) {
  eco::RunSettings m = s;
  if (eco::trimmed(s.inputPath) != "dummy") m.inputPath = eco::fixedText(".", 80);
  const std::string out = eco::trimmed(s.outputPath);
  if (out != "dummy" && out != ".") {
    m.outputPath = eco::fixedText(out.rfind("no", 0) == 0 ? "nodir" : "out", 80);
  }
  m.inputName = eco::fixedText(plainName(s.inputName), 150);
  m.outputName = eco::fixedText(plainName(s.outputName), 150);
  m.maxet = std::min(s.maxet, kCapEcotopes);
  m.maxspec = std::min(s.maxspec, kCapSpecies);
  m.maxstat = std::min(s.maxstat, kCapStations);
  m.listLength = std::min(s.listLength, kCapListLength);
  return m;
}

bool sameForRun(const eco::RunSettings& a, const eco::RunSettings& b) {
  return a.inputPath == b.inputPath && a.outputPath == b.outputPath && a.inputName == b.inputName &&
         a.outputName == b.outputName && a.maxet == b.maxet && a.maxspec == b.maxspec &&
         a.maxstat == b.maxstat && a.listLength == b.listLength;
}

std::string headerText(const eco::RunSettings& s) {
  std::ostringstream h;
  if (eco::trimmed(s.inputPath) != "dummy") h << "[PAI] " << eco::trimmed(s.inputPath) << "\n";
  if (eco::trimmed(s.outputPath) != "dummy") h << "[PAO] " << eco::trimmed(s.outputPath) << "\n";
  h << "[INP] '" << eco::trimmed(s.inputName) << "'\n";
  h << "[OUT] '" << eco::trimmed(s.outputName) << "'\n";
  h << "[BIO] " << (s.biomassPresent ? 'y' : 'n') << "\n";
  h << "[ASS] " << (s.presenceAssessment ? 'y' : 'n') << "\n";
  h << "[MET] " << s.maxet << "\n[MSP] " << s.maxspec << "\n[MST] " << s.maxstat << "\n";
  h << "[EMS] " << s.emptySpeciesCode << "\n[ARM] " << s.mode << "\n[LLN] " << s.listLength << "\n";
  h << "[EOF]\n";
  return h.str();
}

// ---- how long the run would take ----

// Station draws of one pseudo-sample at most: until the summed surface
// reaches the target, or all 2 x [MST] random numbers are used.
double drawsFor(const eco::StationGroup& ref, float target, int32_t maxstat) {
  const double cap = 2.0 * std::max(maxstat, 0);
  if (!(target > 0.0f)) return 0.0;
  float smallest = ref.surf.empty() ? 0.0f : ref.surf[0];
  for (float s : ref.surf) smallest = std::min(smallest, s);
  if (!(smallest > 0.0f) || !std::isfinite(smallest)) return cap;
  const double ratio = static_cast<double>(target) / smallest;
  // Below 2^22 smallest surfaces every draw still adds at least half of one
  // to the 32-bit sum; beyond, the sum may stop growing.
  if (!(ratio < 4194304.0)) return cap;
  return std::min(cap, 2.0 * std::ceil(ratio) + 1.0);
}

double workOf(const eco::SurveyTables& t, const eco::RunSettings& s) {
  const double perDraw = t.species.nspec() * (s.biomassPresent ? 2.0 : 1.0) + 8.0;
  double work = 0.0;
  for (int e = 0; e < t.ecotopes.net(); ++e) {
    const auto& groups = t.stations.ecotope[static_cast<std::size_t>(e)].group;
    const eco::StationGroup& ref = groups[eco::kReference];
    if ((s.mode == 1 || s.mode == 2) && ref.nstat() >= 1) {
      for (int32_t k = 1; k <= ref.nstat(); ++k) {
        const float target = static_cast<float>(k) * ref.meansurf;
        work += kPseudoSamples * (drawsFor(ref, target, s.maxstat) + 1.0) * perDraw;
      }
      work += 4.0 * ref.nstat() * 2.0 * kPseudoSamples * 12.0;  // the class quantiles
    }
    if ((s.mode == 2 || s.mode == 3) && eco::eligibleForReport(t.stations, e)) {
      const float target = groups[eco::kAssessment].sumsurf;
      work += 3.0 * kPseudoSamples * (drawsFor(ref, target, s.maxstat) + 1.0) * perDraw;
    }
  }
  return work;
}

// ECO_FUZZ_VERBOSE=1: each input's work estimate, status and console on
// standard error (for looking at a replay).
bool verbose() {
  static const bool on = [] {
    const char* v = std::getenv("ECO_FUZZ_VERBOSE");
    return v != nullptr && std::string(v) == "1";
  }();
  return on;
}

double workBudget() {
  static const double budget = [] {
    const char* v = std::getenv("ECO_FUZZ_WORK_BUDGET");
    return v != nullptr && *v != '\0' ? std::strtod(v, nullptr) : kWorkBudget;
  }();
  return budget;
}

// ---- the scratch directory ----

fs::path& scratchRoot() {
  static fs::path root;
  return root;
}

void removeScratch() {
  std::error_code ec;
  if (!scratchRoot().empty()) fs::remove_all(scratchRoot(), ec);
}

const fs::path& scratch() {
  if (scratchRoot().empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/eco-fuzz-run-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) eco::fuzz::fail("cannot create a scratch directory");
    scratchRoot() = pattern;
    std::atexit(removeScratch);
  }
  return scratchRoot();
}

void writeFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ---- one run, its console captured ----

struct RunOutcome {
  int status = 0;
  std::string console;  // standard output and standard error together
};

// What the label of the first "~~~~" line asks for: the export files of
// --csv and --html, and a second run with three threads that must write
// the same bytes.
struct RunOptions {
  bool csv = false;
  bool html = false;
  bool compareThreads = false;
};

RunOptions optionsOf(const std::string& label) {
  RunOptions o;
  o.csv = label.find("csv") != std::string::npos;
  o.html = label.find("html") != std::string::npos;
  o.compareThreads = label.find("threads") != std::string::npos;
  return o;
}

RunOutcome runInScratch(const fs::path& dir, int threads, const RunOptions& options) {
  RunOutcome outcome;
  std::ostringstream captured;
  std::streambuf* const oldOut = std::cout.rdbuf(captured.rdbuf());
  std::streambuf* const oldErr = std::cerr.rdbuf(captured.rdbuf());
  eco::resetDiagnostics(&std::cerr);
  eco::resetErrorFacility();
  eco::setErrorStream(&captured);
  const fs::path home = fs::current_path();
  fs::current_path(dir);

  eco::CommandLine cl;
  cl.action = eco::CommandLine::Action::run;
  cl.headerGiven = true;
  cl.headerFile = "run.hdr";
  cl.threads = threads;
  cl.csv = options.csv;
  cl.html = options.html;
  std::string escaped;
  try {
    outcome.status = eco::runAssessment(cl);
  } catch (const std::exception& e) {
    escaped = e.what();
    outcome.status = -1;
  }

  fs::current_path(home);
  std::cout.rdbuf(oldOut);
  std::cerr.rdbuf(oldErr);
  eco::resetErrorFacility();
  eco::resetDiagnostics(&std::cerr);
  outcome.console = captured.str();
  eco::fuzz::setFailureContext(outcome.console);
  if (outcome.status == -1) eco::fuzz::fail("an exception left the run: " + escaped);
  return outcome;
}

// ---- the output files ----

std::vector<std::string> crlfLines(const std::string& bytes, const std::string& name) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t nl = bytes.find('\n', start);
    ECO_FUZZ_CHECK(nl != std::string::npos, name + " ends inside a line");
    ECO_FUZZ_CHECK(nl > start && bytes[nl - 1] == '\r', name + " has a line not ended by CR LF");
    lines.push_back(bytes.substr(start, nl - 1 - start));
    start = nl + 1;
  }
  return lines;
}

// The number in a fixed field; nothing for "NaN" or asterisks (a value too
// large for its field, of either sign). Infinities read as such.
std::optional<double> fieldValue(const std::string& field, const std::string& where) {
  const std::size_t start = field.find_first_not_of(' ');
  ECO_FUZZ_CHECK(start != std::string::npos, "a blank number field in " + where);
  const std::string text = field.substr(start, field.find_last_not_of(' ') + 1 - start);
  if (text == "NaN" || text.find_first_not_of('*') == std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  ECO_FUZZ_CHECK(end == text.c_str() + text.size(),
                 "the field '" + field + "' in " + where + " is not a number");
  return v;
}

// Eleven quantiles at increasing proportions never decrease (the missing
// ones and those too large for their field aside).
void checkQuantiles(const std::string& line, std::size_t from, std::size_t width,
                    const std::string& where) {
  std::optional<double> last;
  for (std::size_t k = 0; k < 11; ++k) {
    const std::optional<double> v = fieldValue(line.substr(from + k * width, width), where);
    if (!v) continue;
    ECO_FUZZ_CHECK(!last || *v >= *last, "decreasing percentiles in " + where + ": " + line);
    last = v;
  }
}

// One row of a summary table: the ecotope's code and the class surface.
struct TableRow {
  int32_t code;
  float surface;
};

void checkTable(const fs::path& file, const std::vector<TableRow>& rows) {
  const std::string name = file.filename().string();
  const std::vector<std::string> lines = crlfLines(readFile(file), name);
  ECO_FUZZ_CHECK(!lines.empty(), name + " has no header line");
  ECO_FUZZ_CHECK(lines[0].size() == 156 && lines[0].rfind(" Ecotope      Surface ", 0) == 0,
                 name + " has a broken header line");
  checkQuantiles(lines[0], 24, 12, name + " (header)");
  ECO_FUZZ_CHECK(lines.size() == rows.size() + 1,
                 name + " has " + std::to_string(lines.size() - 1) +
                     " rows, the survey calls for " + std::to_string(rows.size()));
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    ECO_FUZZ_CHECK(l.size() == 156, name + " has a row that is not 156 characters");
    ECO_FUZZ_CHECK(l.substr(2, 8) == std::string(8, ' ') && l.substr(22, 2) == "  ",
                   name + " has a row with characters where blanks belong");
    ECO_FUZZ_CHECK(l.substr(0, 2) == eco::editI(rows[i - 1].code, 2, 2),
                   name + " has its rows in another order than the ecotopes");
    ECO_FUZZ_CHECK(l.substr(10, 12) == eco::editF(rows[i - 1].surface, 12, 5),
                   name + " has a row whose surface is not its class times the mean surface");
    checkQuantiles(l, 24, 12, name);
  }
}

void checkReport(const fs::path& file, int64_t blocks, bool biomass) {
  const std::string name = file.filename().string();
  const std::string bytes = readFile(file);
  const std::vector<std::string> lines = crlfLines(bytes, name);
  if (blocks == 0) {
    ECO_FUZZ_CHECK(bytes.empty(), name + " is not empty though no ecotope is reported");
    return;
  }
  ECO_FUZZ_CHECK(!lines.empty(), name + " is empty though ecotopes are reported");
  ECO_FUZZ_CHECK(lines.size() >= 2 && lines[0].empty() && lines[1] == std::string(45, '#'),
                 name + " does not begin with a banner");
  ECO_FUZZ_CHECK(lines.back() == std::string(64, '-'), name + " does not end with a closing rule");
  int64_t banners = 0, density = 0, biomassSections = 0;
  for (const std::string& l : lines) {
    if (l.size() == 58 && l.rfind("ECOTOPE ", 0) == 0) ++banners;
    if (l == "DENSITY CALCULATIONS") ++density;
    if (l == "BIOMASS CALCULATIONS") ++biomassSections;
  }
  ECO_FUZZ_CHECK(density == banners, name + " has a block without its density section");
  ECO_FUZZ_CHECK(biomassSections == (biomass ? banners : 0),
                 name + " has biomass sections that do not match the data");
  ECO_FUZZ_CHECK(banners == blocks, name + " has " + std::to_string(banners) +
                                        " ecotope blocks, the survey calls for " +
                                        std::to_string(blocks));

  static const std::string kGradeLine = "Power to detect changes is ";
  static const std::string kGrades[] = {"GOOD      ", "MODERATE  ", "LOW       ", "VERY POOR "};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (l.rfind(kGradeLine, 0) == 0) {
      const std::string grade = l.substr(kGradeLine.size());
      ECO_FUZZ_CHECK(std::find(std::begin(kGrades), std::end(kGrades), grade) != std::end(kGrades),
                     name + " has the grade line '" + l + "'");
    }
    if (l == "Percentiles of reference distribution after iteration") {
      ECO_FUZZ_CHECK(i + 2 < lines.size(), name + " ends inside a percentile block");
      for (std::size_t k = i + 1; k <= i + 2; ++k) {
        const std::size_t width = lines[k].size() / 11;
        ECO_FUZZ_CHECK(
            lines[k].size() == 11 * width && width >= 7,
            name + " has a percentile line of " + std::to_string(lines[k].size()) + " characters");
        checkQuantiles(lines[k], 0, width, name);
      }
    }
    if (l.size() > 20 && l.find(" VALUE BY CHANCE") != std::string::npos &&
        l.rfind("PROBABILITY TO FIND ", 20) == 20) {
      const std::optional<double> p = fieldValue(l.substr(0, 15), name);
      ECO_FUZZ_CHECK(!p || (*p >= 0.0 && *p <= 1.0), name + " has the probability line " + l);
    }
  }
}

bool isRegularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(p, ec));
}

// The files left in the output directory that the run wrote: everything but
// the inputs, the header and the "out" directory.
std::vector<std::string> writtenFiles(const fs::path& outDir, const fs::path& runDir,
                                      const std::string& inputName) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(outDir, ec)) {
    const std::string n = entry.path().filename().string();
    bool input = outDir == runDir && (n == "run.hdr" || n == "out");
    for (const char* ext : kExtensions) input = input || (outDir == runDir && n == inputName + ext);
    if (!input) names.push_back(n);
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const Parts parts = split(input);
  // The readers' warnings of the checks made here are not wanted.
  eco::resetDiagnostics(nullptr);
  const Header pre = readHeader(parts.header);
  const eco::RunSettings settings = pre.ok ? contained(pre.settings) : pre.settings;
  const std::string header =
      !pre.ok || sameForRun(pre.settings, settings) ? parts.header : headerText(settings);
  const std::string inputName = pre.ok ? eco::trimmed(settings.inputName) : std::string("in");

  const fs::path runDir = scratch() / "run";
  std::error_code ec;
  fs::remove_all(runDir, ec);
  fs::create_directories(runDir / "out");
  writeFile(runDir / "run.hdr", header);
  for (std::size_t i = 0; i < 4; ++i) {
    if (parts.files[i]) writeFile(runDir / (inputName + kExtensions[i]), *parts.files[i]);
  }

  eco::fuzz::enter();
  // The input as the run will see it: for the work estimate and for the
  // rows and blocks the outputs must have.
  std::optional<eco::SurveyTables> survey;
  if (pre.ok && eco::trimmed(settings.inputPath) != "dummy") {
    eco::ReadOptions options;
    options.maxet = std::max(settings.maxet, 0);
    options.maxspec = std::max(settings.maxspec, 0);
    options.maxstat = std::max(settings.maxstat, 0);
    options.biomassPresent = settings.biomassPresent;
    options.emptySpeciesCode = settings.emptySpeciesCode;
    const fs::path home = fs::current_path();
    fs::current_path(runDir);
    eco::SurveyTables tables;
    eco::InputStatus status;
    if (eco::readSurvey(inputName, options, tables, status)) survey = std::move(tables);
    fs::current_path(home);
    eco::RunSettings capped = settings;
    capped.maxstat = options.maxstat;
    const double work = survey ? workOf(*survey, capped) : 0.0;
    if (verbose()) std::fprintf(stderr, "work estimate %.3g\n", work);
    if (work > workBudget()) {
      eco::fuzz::leave();
      return 0;  // a long run: the fuzzer should look elsewhere
    }
  }

  const fs::path home = fs::current_path();
  const RunOptions options = optionsOf(parts.label);
  const std::string out = eco::trimmed(settings.outputPath);
  const fs::path outDir = out == "out" ? runDir / "out" : runDir;
  RunOutcome run = runInScratch(runDir, 1, options);
  if (options.compareThreads && run.status == 0) {
    // Every output byte is the same for any number of threads.
    std::vector<std::pair<std::string, std::string>> first;
    for (const std::string& n : writtenFiles(outDir, runDir, inputName)) {
      first.emplace_back(n, readFile(outDir / n));
      fs::remove(outDir / n);
    }
    run = runInScratch(runDir, 3, options);
    ECO_FUZZ_CHECK(run.status == 0, "the run failed with three threads, not with one");
    for (const auto& [n, bytes] : first) {
      ECO_FUZZ_CHECK(readFile(outDir / n) == bytes, n + " differs between one and three threads");
    }
    ECO_FUZZ_CHECK(writtenFiles(outDir, runDir, inputName).size() == first.size(),
                   "three threads wrote other files than one");
  }
  eco::fuzz::leave();
  ECO_FUZZ_CHECK(fs::current_path() == home, "the current directory was not restored");
  if (verbose()) {
    std::fprintf(stderr, "status %d\n%s", run.status, run.console.c_str());
  }
  ECO_FUZZ_CHECK(run.status == 0 || run.status == 1,
                 "the run ended with status " + std::to_string(run.status));

  const std::string outputName = eco::trimmed(settings.outputName);
  if (run.status != 0) {
    ECO_FUZZ_CHECK(!run.console.empty(), "the run failed without a word on the console");
    const std::vector<std::string> left = writtenFiles(outDir, runDir, inputName);
    ECO_FUZZ_CHECK(left.empty(),
                   "a failed run left " + (left.empty() ? "" : left.front()) + " behind");
    eco::fuzz::setFailureContext({});
    return 0;
  }

  ECO_FUZZ_CHECK(pre.ok, "the run succeeded on a header its reader refuses");
  ECO_FUZZ_CHECK(survey.has_value(), "the run succeeded on an input its readers refuse");
  const int mode = settings.mode;
  const bool biomass = settings.biomassPresent;
  const bool tables = mode == 1 || mode == 2;
  const bool report = mode == 2 || mode == 3;

  std::vector<TableRow> rows;
  int64_t blocks = 0;
  for (int e = 0; e < survey->ecotopes.net(); ++e) {
    const auto& ref = survey->stations.ecotope[static_cast<std::size_t>(e)].group[eco::kReference];
    for (int32_t c = 1; c <= ref.nstat(); ++c) {
      rows.push_back({survey->ecotopes.etcode[static_cast<std::size_t>(e)],
                      static_cast<float>(c) * ref.meansurf});
    }
    if (eco::eligibleForReport(survey->stations, e)) ++blocks;
  }

  std::vector<std::string> expectedFiles;
  for (const char* ext : {".SIM", ".DEN", ".BIO", ".NSP"}) {
    const fs::path file = outDir / (outputName + ext);
    const bool expected = tables && (biomass || std::string(ext) != ".BIO");
    if (expected) expectedFiles.push_back(outputName + ext);
    ECO_FUZZ_CHECK(isRegularFile(file) == expected,
                   std::string(expected ? "no " : "an unexpected ") + ext + " file after status 0");
    if (expected) checkTable(file, rows);
  }
  const fs::path ass = outDir / (outputName + ".ASS");
  ECO_FUZZ_CHECK(isRegularFile(ass) == report,
                 std::string(report ? "no " : "an unexpected ") + ".ASS file after status 0");
  if (report) checkReport(ass, blocks, biomass);
  if (report) expectedFiles.push_back(outputName + ".ASS");
  // The exports: which of them a mode writes is theirs to say.
  if (options.csv) {
    for (const char* ext : {".tables.csv", ".assessment.csv", ".species.csv"}) {
      expectedFiles.push_back(outputName + ext);
    }
  }
  if (options.html) expectedFiles.push_back(outputName + ".html");
  for (const std::string& n : writtenFiles(outDir, runDir, inputName)) {
    ECO_FUZZ_CHECK(std::find(expectedFiles.begin(), expectedFiles.end(), n) != expectedFiles.end(),
                   "the run left " + n + " besides its output files");
  }
  eco::fuzz::setFailureContext({});
  return 0;
}
