#pragma once
// A survey as the import builds it from tables and writes it as the
// program's input files. Every vector keeps the order of the tables, which
// is part of the result: station order fixes the random draws, record
// order the rounding of the sums.

#include <cstdint>
#include <string>
#include <vector>

namespace eco {

struct ImportedSurvey {
  struct Named {
    int32_t code = 0;
    std::string name;  // at most 50 bytes, whole UTF-8 characters, no line break
  };
  struct Station {
    std::size_t ecotope = 0;  // index into ecotopes
    int32_t code = 0;
    bool reference = true;
    float surface = 0;
  };
  struct Record {
    std::size_t station = 0;  // index into stations
    std::size_t species = 0;  // index into species
    float density = 0, biomass = 0;
  };
  std::vector<Named> ecotopes, species;
  std::vector<Station> stations;
  std::vector<Record> records;
  bool biomass = false;
  int32_t emptySpeciesCode = 999;  // used by no species
};

}  // namespace eco
