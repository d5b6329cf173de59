#include "stats/eligibility.h"

#include "resample/draw_targets.h"

namespace eco {
namespace {

const StationGroup& stationGroup(const StationTable& stations, int e, int g) {
  return stations.ecotope[static_cast<std::size_t>(e)].group[static_cast<std::size_t>(g)];
}

}  // namespace

LeftOut summaryLeftOut(const StationTable& stations, int e) {
  return stationGroup(stations, e, kReference).nstat() >= 1 ? LeftOut::taken : LeftOut::noReference;
}

LeftOut reportLeftOut(const StationTable& stations, int e) {
  const int32_t references = stationGroup(stations, e, kReference).nstat();
  if (references == 0) return LeftOut::noReference;
  if (stationGroup(stations, e, kAssessment).nstat() <= 0) return LeftOut::noAssessment;
  if (references < 3) return LeftOut::fewReferences;
  // Not above 0 fails for NaN too.
  const float target =
      reportTarget(stationGroup(stations, e, kReference), stationGroup(stations, e, kAssessment));
  if (!(target > 0.0f)) return LeftOut::smallAssessment;
  return LeftOut::taken;
}

}  // namespace eco
