// The station file: ecotope code, station code, sample code, surface.
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "input/input_files.h"
#include "input/lookups.h"
#include "input/record_loop.h"
#include "numeric/evaluation.h"
#include "records/diagnostics.h"
#include "text/number_text.h"
#include "text/trim.h"

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

constexpr std::array<std::string_view, 4> kStationItems = {"ecotope code", "station code",
                                                           "sample code", "surface"};

// The located detail of a station that could not be registered: unknown
// ecotope, a code used twice in one ecotope, or a group over [MST].
std::string stationFailure(const EcotopeTable& ecotopes, const StationTable& stations,
                           int32_t ecotopeCode, int group, int32_t stationCode,
                           const std::string& fileName, int64_t line) {
  const auto e = ecotopes.index.find(ecotopeCode);
  if (e == ecotopes.index.end()) {
    return failureLine(fileName, line, 0,
                       "ecotope code " + std::to_string(ecotopeCode) + " of station " +
                           std::to_string(stationCode) + " is not in " + ecotopes.file +
                           ": add the ecotope there or correct the code");
  }
  const EcotopeStations& et = stations.ecotope[static_cast<std::size_t>(e->second)];
  const auto found = et.index.find(stationCode);
  if (found != et.index.end()) {
    const StationGroup& sg = et.group[static_cast<std::size_t>(found->second.first)];
    const std::size_t j = static_cast<std::size_t>(found->second.second);
    return failureLine(fileName, line, 0,
                       "station code " + std::to_string(stationCode) + " of ecotope " +
                           std::to_string(ecotopeCode) + " is already used on line " +
                           std::to_string(j < sg.line.size() ? sg.line[j] : 0) + " (" +
                           groupWord(found->second.first) +
                           " station): give every station of an ecotope its own code");
  }
  const StationGroup& sg = et.group[static_cast<std::size_t>(group)];
  return failureLine(fileName, line, 0,
                     "station " + std::to_string(stationCode) + " is " + groupWord(group) +
                         " station " + std::to_string(sg.nstat() + 1) + " of ecotope " +
                         std::to_string(ecotopeCode) + ", one more than " +
                         capacityLimit("[MST]", stations.maxstat) +
                         ": raise [MST] in the header file to at least the largest "
                         "number of stations in one group of one ecotope");
}

}  // namespace

bool readStationFile(std::istream& in, const std::string& fileName, EcotopeTable& ecotopes,
                     StationTable& stations, InputStatus& status) {
  stations.file = fileName;
  int32_t ecotopeCode = 0, stationCode = 0;
  std::string sampleCode(3, ' ');
  float surface = 0.0f;
  const std::array<ReadItem, 4> items = {ReadItem::integer(ecotopeCode),
                                         ReadItem::integer(stationCode),
                                         ReadItem::text(sampleCode, 3), ReadItem::real(surface)};
  RecordReader reader = recordReader(in, fileName, kStationUnit, "station", items, kStationItems);
  while (true) {
    switch (nextRecord(reader, status)) {
      case NextRecord::end:
        computeSurfaceStatistics(stations);
        return true;
      case NextRecord::failed:
        return false;
      case NextRecord::record:
        break;
    }
    const int64_t line = reader.line;
    int group = kReference;
    if (!decodeSampleCode(sampleCode, group)) {
      status.message = "wrong ASS/REF code in station file";
      status.detail = failureLine(fileName, line, 0,
                                  "sample code " + shownValue(trimmed(sampleCode)) +
                                      " is neither REF nor ASS: write REF (or ref) for a "
                                      "reference station, ASS (or ass) for an assessment station");
      return false;
    }
    int32_t e = 0, j = 0;
    int g = 0;
    if (!lookupStation(ecotopes, stations, ecotopeCode, group, stationCode,
                       LookupMode::registerCode, e, j, g, status.message)) {
      status.detail =
          stationFailure(ecotopes, stations, ecotopeCode, group, stationCode, fileName, line);
      return false;
    }
    if (!validSurface(surface, g)) {
      status.message = "station with invalid surface in station file, line " + std::to_string(line);
      status.detail = failureLine(
          fileName, line, 0,
          "the surface " + shownValue(shortestText(surface)) + " of " +
              (g == kReference ? "reference" : "assessment") + " station " +
              std::to_string(stationCode) +
              " is not valid: a reference station needs a surface above 0, an assessment "
              "station one of 0 or more");
      return false;
    }
    StationGroup& sg =
        stations.ecotope[static_cast<std::size_t>(e)].group[static_cast<std::size_t>(g)];
    sg.surf[static_cast<std::size_t>(j)] = surface;
    sg.sumsurf = sg.sumsurf + surface;
    sg.sumsqsurf = addProduct(sg.sumsqsurf, surface, surface);
    sg.line.resize(sg.stacode.size(), 0);
    sg.line[static_cast<std::size_t>(j)] = line;
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
