// The species and ecotope files: one code and one name per record.
#include <array>
#include <string_view>

#include "input/input_files.h"
#include "input/lookups.h"
#include "input/record_loop.h"
#include "records/diagnostics.h"
#include "text/trim.h"

namespace eco {
namespace {

constexpr std::array<std::string_view, 2> kSpeciesItems = {"species code", "species name"};
constexpr std::array<std::string_view, 2> kEcotopeItems = {"ecotope code", "ecotope name"};

std::string shownName(const std::string& name) { return shownValue(trimmed(name)); }

// Reads every (code, name) record; `registerCode` registers the code of the
// record on `line` and returns where the name goes, or null with the
// failure set.
template <typename Register>
bool readCodeFile(std::istream& in, const std::string& fileName, int unit, std::string_view kind,
                  std::span<const std::string_view> names, InputStatus& status,
                  Register registerCode) {
  int32_t code = 0;
  std::string name(kNameLength, ' ');
  const std::array<ReadItem, 2> items = {ReadItem::integer(code),
                                         ReadItem::text(name, kNameLength)};
  RecordReader reader = recordReader(in, fileName, unit, kind, items, names);
  while (true) {
    switch (nextRecord(reader, status)) {
      case NextRecord::end:
        return true;
      case NextRecord::failed:
        return false;
      case NextRecord::record:
        break;
    }
    std::string* target = registerCode(code, name, reader.line);
    if (target == nullptr) return false;
    *target = name;
  }
}

}  // namespace

bool readSpeciesFile(std::istream& in, const std::string& fileName, SpeciesTable& species,
                     InputStatus& status) {
  species.file = fileName;
  return readCodeFile(
      in, fileName, kSpeciesUnit, "species", kSpeciesItems, status,
      [&](int32_t code, const std::string&, int64_t line) -> std::string* {
        int32_t s = 0;
        if (!lookupSpecies(species, code, LookupMode::registerCode, s, status.message)) {
          const auto found = species.index.find(code);
          if (found != species.index.end()) {
            const std::size_t first = static_cast<std::size_t>(found->second);
            status.detail = failureLine(
                fileName, line, 0,
                "species code " + std::to_string(code) + " is already used on line " +
                    std::to_string(first < species.line.size() ? species.line[first] : 0) + " (" +
                    shownName(species.spename[first]) + "): give every species its own code");
          } else {
            status.detail = failureLine(
                fileName, line, 0,
                "species " + std::to_string(species.nspec() + 1) + " (code " +
                    std::to_string(code) + ") is one more than " +
                    capacityLimit("[MSP]", species.maxspec) +
                    ": raise [MSP] in the header file to at least the number of species "
                    "in " +
                    fileName);
          }
          return nullptr;
        }
        species.line.resize(species.specode.size(), 0);
        species.line[static_cast<std::size_t>(s)] = line;
        return &species.spename[static_cast<std::size_t>(s)];
      });
}

bool readEcotopeFile(std::istream& in, const std::string& fileName, EcotopeTable& ecotopes,
                     StationTable& stations, InputStatus& status) {
  ecotopes.file = fileName;
  // A repeated ecotope code keeps its first index and takes the later name.
  return readCodeFile(
      in, fileName, kEcotopeUnit, "ecotope", kEcotopeItems, status,
      [&](int32_t code, const std::string& name, int64_t line) -> std::string* {
        int32_t e = 0;
        const bool known = ecotopes.index.count(code) != 0;
        if (!lookupEcotope(ecotopes, stations, code, LookupMode::registerCode, e, status.message)) {
          status.detail = failureLine(
              fileName, line, 0,
              "ecotope " + std::to_string(ecotopes.net() + 1) + " (code " + std::to_string(code) +
                  ") is one more than " + capacityLimit("[MET]", ecotopes.maxet) +
                  ": raise [MET] in the header file to at least the number of ecotopes "
                  "in " +
                  fileName);
          return nullptr;
        }
        const std::size_t ue = static_cast<std::size_t>(e);
        ecotopes.line.resize(ecotopes.etcode.size(), 0);
        if (known) {
          warnAt(fileName, line, "repeated code",
                 "ecotope code " + std::to_string(code) + " was already given on line " +
                     std::to_string(ecotopes.line[ue]) + " (" + shownName(ecotopes.etname[ue]) +
                     "): the name " + shownName(name) +
                     " replaces that one; give every ecotope its own code");
        }
        ecotopes.line[ue] = line;
        return &ecotopes.etname[ue];
      });
}

}  // namespace eco
