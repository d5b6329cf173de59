// The species and ecotope files: one code and one name per record.
#include <array>

#include "input/input_files.h"
#include "input/lookups.h"
#include "input/record_loop.h"

namespace eco {
namespace {

// Reads every (code, name) record; `registerCode` registers the code and
// returns where the name goes, or null with the failure message set.
template <typename Register>
bool readCodeFile(std::istream& in, const std::string& fileName, int unit, std::string_view kind,
                  InputStatus& status, Register registerCode) {
  RecordSource source = fileSource(in, fileName, unit);
  int32_t code = 0;
  std::string name(kNameLength, ' ');
  const std::array<ReadItem, 2> items = {ReadItem::integer(code),
                                         ReadItem::text(name, kNameLength)};
  long line = 0;
  while (true) {
    switch (nextRecord(source, items, kind, status, line)) {
      case NextRecord::end:
        return true;
      case NextRecord::failed:
        return false;
      case NextRecord::record:
        break;
    }
    std::string* target = registerCode(code);
    if (target == nullptr) return false;
    *target = name;
  }
}

}  // namespace

bool readSpeciesFile(std::istream& in, const std::string& fileName, SpeciesTable& species,
                     InputStatus& status) {
  return readCodeFile(
      in, fileName, kSpeciesUnit, "species", status, [&](int32_t code) -> std::string* {
        int32_t s = 0;
        if (!lookupSpecies(species, code, LookupMode::registerCode, s, status.message)) {
          return nullptr;
        }
        return &species.spename[static_cast<std::size_t>(s)];
      });
}

bool readEcotopeFile(std::istream& in, const std::string& fileName, EcotopeTable& ecotopes,
                     StationTable& stations, InputStatus& status) {
  // A repeated ecotope code keeps its first index and takes the later name.
  return readCodeFile(
      in, fileName, kEcotopeUnit, "ecotope", status, [&](int32_t code) -> std::string* {
        int32_t e = 0;
        if (!lookupEcotope(ecotopes, stations, code, LookupMode::registerCode, e, status.message)) {
          return nullptr;
        }
        return &ecotopes.etname[static_cast<std::size_t>(e)];
      });
}

}  // namespace eco
