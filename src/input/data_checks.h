#pragma once
// What the data file reader tells the user besides filling the matrices:
// records that repeat the station and species of an earlier one, stations
// of the station file without any record, and the located detail of a
// failed lookup. Messages go to standard error (records/diagnostics.h).

#include <cstdint>
#include <string>
#include <vector>

#include "input/tables.h"

namespace eco {

class DataChecks {
 public:
  explicit DataChecks(const StationTable& stations);

  // A record of station j of group g of ecotope e on `line`: species index
  // s, or -1 for the empty species code (a station without fauna).
  void note(int32_t e, int g, int32_t j, int32_t s, int64_t line);

  // After the last record: one warning per record that repeats the station
  // and species of an earlier one (in file order), then one per station
  // without any record. Sorts the records it keeps.
  void warn(const SurveyTables& tables, const std::string& dataFile);

 private:
  std::size_t flat(int32_t e, int g, int32_t j) const;
  void warnRepeats(const SurveyTables& tables, const std::string& dataFile);
  void warnStationsWithoutRecords(const SurveyTables& tables, const std::string& dataFile) const;

  std::vector<std::size_t> offset_;  // first flat index of each (ecotope, group)
  // Per station: (species << 32 | line) of every record with a species.
  std::vector<std::vector<uint64_t>> records_;
  std::vector<char> seen_;  // the station has a record (any species code)
};

// The located detail of a data record whose ecotope, station or species
// code is unknown.
std::string dataLookupFailure(const SurveyTables& tables, int32_t ecotopeCode, int32_t stationCode,
                              int32_t speciesCode, bool stationFound, const std::string& dataFile,
                              int64_t line);

}  // namespace eco
