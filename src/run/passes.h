#pragma once
// The two passes over the ecotopes: the summary tables and the report.

#include <ostream>
#include <string>

#include "input/tables.h"
#include "numeric/random.h"
#include "run/run_settings.h"

namespace eco {

// Where the passes write besides their files: progress lines (console);
// warnings go to the diagnostics on standard error.
struct PassConsole {
  std::ostream* console;
  int threads = 1;  // threads that may draw pseudo-samples (the results never depend on it)
  struct ProgressDisplay* progress = nullptr;  // the terminal status line, or null
  struct Exports* exports = nullptr;  // the files of --csv and --html (run/exports.h), or null
};

// Writes the summary tables; false with a failure message.
bool summaryPass(const RunSettings& settings, const SurveyTables& tables, UniformGenerator& g,
                 const PassConsole& console, std::string& message);
// Writes the report file; false with a failure message.
bool reportPass(const RunSettings& settings, const SurveyTables& tables, UniformGenerator& g,
                const PassConsole& console, std::string& message);

}  // namespace eco
