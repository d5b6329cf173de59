#include "run/passes.h"

#include "numeric/evaluation.h"
#include "numeric/quantile.h"
#include "output/edit.h"
#include "records/diagnostics.h"
#include "run/command_line.h"
#include "run/left_out.h"
#include "run/progress.h"
#include "stats/assessment.h"
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

}  // namespace

WriterSettings writerSettings(const RunSettings& settings, const SurveyTables& t, bool csv,
                              bool html) {
  WriterSettings w;
  w.outputBase = trimmed(settings.outputName);
  w.biomass = settings.biomassPresent;
  w.listLength = settings.listLength;
  w.csv = csv;
  w.html = html;
  HtmlHeader& h = w.header;
  h.title = settings.title;
  h.inputName = settings.inputName;
  h.outputName = settings.outputName;
  h.mode = settings.mode;
  h.biomass = settings.biomassPresent;
  h.ecotopes = t.ecotopes.net();
  h.species = t.species.nspec();
  h.maxstat = settings.maxstat;
  h.listLength = settings.listLength;
  h.version = kVersion;
  return w;
}

bool summaryPass(const RunSettings& settings, const SurveyTables& t, UniformGenerator& g,
                 const PassConsole& console, ResultWriters& writers, std::string& message) {
  const bool biomass = settings.biomassPresent;
  if (!openTables(writers, message)) return false;
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
    writeClasses(writers, summarizeClasses(t, e, classes, biomass));
  }
  return closeTables(writers, message);
}

namespace {

// False once the report can no longer be written.
bool reportEcotope(const RunSettings& settings, const SurveyTables& t, int e, UniformGenerator& g,
                   const PassConsole& console, ResultWriters& writers) {
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
  return writeAssessment(writers,
                         assessEcotope(t, e, profile, obs, dist, biomass, settings.listLength));
}

}  // namespace

bool reportPass(const RunSettings& settings, const SurveyTables& t, UniformGenerator& g,
                const PassConsole& console, ResultWriters& writers, std::string& message) {
  if (!openReport(writers, message)) return false;
  for (int e = 0; e < t.ecotopes.net(); ++e) {
    if (!eligibleForReport(t.stations, e)) {
      warnLeftOutOfReport(t, e);
      continue;
    }
    if (console.progress != nullptr) console.progress->reportEcotope(e, false);
    const bool writable = reportEcotope(settings, t, e, g, console, writers);
    if (console.progress != nullptr) console.progress->reportEcotope(e, true);
    if (!writable) break;
  }
  return closeReport(writers, message);
}

}  // namespace eco
