#include "input/data_checks.h"

#include <algorithm>
#include <limits>

#include "records/diagnostics.h"

namespace eco {
namespace {

// Lines past the 32-bit range are still counted, only named less exactly.
uint64_t packed(int32_t s, int64_t line) {
  const uint64_t l = static_cast<uint64_t>(
      std::min<int64_t>(line, static_cast<int64_t>(std::numeric_limits<uint32_t>::max())));
  return (static_cast<uint64_t>(static_cast<uint32_t>(s)) << 32) | l;
}

struct Repeat {
  int64_t line = 0;
  int64_t earlier = 0;
  int32_t e = 0, j = 0, s = 0;
  int g = 0;
};

// The first kWarningLimit repeats in file order, and how many there are in
// all (a file pasted twice over may repeat every one of its records, so
// only the few to be told are kept: a heap with the latest on top).
struct FirstRepeats {
  std::vector<Repeat> kept;
  int64_t count = 0;

  static bool later(const Repeat& a, const Repeat& b) { return a.line < b.line; }

  void add(const Repeat& repeat) {
    ++count;
    if (kept.size() < static_cast<std::size_t>(kWarningLimit)) {
      kept.push_back(repeat);
      std::push_heap(kept.begin(), kept.end(), later);
    } else if (repeat.line < kept.front().line) {
      std::pop_heap(kept.begin(), kept.end(), later);
      kept.back() = repeat;
      std::push_heap(kept.begin(), kept.end(), later);
    }
  }
  void sortInFileOrder() { std::sort_heap(kept.begin(), kept.end(), later); }
};

std::string repeatText(const SurveyTables& tables, const Repeat& r) {
  const StationGroup& sg =
      tables.stations.ecotope[static_cast<std::size_t>(r.e)].group[static_cast<std::size_t>(r.g)];
  std::string text = "station " + std::to_string(sg.stacode[static_cast<std::size_t>(r.j)]) + " (" +
                     groupWord(r.g) + ") of ecotope " +
                     std::to_string(tables.ecotopes.etcode[static_cast<std::size_t>(r.e)]) +
                     " and species " +
                     std::to_string(tables.species.specode[static_cast<std::size_t>(r.s)]) +
                     " were already recorded on line " + std::to_string(r.earlier) + ": ";
  if (r.g == kReference) {
    return text + "this record replaces the values of line " + std::to_string(r.earlier) +
           " (the station's total counts both); remove one of the two lines";
  }
  return text + "the values of both lines are added; remove one of them if it was entered twice";
}

}  // namespace

DataChecks::DataChecks(const StationTable& stations) {
  std::size_t n = 0;
  for (const EcotopeStations& et : stations.ecotope) {
    for (const StationGroup& sg : et.group) {
      offset_.push_back(n);
      n += sg.stacode.size();
    }
  }
  records_.resize(n);
  seen_.assign(n, 0);
}

std::size_t DataChecks::flat(int32_t e, int g, int32_t j) const {
  return offset_[static_cast<std::size_t>(e) * 2 + static_cast<std::size_t>(g)] +
         static_cast<std::size_t>(j);
}

void DataChecks::note(int32_t e, int g, int32_t j, int32_t s, int64_t line) {
  const std::size_t f = flat(e, g, j);
  seen_[f] = 1;
  if (s >= 0) records_[f].push_back(packed(s, line));
}

void DataChecks::warn(const SurveyTables& tables, const std::string& dataFile) {
  warnRepeats(tables, dataFile);
  warnStationsWithoutRecords(tables, dataFile);
}

// Repeated records, found per station; only the first few in file order are
// told, the others counted.
void DataChecks::warnRepeats(const SurveyTables& tables, const std::string& dataFile) {
  FirstRepeats repeats;
  for (std::size_t e = 0; e < tables.stations.ecotope.size(); ++e) {
    for (int g = 0; g < 2; ++g) {
      const StationGroup& sg = tables.stations.ecotope[e].group[static_cast<std::size_t>(g)];
      for (std::size_t j = 0; j < sg.stacode.size(); ++j) {
        std::vector<uint64_t>& r =
            records_[flat(static_cast<int32_t>(e), g, static_cast<int32_t>(j))];
        if (r.size() < 2) continue;
        std::sort(r.begin(), r.end());
        for (std::size_t i = 1; i < r.size(); ++i) {
          if ((r[i] >> 32) != (r[i - 1] >> 32)) continue;
          repeats.add(Repeat{static_cast<int64_t>(r[i] & 0xFFFFFFFFu),
                             static_cast<int64_t>(r[i - 1] & 0xFFFFFFFFu), static_cast<int32_t>(e),
                             static_cast<int32_t>(j), static_cast<int32_t>(r[i] >> 32), g});
        }
      }
    }
  }
  repeats.sortInFileOrder();
  for (const Repeat& r : repeats.kept) {
    warnAt(dataFile, r.line, "repeated record", repeatText(tables, r));
  }
  countWarnings(dataFile, "repeated record",
                repeats.count - static_cast<int64_t>(repeats.kept.size()));
}

// Each station without any record counts as a station without fauna.
void DataChecks::warnStationsWithoutRecords(const SurveyTables& tables,
                                            const std::string& dataFile) const {
  for (std::size_t e = 0; e < tables.stations.ecotope.size(); ++e) {
    for (int g = 0; g < 2; ++g) {
      const StationGroup& sg = tables.stations.ecotope[e].group[static_cast<std::size_t>(g)];
      for (std::size_t j = 0; j < sg.stacode.size(); ++j) {
        if (seen_[flat(static_cast<int32_t>(e), g, static_cast<int32_t>(j))] != 0) continue;
        warnAt(tables.stations.file, j < sg.line.size() ? sg.line[j] : 0, "station without records",
               std::string(groupWord(g)) + " station " + std::to_string(sg.stacode[j]) +
                   " of ecotope " + std::to_string(tables.ecotopes.etcode[e]) +
                   " has no record in " + dataFile +
                   ": it counts as a station sampled without fauna; if it was, say so with a "
                   "record of the empty species code ([EMS], 999 by default), else add its "
                   "records");
      }
    }
  }
}

std::string dataLookupFailure(const SurveyTables& tables, int32_t ecotopeCode, int32_t stationCode,
                              int32_t speciesCode, bool stationFound, const std::string& dataFile,
                              int64_t line) {
  const auto e = tables.ecotopes.index.find(ecotopeCode);
  if (e == tables.ecotopes.index.end()) {
    return failureLine(dataFile, line, 0,
                       "ecotope code " + std::to_string(ecotopeCode) + " is not in " +
                           tables.ecotopes.file + ": add the ecotope there or correct the code");
  }
  if (!stationFound) {
    std::string elsewhere;
    for (std::size_t other = 0; other < tables.stations.ecotope.size(); ++other) {
      if (tables.stations.ecotope[other].index.count(stationCode) == 0) continue;
      elsewhere += elsewhere.empty() ? " (it is a station of ecotope " : ", ";
      elsewhere += std::to_string(tables.ecotopes.etcode[other]);
    }
    if (!elsewhere.empty()) elsewhere += ")";
    return failureLine(dataFile, line, 0,
                       "station code " + std::to_string(stationCode) + " of ecotope " +
                           std::to_string(ecotopeCode) + " is not in " + tables.stations.file +
                           elsewhere + ": add the station there or correct the code");
  }
  return failureLine(dataFile, line, 0,
                     "species code " + std::to_string(speciesCode) + " is not in " +
                         tables.species.file + ": add the species there or correct the code");
}

}  // namespace eco
