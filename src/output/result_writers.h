#pragma once
// Every file a run writes from its result records, behind one interface
// that the passes feed: the summary tables (.SIM, .DEN, .BIO, .NSP), the
// report (.ASS) and, with --csv and --html, OUT.tables.csv,
// OUT.assessment.csv, OUT.species.csv and OUT.html. Which of them are
// written is decided here from the settings; the passes only open, write
// and close.
//
// Files are created in this order: the tables, then OUT.tables.csv
// (openTables); the report, then OUT.assessment.csv and OUT.species.csv
// (openReport); OUT.html last (finishRun). Each is opened as one of the
// run's output files (output/output_files.h): under a temporary name, put in place
// only when the run succeeds. A file that cannot be created or written ends
// the run with the message of the function that found it.

#include <cstdint>
#include <fstream>
#include <string>

#include "output/html_report.h"
#include "output/output_files.h"
#include "output/summary_tables.h"
#include "results/records.h"

namespace eco {

struct WriterSettings {
  std::string outputBase;  // [OUT] without its padding
  bool biomass = false;    // the data carry biomass: .BIO exists
  int64_t listLength = 0;  // decides the "....." separator of the report's lists
  bool csv = false, html = false;
  HtmlHeader header;  // what the HTML report says about the run
};

// A file of the exports with the name it was opened under.
struct ExportFile {
  std::ofstream out;
  std::string name;
};

struct ResultWriters {
  OutputFiles* files = nullptr;  // the run's output files: set before the first open
  WriterSettings settings;
  SummaryTables tables;
  ExportFile report;
  ExportFile tablesCsv, assessmentCsv, speciesCsv;
  RunResults results;  // what the HTML report shows (kept only with html)
};

// The summary pass.
bool openTables(ResultWriters& w, std::string& message);
void writeClasses(ResultWriters& w, const EcotopeClasses& ecotope);
bool closeTables(ResultWriters& w, std::string& message);

// The report pass. writeAssessment is false once the report file can no
// longer be written (the pass need not go on; closeReport says why).
bool openReport(ResultWriters& w, std::string& message);
bool writeAssessment(ResultWriters& w, const EcotopeAssessment& ecotope);
bool closeReport(ResultWriters& w, std::string& message);

// After the passes: the HTML report.
bool finishRun(ResultWriters& w, std::string& message);

}  // namespace eco
