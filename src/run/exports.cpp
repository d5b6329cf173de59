#include "run/exports.h"

#include "output/csv_export.h"
#include "output/html_report.h"
#include "output/output_files.h"
#include "run/results_build.h"

namespace eco {
namespace {

bool openExport(const std::string& base, const char* extension, std::ofstream& out,
                std::string& name, std::string& message) {
  name = base + extension;
  if (openOutputFile(name, out)) return true;
  message = std::string("error while opening ") + extension + " output file";
  return false;
}

// Closes a file; false with the message of a write that failed.
bool closeExport(std::ofstream& out, const std::string& name, std::string& message) {
  if (!out.is_open()) return true;
  out.close();
  if (!out.fail()) return true;
  message = "error while writing output file " + name;
  return false;
}

}  // namespace

bool openTableExports(const RunSettings& settings, Exports* exports, std::string& message) {
  if (exports == nullptr) return true;
  exports->results.summaryRan = true;
  if (!exports->csv) return true;
  if (!openExport(trimmed(settings.outputName), ".tables.csv", exports->tables, exports->tablesName,
                  message)) {
    return false;
  }
  exports->tables << tablesCsvHeader();
  return true;
}

void exportClasses(Exports* exports, const EcotopeClasses& ecotope) {
  if (exports == nullptr) return;
  if (exports->csv) exports->tables << tablesCsvRows(ecotope);
  if (exports->html) exports->results.classes.push_back(ecotope);
}

bool closeTableExports(Exports* exports, std::string& message) {
  return exports == nullptr || closeExport(exports->tables, exports->tablesName, message);
}

bool openReportExports(const RunSettings& settings, Exports* exports, std::string& message) {
  if (exports == nullptr) return true;
  exports->results.reportRan = true;
  if (!exports->csv) return true;
  const std::string base = trimmed(settings.outputName);
  if (!openExport(base, ".assessment.csv", exports->assessment, exports->assessmentName, message) ||
      !openExport(base, ".species.csv", exports->species, exports->speciesName, message)) {
    return false;
  }
  exports->assessment << assessmentCsvHeader();
  exports->species << speciesCsvHeader();
  return true;
}

void exportAssessment(Exports* exports, const EcotopeAssessment& ecotope) {
  if (exports == nullptr) return;
  if (exports->csv) {
    exports->assessment << assessmentCsvRows(ecotope);
    exports->species << speciesCsvRows(ecotope);
  }
  if (exports->html) exports->results.assessments.push_back(ecotope);
}

bool closeReportExports(Exports* exports, std::string& message) {
  if (exports == nullptr) return true;
  // Both are closed; the first failure is the one reported.
  std::string speciesMessage;
  const bool assessment = closeExport(exports->assessment, exports->assessmentName, message);
  const bool species = closeExport(exports->species, exports->speciesName, speciesMessage);
  if (assessment && !species) message = speciesMessage;
  return assessment && species;
}

bool writeHtmlExport(const RunSettings& settings, const SurveyTables& t, const Exports* exports,
                     std::string& message) {
  if (exports == nullptr || !exports->html) return true;
  std::ofstream out;
  std::string name;
  if (!openExport(trimmed(settings.outputName), ".html", out, name, message)) return false;
  out << htmlReport(htmlHeaderFor(settings, t), exports->results);
  return closeExport(out, name, message);
}

}  // namespace eco
