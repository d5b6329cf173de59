#pragma once
// The files of --csv and --html beside the fixed-format ones: OUT.tables.csv
// (summary pass), OUT.assessment.csv and OUT.species.csv (report pass), and
// OUT.html after both passes. They are opened like the fixed-format files
// (under a temporary name, put in place only when the run succeeds), and a
// file that cannot be created or written ends the run the same way.
//
// Every function takes the Exports of the run or null (neither option
// given) and then does nothing.

#include <fstream>
#include <string>

#include "input/tables.h"
#include "output/results.h"
#include "run/run_settings.h"

namespace eco {

struct Exports {
  bool csv = false;
  bool html = false;
  RunResults results;  // what the HTML report shows (kept only with html)
  std::ofstream tables, assessment, species;
  std::string tablesName, assessmentName, speciesName;
};

// The summary pass: OUT.tables.csv with its header row, rows per ecotope.
bool openTableExports(const RunSettings& settings, Exports* exports, std::string& message);
void exportClasses(Exports* exports, const EcotopeClasses& ecotope);
bool closeTableExports(Exports* exports, std::string& message);

// The report pass: OUT.assessment.csv and OUT.species.csv.
bool openReportExports(const RunSettings& settings, Exports* exports, std::string& message);
void exportAssessment(Exports* exports, const EcotopeAssessment& ecotope);
bool closeReportExports(Exports* exports, std::string& message);

// After the passes: OUT.html.
bool writeHtmlExport(const RunSettings& settings, const SurveyTables& t, const Exports* exports,
                     std::string& message);

}  // namespace eco
