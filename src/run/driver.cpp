#include "run/driver.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "import/import_command.h"
#include "input/input_files.h"
#include "numeric/errors.h"
#include "numeric/extended.h"
#include "output/edit.h"
#include "output/output_files.h"
#include "platform/files.h"
#include "platform/interrupt.h"
#include "records/diagnostics.h"
#include "run/explorer_start.h"
#include "run/failure_detail.h"
#include "run/header.h"
#include "run/run_passes.h"
#include "run/run_settings.h"

namespace eco {
namespace {

constexpr std::size_t kMessageLength = 150;

struct RunStopped {};
[[noreturn]] void stopByException() { throw RunStopped{}; }

// A failure end: the message as one 150-character free-format item, then
// its located detail (file, line, value, what to do) on standard error.
int failure(const std::string& message, const std::string& detail = {}) {
  writeFree(std::cout, std::vector<OutItem>{OutItem::of(fixedText(message, kMessageLength))});
  std::cout.flush();
  if (!detail.empty()) tellUser(detail);
  return 1;
}

// The input layer's own report of a read it could not complete.
int inputFailure(const std::string& report, const std::string& detail = {}) {
  std::cout << report << '\n';
  std::cout.flush();
  if (!detail.empty()) tellUser(detail);
  return 1;
}

bool enterDirectory(const std::string& path) { return platform::setCurrentDirectory(path); }

// Reads the header file into the settings; the run's end when it fails.
// A missing file (or no argument) cannot be opened; nothing is created in
// its place.
std::optional<int> readHeader(const CommandLine& commandLine, RunSettings& settings,
                              HeaderFlags& flags) {
  const std::string& headerName = commandLine.headerFile;
  std::error_code ec;
  const std::filesystem::path headerPath = platform::pathOf(headerName);
  if (headerName.empty() || !std::filesystem::exists(headerPath, ec) ||
      std::filesystem::is_directory(headerPath, ec)) {
    return failure("error in opening header file", headerOpenFailure(headerName));
  }
  std::ifstream header(headerPath, std::ios::in | std::ios::binary);
  if (!header.is_open()) {
    return failure("error in opening header file", headerOpenFailure(headerName));
  }
  flags.csv = commandLine.csv;
  flags.html = commandLine.html;
  if (!readHeaderFile(header, headerName, settings, flags)) {
    return flags.error ? failure(flags.message, flags.detail)
                       : inputFailure(flags.inputReport, flags.detail);
  }
  return std::nullopt;
}

// The capacities of the tables: a negative one counts as 0.
ReadOptions readOptionsOf(RunSettings& settings) {
  ReadOptions options;
  options.maxet = std::max(settings.maxet, 0);
  options.maxspec = std::max(settings.maxspec, 0);
  options.maxstat = std::max(settings.maxstat, 0);
  settings.maxstat = options.maxstat;
  settings.listLength = std::max(settings.listLength, 0);
  options.biomassPresent = settings.biomassPresent;
  options.emptySpeciesCode = settings.emptySpeciesCode;
  return options;
}

// --strict: a pipeline must not go on with input that gave a warning.
std::optional<int> stopIfStrict(const CommandLine& commandLine) {
  if (!commandLine.strict || diagnostics().warningsWritten == 0) return std::nullopt;
  finishWarnings();
  const int64_t n = diagnostics().warningsWritten;
  tellUser("error: --strict: the input gave " + std::to_string(n) +
           (n == 1 ? " warning (above)" : " warnings (above)") +
           ", so the run stops without writing any file: correct the input, or run without "
           "--strict");
  return 1;
}

int run(const CommandLine& commandLine, const RunTiming& timing, OutputFiles& files) {
  // (The statistics take their missing value from AMACH(6) where they
  // write one.)
  RunSettings settings;
  HeaderFlags flags;
  if (const std::optional<int> end = readHeader(commandLine, settings, flags)) return *end;
  const std::string& headerName = commandLine.headerFile;

  // Paths. Without an output path the outputs go where the inputs are: the
  // run is already there once it has entered the input directory.
  if (trimmed(settings.inputPath) == "dummy") {
    return failure("no input path has been given", noInputPathFailure(headerName, flags.lines));
  }
  const bool outputPathGiven = trimmed(settings.outputPath) != "dummy";
  if (!outputPathGiven) settings.outputPath = settings.inputPath;
  const ReadOptions options = readOptionsOf(settings);

  if (!enterDirectory(trimmed(settings.inputPath))) {
    return failure("cannot open directory for input",
                   directoryFailure(headerName, flags.lines, trimmed(settings.inputPath), false));
  }
  SurveyTables tables;
  InputStatus status;
  if (!readSurvey(trimmed(settings.inputName), options, tables, status)) {
    return status.inputLayer ? inputFailure(status.message, status.detail)
                             : failure(status.message, status.detail);
  }
  if (const std::optional<int> end = stopIfStrict(commandLine)) return *end;

  // An explicit relative output path is taken from inside the input directory.
  if (outputPathGiven && !enterDirectory(trimmed(settings.outputPath))) {
    return failure("cannot open directory for output",
                   directoryFailure(headerName, flags.lines, trimmed(settings.outputPath), true));
  }

  std::string message;
  if (!runPasses(settings, tables, commandLine, timing, files, message)) {
    // A commit that failed knows its cause; the passes' messages are told
    // by what they say.
    const CommitFailure& commit = files.failure;
    return failure(message, commit.name.empty()
                                ? outputFailure(message, settings)
                                : failureLine(commit.name, 0, 0, commitFailureText(commit)));
  }
  return 0;
}

int runCommand(const CommandLine& cl) {
  switch (cl.action) {
    case CommandLine::Action::help:
      std::cout << helpText();
      std::cout.flush();
      return 0;
    case CommandLine::Action::version:
      std::cout << versionText();
      std::cout.flush();
      return 0;
    case CommandLine::Action::usageError:
      tellUser("ecoassess: " + cl.error);
      tellUser(usageLine());
      return 2;
    case CommandLine::Action::run:
      break;
  }
  const int status = runAssessment(cl);
  if (!cl.headerGiven) tellUser(usageLine());
  return status;
}

}  // namespace

bool storageToStart() {
  // The C++ runtime sets storage aside for exceptions as the program loads;
  // where not even that could be had, the first allocation that fails
  // cannot be reported (the runtime terminates). Asked for before any other
  // storage, this much tells such a start from one that fails cleanly.
  constexpr std::size_t kStartProbe = std::size_t{1} << 18;
  void* probe = std::malloc(kStartProbe);
  if (probe == nullptr) return false;
  std::free(probe);
  return true;
}

void tellNoStorage() {
  std::cout.flush();
  std::cout << " storage for the run cannot be obtained: the survey is too large for this "
               "machine\n";
  std::cout.flush();
}

int runMain(const std::vector<std::string>& args) {
  // A header file named "import" runs as ./import.
  if (!args.empty() && args[0] == "import") {
    return runImport(std::vector<std::string>(args.begin() + 1, args.end()));
  }
  CommandLine cl = parseCommandLine(args);
  const bool explorer = beginExplorerStart(cl);
  const int status = runCommand(cl);
  endExplorerStart(explorer);
  return status;
}

int runAssessment(const CommandLine& commandLine) {
  const RunTiming timing{std::chrono::steady_clock::now()};
  ensureExtendedPrecision();
  // A terminal error of the numerical routines ends the run through this
  // function too, so that its output files are discarded like any other
  // failure's.
  setStopHandler(&stopByException);
  // The run's output files, reachable from the interrupt handler too.
  OutputFiles files;
  registerOutputFiles(&files);
  int status = 1;
  try {
    status = run(commandLine, timing, files);
  } catch (const platform::Interrupted&) {
    // Every output file is closed by now, so the temporary ones can go.
    discardOutputFiles(files);
    platform::endInterrupted();
  } catch (const RunStopped&) {
    std::cout.flush();
    status = 1;
  } catch (const std::bad_alloc&) {
    tellNoStorage();
    status = 1;
  }
  if (status != 0) discardOutputFiles(files);
  registerOutputFiles(nullptr);
  finishWarnings();
  return status;
}

}  // namespace eco
