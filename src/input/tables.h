#pragma once
// The code tables of a run (species, ecotopes, stations with their surface
// statistics) and the sample matrices read from the data file. Indices are
// 0-based here (the first species, ecotope, station is 0) and follow the
// order of first appearance in the input files. Storage grows with the data
// actually read; the capacities are limits, checked at registration.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace eco {

inline constexpr int kReference = 0;   // group g = 1, station-file code "REF"/"ref"
inline constexpr int kAssessment = 1;  // group g = 2, station-file code "ASS"/"ass"
inline constexpr std::size_t kNameLength = 50;

// "reference" or "assessment", for messages about a group.
inline const char* groupWord(int g) { return g == kReference ? "reference" : "assessment"; }

struct SpeciesTable {
  int32_t maxspec = 0;
  std::string file;  // the species file, named in messages
  std::vector<int32_t> specode;
  std::vector<std::string> spename;            // 50 characters, blank padded
  std::unordered_map<int32_t, int32_t> index;  // code -> index (codes are unique)
  std::vector<int64_t> line;                   // line of each species in the file (if known)
  int32_t nspec() const { return static_cast<int32_t>(specode.size()); }
};

struct EcotopeTable {
  int32_t maxet = 0;
  std::string file;  // the ecotope file, named in messages
  std::vector<int32_t> etcode;
  std::vector<std::string> etname;  // 50 characters, blank padded
  std::unordered_map<int32_t, int32_t> index;
  std::vector<int64_t> line;  // line that gave each ecotope its name (if known)
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
  std::vector<int64_t> line;  // line of each station in the station file (if known)
  int32_t nstat() const { return static_cast<int32_t>(stacode.size()); }
};

struct EcotopeStations {
  std::array<StationGroup, 2> group;  // kReference, kAssessment
  // station code -> (group, position); a code is unique within its ecotope
  std::unordered_map<int32_t, std::pair<int, int32_t>> index;
};

struct StationTable {
  int32_t maxstat = 0;
  std::string file;                      // the station file, named in messages
  std::vector<EcotopeStations> ecotope;  // one per registered ecotope
};

// One record of a reference station: a species with its density and
// biomass (0 without biomass).
struct ReferenceRecord {
  int32_t species = 0;
  float dens = 0.0f;
  float biom = 0.0f;
};

// The observations of one ecotope. The reference stations are kept by
// occurrence, not as stations x species: a survey of many stations and many
// species has few records per station. Species without a record count as 0.
struct EcotopeSamples {
  // Per reference station its records in data-file order. A later record of
  // the same species replaces the earlier one (density and biomass alike);
  // stationRecords() gives the values that stand.
  std::vector<std::vector<ReferenceRecord>> refrecords;
  std::vector<float> assdens;                 // per species: sum of density x station surface
  std::vector<float> assbiom;                 // the same for biomass (empty without biomass)
  std::array<std::vector<float>, 2> stadens;  // per group and station: sum of densities
  std::array<std::vector<float>, 2> stabiom;  // (empty without biomass)
};

// The standing records of reference station j: one per species, in species
// order, each the last record of its species in the data file.
inline std::vector<ReferenceRecord> stationRecords(const EcotopeSamples& es, std::size_t j) {
  std::vector<ReferenceRecord> r = es.refrecords[j];
  std::stable_sort(r.begin(), r.end(), [](const ReferenceRecord& a, const ReferenceRecord& b) {
    return a.species < b.species;
  });
  std::size_t kept = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (kept > 0 && r[kept - 1].species == r[i].species) {
      r[kept - 1] = r[i];
    } else {
      r[kept++] = r[i];
    }
  }
  r.resize(kept);
  return r;
}

// The reference values as a dense stations x species matrix (station j,
// species s at [j * nspec + s]): densities, or biomasses when `biomass`.
// For tests and the literal evaluation; the program never forms it.
inline std::vector<float> denseReference(const EcotopeSamples& es, std::size_t nspec,
                                         bool biomass) {
  std::vector<float> m(es.refrecords.size() * nspec, 0.0f);
  for (std::size_t j = 0; j < es.refrecords.size(); ++j) {
    for (const ReferenceRecord& r : stationRecords(es, j)) {
      m[j * nspec + static_cast<std::size_t>(r.species)] = biomass ? r.biom : r.dens;
    }
  }
  return m;
}

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
