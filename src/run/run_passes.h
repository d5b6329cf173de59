#pragma once
// The passes of a run once its input is read: the summary tables and the
// report as the mode asks, the guards against runaway and overflowing runs,
// the progress display, putting the output files in place and the closing
// line.

#include <chrono>
#include <string>

#include "input/tables.h"
#include "output/output_files.h"
#include "run/command_line.h"
#include "run/run_settings.h"

namespace eco {

struct RunTiming {
  std::chrono::steady_clock::time_point start;
};

// Writes the run's files into `files` and puts them in place. False with
// the failure message of the system (the caller prints it and discards the
// files).
bool runPasses(const RunSettings& settings, const SurveyTables& tables,
               const CommandLine& commandLine, const RunTiming& timing, OutputFiles& files,
               std::string& message);

}  // namespace eco
