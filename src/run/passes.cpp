#include "run/passes.h"

#include <array>
#include <fstream>

#include "numeric/evaluation.h"
#include "numeric/quantile.h"
#include "output/edit.h"
#include "output/output_files.h"
#include "output/result_writers.h"
#include "output/summary_tables.h"
#include "records/diagnostics.h"
#include "run/exports.h"
#include "run/left_out.h"
#include "run/progress.h"
#include "run/results_build.h"
#include "stats/class_order.h"
#include "stats/class_tables.h"
#include "stats/comparison.h"
#include "stats/distributions.h"
#include "stats/profile.h"
#include "stats/similarity.h"

namespace eco {
namespace {

void warnShort(int32_t etcode, int64_t count) {
  if (count == 0) return;
  warnAbout("ecotope " + std::to_string(etcode), "short",
            "ecotope " + std::to_string(etcode) + ": " + std::to_string(count) +
                " pseudo-samples fell short of their target surface (their random numbers ran "
                "out)");
}

std::string writeFailure(const std::string& name) {
  return "error while writing output file " + name;
}

}  // namespace

bool summaryPass(const RunSettings& settings, const SurveyTables& t, UniformGenerator& g,
                 const PassConsole& console, std::string& message) {
  const bool biomass = settings.biomassPresent;
  SummaryTables tables;
  if (!openSummaryTables(trimmed(settings.outputName), biomass, tables, message)) return false;
  if (!openTableExports(settings, console.exports, message)) return false;
  EcotopeProfile profile;
  ClassTables classes;
  for (int e = 0; e < t.ecotopes.net(); ++e) {
    if (!eligibleForSummary(t.stations, e)) {
      warnLeftOutOfSummary(t, e);
      continue;
    }
    const StationGroup& ref = t.stations.ecotope[static_cast<std::size_t>(e)].group[kReference];
    const int32_t etcode = t.ecotopes.etcode[static_cast<std::size_t>(e)];
    if (console.progress != nullptr) console.progress->summaryEcotope(e);
    buildReferenceProfile(t, e, profile);
    const DrawSetup setup = makeDrawSetup(t, e, profile.refprof, false, false, settings.maxstat);
    const int64_t fellShort = fillClassTables(
        setup, ref.meansurf, biomass, g, classes,
        [&](int32_t k) {
          writeFree(*console.console, std::vector<OutItem>{OutItem::of(e + 1), OutItem::of(k)});
          if (console.progress != nullptr) console.progress->summaryTarget(k);
        },
        console.threads);
    warnShort(etcode, fellShort);
    orderClassTables(classes, console.threads);
    // The results leave the statistics here, for every writer.
    const EcotopeClasses rows = summarizeClasses(t, e, classes, biomass);
    writeClassRows(tables, rows);
    exportClasses(console.exports, rows);
  }
  std::string failed;
  if (!closeSummaryTables(tables, failed)) {
    message = writeFailure(failed);
    return false;
  }
  return closeTableExports(console.exports, message);
}

namespace {

void reportEcotope(std::ostream& out, const RunSettings& settings, const SurveyTables& t, int e,
                   UniformGenerator& g, const PassConsole& console) {
  const std::size_t ue = static_cast<std::size_t>(e);
  const bool biomass = settings.biomassPresent;

  // Observed values.
  EcotopeProfile profile;
  buildEcotopeProfile(t, e, profile);
  const ObservedValues obs = observeEcotope(profile, t.species.nspec(), biomass);

  // The reference distributions.
  const DrawSetup setup = makeDrawSetup(t, e, profile.refprof, true, true, settings.maxstat);
  RefDistributions dist;
  const ObservedLists observed{obs.contribobs, obs.ddiffobs, obs.bdiffobs, settings.listLength};
  warnShort(t.ecotopes.etcode[ue],
            fillRefDistributions(setup, profile, biomass, observed, g, dist, console.threads));

  // The results leave the statistics here, for every writer.
  const EcotopeAssessment result =
      assessEcotope(t, e, profile, obs, dist, biomass, settings.listLength);
  writeAssessmentBlock(out, result, settings.listLength);
  exportAssessment(console.exports, result);
}

}  // namespace

bool reportPass(const RunSettings& settings, const SurveyTables& t, UniformGenerator& g,
                const PassConsole& console, std::string& message) {
  const std::string name = trimmed(settings.outputName) + ".ASS";
  std::ofstream out;
  if (!openOutputFile(name, out)) {
    message = "error while opening .ASS output file";
    return false;
  }
  if (!openReportExports(settings, console.exports, message)) return false;
  for (int e = 0; e < t.ecotopes.net(); ++e) {
    if (!eligibleForReport(t.stations, e)) {
      warnLeftOutOfReport(t, e);
      continue;
    }
    if (console.progress != nullptr) console.progress->reportEcotope(e, false);
    reportEcotope(out, settings, t, e, g, console);
    if (console.progress != nullptr) console.progress->reportEcotope(e, true);
    if (!out) break;
  }
  out.close();
  if (out.fail()) {
    message = writeFailure(name);
    return false;
  }
  return closeReportExports(console.exports, message);
}

}  // namespace eco
