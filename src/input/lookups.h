#pragma once
// The three code lookups. register adds a code (while the species, ecotope
// and station files are read); find looks one up. Each returns false with
// one of the system's messages when the code cannot be registered or found.

#include <string>

#include "input/tables.h"

namespace eco {

enum class LookupMode { registerCode, findCode };

bool lookupSpecies(SpeciesTable& t, int32_t code, LookupMode mode, int32_t& s,
                   std::string& message);
// A code registered twice keeps its first index (not an error).
bool lookupEcotope(EcotopeTable& t, StationTable& stations, int32_t code, LookupMode mode,
                   int32_t& e, std::string& message);
// register: adds the station to `group` of the ecotope; find: returns the
// group where the station is registered (the group passed in is not used).
bool lookupStation(EcotopeTable& ecotopes, StationTable& stations, int32_t ecotopeCode, int group,
                   int32_t stationCode, LookupMode mode, int32_t& e, int32_t& j, int& g,
                   std::string& message);

}  // namespace eco
