// The station file: ecotope code, station code, sample code, surface.
#include <array>
#include <cmath>

#include "input/input_files.h"
#include "input/lookups.h"
#include "input/record_loop.h"
#include "numeric/evaluation.h"

namespace eco {
namespace {

// Only the first three characters count, and only these four forms.
bool decodeSampleCode(const std::string& code, int& group) {
  const std::string head = code.substr(0, 3);
  if (head == "REF" || head == "ref") {
    group = kReference;
    return true;
  }
  if (head == "ASS" || head == "ass") {
    group = kAssessment;
    return true;
  }
  return false;
}

// Surfaces divide the resampling targets, the class rounding and the
// profiles: a negative or non-finite surface, or a reference station that
// sampled nothing, would make them meaningless or endless.
bool validSurface(float surface, int group) {
  if (!std::isfinite(surface) || surface < 0.0f) return false;
  return group == kAssessment || surface > 0.0f;
}

}  // namespace

bool readStationFile(std::istream& in, const std::string& fileName, EcotopeTable& ecotopes,
                     StationTable& stations, InputStatus& status) {
  RecordSource source = fileSource(in, fileName, kStationUnit);
  int32_t ecotopeCode = 0, stationCode = 0;
  std::string sampleCode(3, ' ');
  float surface = 0.0f;
  const std::array<ReadItem, 4> items = {ReadItem::integer(ecotopeCode),
                                         ReadItem::integer(stationCode),
                                         ReadItem::text(sampleCode, 3), ReadItem::real(surface)};
  long line = 0;
  while (true) {
    switch (nextRecord(source, items, "station", status, line)) {
      case NextRecord::end:
        computeSurfaceStatistics(stations);
        return true;
      case NextRecord::failed:
        return false;
      case NextRecord::record:
        break;
    }
    int group = kReference;
    if (!decodeSampleCode(sampleCode, group)) {
      status.message = "wrong ASS/REF code in station file";
      return false;
    }
    int32_t e = 0, j = 0;
    int g = 0;
    if (!lookupStation(ecotopes, stations, ecotopeCode, group, stationCode,
                       LookupMode::registerCode, e, j, g, status.message)) {
      return false;
    }
    if (!validSurface(surface, g)) {
      status.message = "station with invalid surface in station file, line " + std::to_string(line);
      return false;
    }
    StationGroup& sg =
        stations.ecotope[static_cast<std::size_t>(e)].group[static_cast<std::size_t>(g)];
    sg.surf[static_cast<std::size_t>(j)] = surface;
    sg.sumsurf = sg.sumsurf + surface;
    sg.sumsqsurf = addProduct(sg.sumsqsurf, surface, surface);
  }
}

void computeSurfaceStatistics(StationTable& stations) {
  for (EcotopeStations& et : stations.ecotope) {
    for (StationGroup& sg : et.group) {
      const float n = static_cast<float>(sg.nstat());
      // An empty group gets 0/0: a mean that is not a number.
      sg.meansurf = sg.sumsurf / n;
      const Extended m = sg.meansurf;
      float v = static_cast<float>((static_cast<Extended>(sg.sumsqsurf) - m * m * n) /
                                   (static_cast<Extended>(n) - 1));
      // A single station divides by zero: its deviation is 0, like that of
      // a negative or undefined variance.
      if (!(v >= 0.0f) || std::isinf(v)) v = 0.0f;
      sg.sdsurf = std::sqrt(v);
    }
  }
}

}  // namespace eco
