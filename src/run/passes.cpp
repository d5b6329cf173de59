#include "run/passes.h"

#include <array>
#include <fstream>

#include "numeric/evaluation.h"
#include "numeric/quantile.h"
#include "output/edit.h"
#include "output/output_files.h"
#include "output/report.h"
#include "output/summary_tables.h"
#include "records/diagnostics.h"
#include "run/progress.h"
#include "stats/class_tables.h"
#include "stats/comparison.h"
#include "stats/distributions.h"
#include "stats/profile.h"
#include "stats/similarity.h"

namespace eco {
namespace {

using Quantiles = std::array<float, 11>;

Quantiles quantilesOf(const std::vector<float>& values) {
  Quantiles q{}, xlo{}, xhi{};
  int32_t nmv = 0;
  EQTIL(static_cast<int32_t>(values.size()), values.data(), 11, kProportions.data(), q.data(),
        xlo.data(), xhi.data(), nmv);
  return q;
}

void warnShort(const PassConsole& console, int32_t etcode, int64_t count) {
  (void)console;
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
  EcotopeProfile profile;
  ClassTables classes;
  for (int e = 0; e < t.ecotopes.net(); ++e) {
    if (!eligibleForSummary(t.stations, e)) continue;
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
    warnShort(console, etcode, fellShort);
    for (int32_t c = 1; c <= ref.nstat(); ++c) {
      const std::size_t row = static_cast<std::size_t>(c - 1);
      const float surface = static_cast<float>(c) * ref.meansurf;
      auto writeRow = [&](std::ofstream& out, const std::vector<float>& values) {
        const Quantiles q = quantilesOf(classValues(values));
        writeSummaryRow(out, etcode, surface, q.data());
      };
      writeRow(tables.sim, classes.simclass[row]);
      writeRow(tables.den, classes.densclass[row]);
      if (biomass) writeRow(tables.bio, classes.biomclass[row]);
      writeRow(tables.nsp, classes.nspclass[row]);
    }
  }
  std::string failed;
  if (!closeSummaryTables(tables, failed)) {
    message = writeFailure(failed);
    return false;
  }
  return true;
}

namespace {

std::vector<ListRow> listRows(const std::vector<Contributor>& list, const SpeciesTable& species,
                              const std::vector<float>* ass, const std::vector<float>* ref) {
  std::vector<ListRow> rows;
  for (const Contributor& c : list) {
    const std::size_t s = static_cast<std::size_t>(c.species);
    ListRow r;
    r.name = species.spename[s];
    r.value = c.value;
    r.plow = c.plow;
    r.phigh = c.phigh;
    if (ass != nullptr) {
      r.assValue = pow4((*ass)[s]);
      r.refValue = pow4((*ref)[s]);
    }
    rows.push_back(r);
  }
  return rows;
}

void measureHead(std::ostream& out, const std::string& title, const std::vector<float>& dist, int p,
                 int q) {
  const std::string grade = powerGrade(dist);
  const Quantiles quantiles = quantilesOf(dist);
  writeMeasureHead(out, title, grade, p, q, quantiles.data());
}

void chances(std::ostream& out, float observed, const std::vector<float>& dist) {
  const Chances c = chanceProbability(observed, dist);
  writeChances(out, c.plow, c.phigh);
}

// The density or biomass section ("DENSITY" or "BIOMASS"): grade,
// percentiles, totals, chances and the lists of largest differences.
void differenceSection(std::ostream& out, const SurveyTables& t, const RunSettings& settings,
                       const std::string& measure, const std::vector<float>& dist, float reference,
                       float observed, const std::vector<float>& diffobs,
                       const SpeciesRows& diffdist, const std::vector<float>& assprof,
                       const std::vector<float>& refprof) {
  const std::string lower = measure == "DENSITY" ? "density" : "biomass";
  const std::string shortName = measure == "DENSITY" ? "dens" : "biom";
  measureHead(out, measure + " CALCULATIONS", dist, 10, 1);
  writeValueRecord(out, reference, 5, "TOTAL " + measure + " IN REFERENCE SAMPLE");
  writeValueRecord(out, observed, 5, "TOTAL " + measure + " IN ASSESSMENT SAMPLE");
  chances(out, observed, dist);
  ContributorList list;
  selectContributors(diffobs, diffdist, settings.listLength, list);
  writeDifferenceList(out,
                      "SPECIES SCORING HIGHEST ABSOLUTE " + measure + " DIFFERENCES WITH REFERENCE",
                      "Species name            " + lower + " diff. proplow  prophigh  ASS." +
                          shortName + "  REF." + shortName,
                      listRows(list.positive, t.species, &assprof, &refprof),
                      listRows(list.negative, t.species, &assprof, &refprof), list.listLength);
  writeClosingRule(out, false);
}

void reportEcotope(std::ostream& out, const RunSettings& settings, const SurveyTables& t, int e,
                   UniformGenerator& g, const PassConsole& console) {
  const std::size_t ue = static_cast<std::size_t>(e);
  const bool biomass = settings.biomassPresent;
  const EcotopeStations& et = t.stations.ecotope[ue];
  const std::size_t nspec = static_cast<std::size_t>(t.species.nspec());

  writeBanner(out, t.ecotopes.etname[ue]);
  if (surfaceWarning(t.stations, e)) writeSurfaceWarning(out);
  writeSurfaceTotals(out, et.group[kReference].sumsurf, et.group[kAssessment].sumsurf);

  // Observed values.
  EcotopeProfile profile;
  buildEcotopeProfile(t, e, profile);
  std::vector<float> contribobs(nspec), ddiffobs(nspec), bdiffobs(biomass ? nspec : 0);
  const float simobs = brayCurtis(profile.assprof, profile.refprof, contribobs);
  for (std::size_t s = 0; s < nspec; ++s) {
    ddiffobs[s] = diffPow4(profile.assprof[s], profile.refprof[s]);
    if (biomass) bdiffobs[s] = diffPow4(profile.assbprof[s], profile.refbprof[s]);
  }

  // The reference distributions.
  const DrawSetup setup = makeDrawSetup(t, e, profile.refprof, true, true, settings.maxstat);
  RefDistributions dist;
  const ObservedLists observed{contribobs, ddiffobs, bdiffobs, settings.listLength};
  warnShort(console, t.ecotopes.etcode[ue],
            fillRefDistributions(setup, profile, biomass, observed, g, dist, console.threads));

  ContributorList list;

  measureHead(out, "SIMILARITY CALCULATIONS", dist.simdist, 7, 3);
  writeValueRecord(out, simobs, 5, "SIMILARITY OF ASSESSMENT SAMPLE WITH REFERENCE");
  chances(out, simobs, dist.simdist);
  selectContributors(contribobs, dist.contribdist, settings.listLength, list);
  writeContributingSpecies(out, listRows(list.positive, t.species, nullptr, nullptr));
  writeClosingRule(out, false);

  measureHead(out, "No. of SPECIES CALCULATIONS", dist.nspdist, 8, 1);
  writeValueRecord(out, profile.nspref, 0, "NUMBER OF SPECIES IN REFERENCE");
  writeValueRecord(out, profile.nspass, 0, "NUMBER OF SPECIES IN ASSESSMENT");
  chances(out, profile.nspass, dist.nspdist);
  std::vector<std::string> names;
  for (int32_t s : newSpecies(profile.refprof, profile.assprof)) {
    names.push_back(t.species.spename[static_cast<std::size_t>(s)]);
  }
  writeNewSpecies(out, names);
  writeClosingRule(out, true);

  differenceSection(out, t, settings, "DENSITY", dist.densdist, profile.totdensref,
                    profile.totdensass, ddiffobs, dist.ddiffdist, profile.assprof, profile.refprof);
  if (biomass) {
    differenceSection(out, t, settings, "BIOMASS", dist.biomdist, profile.totbiomref,
                      profile.totbiomass, bdiffobs, dist.bdiffdist, profile.assbprof,
                      profile.refbprof);
  }
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
  for (int e = 0; e < t.ecotopes.net(); ++e) {
    if (!eligibleForReport(t.stations, e)) continue;
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
  return true;
}

}  // namespace eco
