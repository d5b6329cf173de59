#pragma once
// The two passes over the ecotopes: the summary tables and the report,
// each feeding its results to the writers of the run.

#include <ostream>
#include <string>

#include "input/tables.h"
#include "numeric/random.h"
#include "output/result_writers.h"
#include "run/run_settings.h"

namespace eco {

// Where the passes write besides their files: progress lines (console);
// warnings go to the diagnostics on standard error.
struct PassConsole {
  std::ostream* console;
  int threads = 1;  // threads that may draw pseudo-samples (the results never depend on it)
  struct ProgressDisplay* progress = nullptr;  // the terminal status line, or null
};

// What the writers of a run write, from its settings and the options
// --csv and --html.
WriterSettings writerSettings(const RunSettings& settings, const SurveyTables& tables, bool csv,
                              bool html);

// Writes the summary tables; false with a failure message.
bool summaryPass(const RunSettings& settings, const SurveyTables& tables, UniformGenerator& g,
                 const PassConsole& console, ResultWriters& writers, std::string& message);
// Writes the report; false with a failure message.
bool reportPass(const RunSettings& settings, const SurveyTables& tables, UniformGenerator& g,
                const PassConsole& console, ResultWriters& writers, std::string& message);

}  // namespace eco
