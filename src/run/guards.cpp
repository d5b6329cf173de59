#include "run/guards.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "numeric/evaluation.h"
#include "records/diagnostics.h"
#include "resample/draw_targets.h"
#include "results/pseudo_samples.h"
#include "stats/profile.h"

namespace eco {
namespace {

std::string sci(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1e", v);
  return buf;
}

std::string plain(double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

std::string ecotopeLabel(const SurveyTables& t, std::size_t e) {
  return "ecotope " + std::to_string(t.ecotopes.etcode[e]) + " (" + trimmed(t.ecotopes.etname[e]) +
         ")";
}

struct Worst {
  double draws = -1;
  std::size_t e = 0;
  float target = 0;
  bool stalled = false;
};

std::string cause(const RunSettings& settings, const SurveyTables& t, const Worst& w,
                  bool summary) {
  const StationGroup& ref = t.stations.ecotope[w.e].group[kReference];
  const std::string draws = std::to_string(2 * static_cast<int64_t>(std::max(settings.maxstat, 0)));
  std::string text = ecotopeLabel(t, w.e) + ": ";
  if (w.stalled) {
    return text + "its summed surface stops growing in 32 bits at about " +
           plain(stallingSum(largestSurface(ref))) + " (reference surfaces up to " +
           plain(largestSurface(ref)) + "), so every pseudo-sample makes all 2 x [MST] = " + draws +
           " draws";
  }
  if (summary) {
    return text + std::to_string(ref.nstat()) + " reference stations give targets of up to " +
           std::to_string(ref.nstat()) + " stations ([MST] " + std::to_string(settings.maxstat) +
           " allows " + draws + " draws per pseudo-sample)";
  }
  return text + "the assessment surface is " + plain(w.target / ref.meansurf) +
         " times the mean reference surface ([MST] " + std::to_string(settings.maxstat) +
         " allows " + draws + " draws per pseudo-sample)";
}

}  // namespace

void warnRunaway(const RunSettings& settings, const SurveyTables& t, bool summary, bool report) {
  constexpr double kPseudoSamplesPerTarget = kPseudoSamples;
  for (int pass = 0; pass < 2; ++pass) {
    const bool isSummary = pass == 0;
    if (isSummary ? !summary : !report) continue;
    double total = 0;
    Worst worst;
    for (std::size_t e = 0; e < static_cast<std::size_t>(t.ecotopes.net()); ++e) {
      const int ie = static_cast<int>(e);
      const StationGroup& ref = t.stations.ecotope[e].group[kReference];
      const StationGroup& ass = t.stations.ecotope[e].group[kAssessment];
      double draws = 0;
      float target = 0;  // the largest one
      if (isSummary) {
        if (!eligibleForSummary(t.stations, ie)) continue;
        draws = summaryDraws(ref, settings.maxstat);
        if (ref.nstat() > 0) target = summaryTarget(ref.nstat(), ref.meansurf);
      } else {
        if (!eligibleForReport(t.stations, ie)) continue;
        target = reportTarget(ref, ass);
        draws = reportDraws(ref, ass, settings.maxstat);
      }
      draws *= kPseudoSamplesPerTarget;
      total += draws;
      if (draws > worst.draws) {
        worst = {draws, e, target, target > stallingSum(largestSurface(ref))};
      }
    }
    if (total <= kRunawayDraws) continue;
    const std::string passName = isSummary ? "summary tables" : "report";
    warnAbout(passName, "runaway",
              passName + ": about " + sci(total) +
                  " station draws expected, which may take hours; mostly " +
                  cause(settings, t, worst, isSummary));
  }
}

void warnOverflow(const SurveyTables& t, bool summary, bool report) {
  if (!summary && !report) return;
  for (std::size_t e = 0; e < static_cast<std::size_t>(t.ecotopes.net()); ++e) {
    const EcotopeStations& et = t.stations.ecotope[e];
    const EcotopeSamples& es = t.samples.ecotope[e];
    // Each total once per ecotope, in the order first found.
    std::vector<std::string> overflowed;
    auto warn = [&](const std::string& total) {
      if (std::find(overflowed.begin(), overflowed.end(), total) == overflowed.end()) {
        overflowed.push_back(total);
      }
    };
    for (int g = 0; g < 2; ++g) {
      const StationGroup& sg = et.group[static_cast<std::size_t>(g)];
      const std::string which = g == kReference ? "reference" : "assessment";
      if (std::isinf(sg.sumsurf)) warn("total " + which + " surface");
      bool dens = false, biom = false;
      for (std::size_t j = 0; j < sg.surf.size(); ++j) {
        if (j < es.stadens[g].size()) {
          dens =
              dens || std::isinf(es.stadens[g][j]) ||
              std::isinf(static_cast<float>(static_cast<Extended>(es.stadens[g][j]) * sg.surf[j]));
        }
        if (j < es.stabiom[g].size()) {
          biom =
              biom || std::isinf(es.stabiom[g][j]) ||
              std::isinf(static_cast<float>(static_cast<Extended>(es.stabiom[g][j]) * sg.surf[j]));
        }
      }
      if (g == kAssessment) {
        for (float v : es.assdens) dens = dens || std::isinf(v);
        for (float v : es.assbiom) biom = biom || std::isinf(v);
      }
      if (dens) warn(which + " density total");
      if (biom) warn(which + " biomass total");
    }
    if (report && eligibleForReport(t.stations, static_cast<int>(e))) {
      EcotopeProfile p;
      buildEcotopeProfile(t, static_cast<int>(e), p);
      if (std::isinf(p.totdensref)) warn("reference density total");
      if (std::isinf(p.totdensass)) warn("assessment density total");
      if (std::isinf(p.totbiomref)) warn("reference biomass total");
      if (std::isinf(p.totbiomass)) warn("assessment biomass total");
    }
    for (const std::string& total : overflowed) {
      warnAbout(ecotopeLabel(t, e), total,
                ecotopeLabel(t, e) + ": the " + total +
                    " overflowed to infinity; its results are not meaningful (check the units "
                    "of the station and data files)");
    }
  }
}

}  // namespace eco
