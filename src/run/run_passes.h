#pragma once
// The passes of a run once its input is read: the summary tables and the
// report as the mode asks, the guards against runaway and overflowing runs,
// the progress display, putting the output files in place and the closing
// line.

#include <chrono>
#include <string>

#include "input/tables.h"
#include "run/command_line.h"
#include "run/run_settings.h"

namespace eco {

struct RunTiming {
  std::chrono::steady_clock::time_point start;
};

// False with the failure message of the system (the caller prints it and
// the output files of the run are discarded).
bool runPasses(const RunSettings& settings, const SurveyTables& tables,
               const CommandLine& commandLine, const RunTiming& timing, std::string& message);

}  // namespace eco
