#include "output/result_writers.h"

#include "output/csv_export.h"
#include "output/output_files.h"
#include "output/report.h"

namespace eco {
namespace {

std::string writeFailure(const std::string& name) {
  return "error while writing output file " + name;
}

bool openExport(OutputFiles& files, const std::string& base, const char* extension,
                ExportFile& file, std::string& message) {
  file.name = base + extension;
  if (openOutputFile(files, file.name, file.out)) return true;
  message = std::string("error while opening ") + extension + " output file";
  return false;
}

// Closes a file that was opened; false with the message of a write that
// failed.
bool closeExport(ExportFile& file, std::string& message) {
  if (!file.out.is_open()) return true;
  file.out.close();
  if (!file.out.fail()) return true;
  message = writeFailure(file.name);
  return false;
}

}  // namespace

bool openTables(ResultWriters& w, std::string& message) {
  OutputFiles& files = *w.files;
  const WriterSettings& s = w.settings;
  if (!openSummaryTables(files, s.outputBase, s.biomass, w.tables, message)) return false;
  w.results.summaryRan = true;
  if (!s.csv) return true;
  if (!openExport(files, s.outputBase, ".tables.csv", w.tablesCsv, message)) return false;
  w.tablesCsv.out << tablesCsvHeader();
  return true;
}

void writeClasses(ResultWriters& w, const EcotopeClasses& ecotope) {
  writeClassRows(w.tables, ecotope);
  if (w.settings.csv) w.tablesCsv.out << tablesCsvRows(ecotope);
  if (w.settings.html) w.results.classes.push_back(ecotope);
}

bool closeTables(ResultWriters& w, std::string& message) {
  std::string failed;
  if (!closeSummaryTables(w.tables, failed)) {
    message = writeFailure(failed);
    return false;
  }
  return closeExport(w.tablesCsv, message);
}

bool openReport(ResultWriters& w, std::string& message) {
  OutputFiles& files = *w.files;
  const WriterSettings& s = w.settings;
  if (!openExport(files, s.outputBase, ".ASS", w.report, message)) return false;
  w.results.reportRan = true;
  if (!s.csv) return true;
  if (!openExport(files, s.outputBase, ".assessment.csv", w.assessmentCsv, message) ||
      !openExport(files, s.outputBase, ".species.csv", w.speciesCsv, message)) {
    return false;
  }
  w.assessmentCsv.out << assessmentCsvHeader();
  w.speciesCsv.out << speciesCsvHeader();
  return true;
}

bool writeAssessment(ResultWriters& w, const EcotopeAssessment& ecotope) {
  writeAssessmentBlock(w.report.out, ecotope, w.settings.listLength);
  if (w.settings.csv) {
    w.assessmentCsv.out << assessmentCsvRows(ecotope);
    w.speciesCsv.out << speciesCsvRows(ecotope);
  }
  if (w.settings.html) w.results.assessments.push_back(ecotope);
  return !w.report.out.fail();
}

bool closeReport(ResultWriters& w, std::string& message) {
  if (!closeExport(w.report, message)) return false;
  // Both are closed; the first failure is the one reported.
  std::string speciesMessage;
  const bool assessment = closeExport(w.assessmentCsv, message);
  const bool species = closeExport(w.speciesCsv, speciesMessage);
  if (assessment && !species) message = speciesMessage;
  return assessment && species;
}

bool finishRun(ResultWriters& w, std::string& message) {
  if (!w.settings.html) return true;
  OutputFiles& files = *w.files;
  ExportFile page;
  if (!openExport(files, w.settings.outputBase, ".html", page, message)) return false;
  page.out << htmlReport(w.settings.header, w.results);
  return closeExport(page, message);
}

}  // namespace eco
