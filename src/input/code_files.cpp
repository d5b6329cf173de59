// The species and ecotope files: one code and one name per record.
#include <array>

#include "input/input_files.h"
#include "input/lookups.h"
#include "input/record_loop.h"

namespace eco {

bool readSpeciesFile(std::istream& in, const std::string& fileName, SpeciesTable& species,
                     InputStatus& status) {
  RecordSource source = fileSource(in, fileName, kSpeciesUnit);
  int32_t code = 0;
  std::string name(kNameLength, ' ');
  const std::array<ReadItem, 2> items = {ReadItem::integer(code),
                                         ReadItem::text(name, kNameLength)};
  long line = 0;
  while (true) {
    switch (nextRecord(source, items, "species", status, line)) {
      case NextRecord::end:
        return true;
      case NextRecord::failed:
        return false;
      case NextRecord::record:
        break;
    }
    int32_t s = 0;
    if (!lookupSpecies(species, code, LookupMode::registerCode, s, status.message)) return false;
    species.spename[static_cast<std::size_t>(s)] = name;
  }
}

bool readEcotopeFile(std::istream& in, const std::string& fileName, EcotopeTable& ecotopes,
                     StationTable& stations, InputStatus& status) {
  RecordSource source = fileSource(in, fileName, kEcotopeUnit);
  int32_t code = 0;
  std::string name(kNameLength, ' ');
  const std::array<ReadItem, 2> items = {ReadItem::integer(code),
                                         ReadItem::text(name, kNameLength)};
  long line = 0;
  while (true) {
    switch (nextRecord(source, items, "ecotope", status, line)) {
      case NextRecord::end:
        return true;
      case NextRecord::failed:
        return false;
      case NextRecord::record:
        break;
    }
    int32_t e = 0;
    if (!lookupEcotope(ecotopes, stations, code, LookupMode::registerCode, e, status.message)) {
      return false;
    }
    // A repeated code keeps its first index and takes the later name.
    ecotopes.etname[static_cast<std::size_t>(e)] = name;
  }
}

}  // namespace eco
