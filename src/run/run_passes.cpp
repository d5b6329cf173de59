#include "run/run_passes.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <thread>

#include "output/output_files.h"
#include "platform/console.h"
#include "records/diagnostics.h"
#include "run/guards.h"
#include "run/passes.h"
#include "run/progress.h"
#include "stats/profile.h"

namespace eco {
namespace {

std::string secondsText(double seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", seconds);
  return buf;
}

// "done: wrote A.SIM, A.DEN in out; 3 ecotopes in the tables, 2 in the
// report; elapsed 1.23 s"
std::string closingLine(const RunSettings& settings, const SurveyTables& t,
                        const std::vector<std::string>& written, double seconds) {
  std::string files;
  for (const std::string& f : written) files += (files.empty() ? "" : ", ") + f;
  int inTables = 0, inReport = 0;
  for (int e = 0; e < t.ecotopes.net(); ++e) {
    if (eligibleForSummary(t.stations, e)) ++inTables;
    if (eligibleForReport(t.stations, e)) ++inReport;
  }
  std::string line = "done: wrote " + (files.empty() ? std::string("no files") : files) + " in " +
                     trimmed(settings.outputPath) + ";";
  if (writesTables(settings)) {
    line += " " + std::to_string(inTables) + " of " + std::to_string(t.ecotopes.net()) +
            " ecotopes in the tables;";
  }
  if (writesReport(settings)) {
    line += " " + std::to_string(inReport) + " of " + std::to_string(t.ecotopes.net()) +
            " ecotopes in the report;";
  }
  if (settings.mode == 1) {
    line +=
        " no report file ([ARM] 1 writes the summary tables only; [ARM] 2 or 3 writes the "
        "report);";
  }
  // The warnings are easily scrolled away above a long run.
  const int64_t warnings = diagnostics().warningsWritten;
  if (warnings > 0) {
    line += " " + std::to_string(warnings) + (warnings == 1 ? " warning;" : " warnings;");
  }
  return line + " elapsed " + secondsText(seconds) + " s";
}

}  // namespace

bool runPasses(const RunSettings& settings, const SurveyTables& tables,
               const CommandLine& commandLine, const RunTiming& timing, OutputFiles& files,
               std::string& message) {
  const bool summary = writesTables(settings);
  const bool report = writesReport(settings);
  warnRunaway(settings, tables, summary, report);
  warnOverflow(tables, summary, report);

  const int threads = commandLine.threads > 0
                          ? commandLine.threads
                          : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  PassConsole console{&std::cout, threads};
  ProgressDisplay progress(settings, tables, summary, report, platform::progressLineAvailable(),
                           &std::cerr);
  console.progress = &progress;
  ResultWriters writers;
  writers.files = &files;
  writers.settings = writerSettings(settings, tables, commandLine.csv, commandLine.html);

  UniformGenerator generator;
  if (summary && !summaryPass(settings, tables, generator, console, writers, message)) {
    return false;
  }
  if (report && !reportPass(settings, tables, generator, console, writers, message)) return false;
  if (!finishRun(writers, message)) return false;
  progress.finish();
  std::cout.flush();

  std::string failed;
  if (!commitOutputFiles(files, failed)) {
    message = "error while writing output file " + failed;
    return false;
  }
  finishWarnings();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - timing.start).count();
  tellUser(closingLine(settings, tables, files.committed, seconds));
  return true;
}

}  // namespace eco
