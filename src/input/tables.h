#pragma once
// The code tables of a run (species, ecotopes, stations with their surface
// statistics) and the sample matrices read from the data file. Indices are
// 0-based here (the first species, ecotope, station is 0) and follow the
// order of first appearance in the input files. Storage grows with the data
// actually read; the capacities are limits, checked at registration.

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace eco {

inline constexpr int kReference = 0;   // group g = 1, station-file code "REF"/"ref"
inline constexpr int kAssessment = 1;  // group g = 2, station-file code "ASS"/"ass"
inline constexpr std::size_t kNameLength = 50;

struct SpeciesTable {
  int32_t maxspec = 0;
  std::vector<int32_t> specode;
  std::vector<std::string> spename;            // 50 characters, blank padded
  std::unordered_map<int32_t, int32_t> index;  // code -> index (codes are unique)
  int32_t nspec() const { return static_cast<int32_t>(specode.size()); }
};

struct EcotopeTable {
  int32_t maxet = 0;
  std::vector<int32_t> etcode;
  std::vector<std::string> etname;  // 50 characters, blank padded
  std::unordered_map<int32_t, int32_t> index;
  int32_t net() const { return static_cast<int32_t>(etcode.size()); }
};

// The stations of one group of one ecotope, in station-file order.
struct StationGroup {
  std::vector<int32_t> stacode;
  std::vector<float> surf;
  float sumsurf = 0.0f;
  float sumsqsurf = 0.0f;
  float meansurf = 0.0f;
  float sdsurf = 0.0f;
  int32_t nstat() const { return static_cast<int32_t>(stacode.size()); }
};

struct EcotopeStations {
  std::array<StationGroup, 2> group;  // kReference, kAssessment
  // station code -> (group, position); a code is unique within its ecotope
  std::unordered_map<int32_t, std::pair<int, int32_t>> index;
};

struct StationTable {
  int32_t maxstat = 0;
  std::vector<EcotopeStations> ecotope;  // one per registered ecotope
};

// The observations of one ecotope.
struct EcotopeSamples {
  std::vector<float> refdens;  // reference station j, species s at [j * nspec + s]
  std::vector<float> refbiom;  // the same for biomass (empty without biomass)
  std::vector<float> assdens;  // per species: sum of density x station surface
  std::vector<float> assbiom;
  std::array<std::vector<float>, 2> stadens;  // per group and station: sum of densities
  std::array<std::vector<float>, 2> stabiom;
};

struct SampleMatrices {
  int32_t nspec = 0;
  bool biomass = false;
  std::vector<EcotopeSamples> ecotope;
};

// Everything the input files give a run.
struct SurveyTables {
  SpeciesTable species;
  EcotopeTable ecotopes;
  StationTable stations;
  SampleMatrices samples;
};

}  // namespace eco
