#include "run/left_out.h"

#include <charconv>
#include <string>

#include "records/diagnostics.h"
#include "stats/eligibility.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace eco {
namespace {

void warnLeftOut(const SurveyTables& t, int e, const char* what, const std::string& reason) {
  const std::size_t ue = static_cast<std::size_t>(e);
  const std::string name = trimmed(t.ecotopes.etname[ue]);
  warnAbout(std::string("ecotopes left out of the ") + what, "ecotope",
            "ecotope " + std::to_string(t.ecotopes.etcode[ue]) + " (" + name +
                "): left out of the " + what + ": " + reason);
}

}  // namespace

void warnLeftOutOfSummary(const SurveyTables& t, int e) {
  warnLeftOut(t, e, "summary tables", "no reference station");
}

void warnLeftOutOfReport(const SurveyTables& t, int e) {
  const EcotopeStations& et = t.stations.ecotope[static_cast<std::size_t>(e)];
  const StationGroup& ref = et.group[kReference];
  std::string reason;
  switch (reportLeftOut(t.stations, e)) {
    case LeftOut::taken:
      return;
    case LeftOut::noReference:
      reason = "no reference station";
      break;
    case LeftOut::noAssessment:
      reason = "no assessment station";
      break;
    case LeftOut::fewReferences:
      reason = "fewer than three reference stations (" + std::to_string(ref.nstat()) + ")";
      break;
    case LeftOut::smallAssessment:
      reason = "assessment surface not above half the mean reference surface (" +
               shortestText(et.group[kAssessment].sumsurf) + " against half of " +
               shortestText(ref.meansurf) + ")";
      break;
  }
  warnLeftOut(t, e, "report", reason);
}

}  // namespace eco
