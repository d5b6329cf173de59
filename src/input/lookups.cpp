#include "input/lookups.h"

namespace eco {

// The tables are searched by code through their index maps. Because
// registration rejects (species, stations) or merges (ecotopes) repeated
// codes, each code has one entry, which is the first match that a search
// from index 1 upwards would find.

bool lookupSpecies(SpeciesTable& t, int32_t code, LookupMode mode, int32_t& s,
                   std::string& message) {
  const auto found = t.index.find(code);
  if (mode == LookupMode::findCode) {
    if (found == t.index.end()) {
      message = "Species found in .DAT file with unknown species code";
      return false;
    }
    s = found->second;
    return true;
  }
  if (found != t.index.end()) {
    message = "Two species found with same species code";
    return false;
  }
  if (t.nspec() >= t.maxspec) {
    message = "Number of species greater than maxspec";
    return false;
  }
  s = t.nspec();
  t.specode.push_back(code);
  t.spename.emplace_back(kNameLength, ' ');
  t.index.emplace(code, s);
  return true;
}

bool lookupEcotope(EcotopeTable& t, StationTable& stations, int32_t code, LookupMode mode,
                   int32_t& e, std::string& message) {
  const auto found = t.index.find(code);
  if (found != t.index.end()) {
    e = found->second;
    return true;
  }
  if (mode == LookupMode::findCode) {
    message = "Station found with unknown ecotope code";
    return false;
  }
  if (t.net() >= t.maxet) {
    message = "Number of ecotoptes greater than maxet";
    return false;
  }
  e = t.net();
  t.etcode.push_back(code);
  t.etname.emplace_back(kNameLength, ' ');
  t.index.emplace(code, e);
  stations.ecotope.emplace_back();
  return true;
}

bool lookupStation(EcotopeTable& ecotopes, StationTable& stations, int32_t ecotopeCode, int group,
                   int32_t stationCode, LookupMode mode, int32_t& e, int32_t& j, int& g,
                   std::string& message) {
  if (!lookupEcotope(ecotopes, stations, ecotopeCode, LookupMode::findCode, e, message)) {
    return false;
  }
  EcotopeStations& et = stations.ecotope[static_cast<std::size_t>(e)];
  const auto found = et.index.find(stationCode);
  if (mode == LookupMode::findCode) {
    if (found == et.index.end()) {
      message = "Station found in .DAT file with unknown station code";
      return false;
    }
    g = found->second.first;
    j = found->second.second;
    return true;
  }
  if (found != et.index.end()) {
    message = "Two stations found with same station code";
    return false;
  }
  StationGroup& sg = et.group[static_cast<std::size_t>(group)];
  if (sg.nstat() >= stations.maxstat) {
    message = "Number of stations in one group larger than maxstat";
    return false;
  }
  g = group;
  j = sg.nstat();
  sg.stacode.push_back(stationCode);
  sg.surf.push_back(0.0f);
  et.index.emplace(stationCode, std::make_pair(group, j));
  return true;
}

}  // namespace eco
