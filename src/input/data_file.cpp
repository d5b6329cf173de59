// The data file: one observation (density and optionally biomass) of one
// species at one station per record.
#include <array>
#include <filesystem>

#include "input/data_checks.h"
#include "input/input_files.h"
#include "input/lookups.h"
#include "input/open_failure.h"
#include "input/record_loop.h"
#include "numeric/evaluation.h"
#include "platform/files.h"

namespace eco {
namespace {

void sizeMatrices(const ReadOptions& options, SurveyTables& tables) {
  SampleMatrices& m = tables.samples;
  const std::size_t nspec = static_cast<std::size_t>(tables.species.nspec());
  m.nspec = tables.species.nspec();
  m.biomass = options.biomassPresent;
  m.ecotope.assign(tables.stations.ecotope.size(), EcotopeSamples{});
  for (std::size_t e = 0; e < m.ecotope.size(); ++e) {
    const EcotopeStations& et = tables.stations.ecotope[e];
    EcotopeSamples& es = m.ecotope[e];
    // Reference data grow with the records read, never with stations x species.
    es.refrecords.assign(et.group[kReference].stacode.size(), {});
    es.assdens.assign(nspec, 0.0f);
    for (int g = 0; g < 2; ++g) es.stadens[g].assign(et.group[g].stacode.size(), 0.0f);
    if (m.biomass) {
      es.assbiom.assign(nspec, 0.0f);
      for (int g = 0; g < 2; ++g) es.stabiom[g].assign(et.group[g].stacode.size(), 0.0f);
    }
  }
}

// Stores one record of species s at station j of group g: a reference
// record is kept (a later one of the same species replaces it), an
// assessment record adds value x surface to the ecotope's sums; both add
// their values to the station's totals.
void store(EcotopeSamples& es, int g, std::size_t j, std::size_t s, float surface, float density,
           float biomass, bool withBiomass) {
  const std::size_t ug = static_cast<std::size_t>(g);
  if (g == kReference) {
    es.refrecords[j].push_back({static_cast<int32_t>(s), density, withBiomass ? biomass : 0.0f});
  } else {
    es.assdens[s] = addProduct(es.assdens[s], density, surface);
    if (withBiomass) es.assbiom[s] = addProduct(es.assbiom[s], biomass, surface);
  }
  es.stadens[ug][j] = es.stadens[ug][j] + density;
  if (withBiomass) es.stabiom[ug][j] = es.stabiom[ug][j] + biomass;
}

constexpr std::array<std::string_view, 5> kDataItems = {"ecotope code", "station code",
                                                        "species code", "density", "biomass"};
constexpr std::string_view kBiomassNotRead =
    "a fifth value (a biomass) is not read, because the header says [BIO] n; this is said "
    "once for the file, not for every record that has one";

}  // namespace

bool readDataFile(std::istream& in, const std::string& fileName, const ReadOptions& options,
                  SurveyTables& tables, InputStatus& status) {
  sizeMatrices(options, tables);
  int32_t ecotopeCode = 0, stationCode = 0, speciesCode = 0;
  float density = 0.0f, biomass = 0.0f;
  const std::array<ReadItem, 5> items = {
      ReadItem::integer(ecotopeCode), ReadItem::integer(stationCode),
      ReadItem::integer(speciesCode), ReadItem::real(density), ReadItem::real(biomass)};
  const std::span<const ReadItem> record(items.data(), options.biomassPresent ? 5 : 4);
  RecordReader reader =
      recordReader(in, fileName, kDataUnit, "data", record, std::span(kDataItems));
  if (!options.biomassPresent) {
    reader.expectedExtra = 1;
    reader.extraNote = kBiomassNotRead;
  }
  DataChecks checks(tables.stations);
  while (true) {
    switch (nextRecord(reader, status)) {
      case NextRecord::end:
        checks.warn(tables, fileName);
        return true;
      case NextRecord::failed:
        return false;
      case NextRecord::record:
        break;
    }
    int32_t e = 0, j = 0, s = 0;
    int g = 0;
    if (!lookupStation(tables.ecotopes, tables.stations, ecotopeCode, kReference, stationCode,
                       LookupMode::findCode, e, j, g, status.message)) {
      status.detail = dataLookupFailure(tables, ecotopeCode, stationCode, speciesCode, false,
                                        fileName, reader.line);
      return false;
    }
    // The empty species code only confirms a station sampled without fauna.
    if (speciesCode == options.emptySpeciesCode) {
      checks.note(e, g, j, -1, reader.line);
      continue;
    }
    if (!lookupSpecies(tables.species, speciesCode, LookupMode::findCode, s, status.message)) {
      status.detail = dataLookupFailure(tables, ecotopeCode, stationCode, speciesCode, true,
                                        fileName, reader.line);
      return false;
    }
    checks.note(e, g, j, s, reader.line);
    const std::size_t ue = static_cast<std::size_t>(e), uj = static_cast<std::size_t>(j),
                      us = static_cast<std::size_t>(s);
    const float surface = tables.stations.ecotope[ue].group[static_cast<std::size_t>(g)].surf[uj];
    EcotopeSamples& es = tables.samples.ecotope[ue];
    store(es, g, uj, us, surface, density, biomass, options.biomassPresent);
  }
}

bool openInputFiles(const std::string& baseName, InputFiles& files, std::string& message) {
  files.baseName = baseName;
  struct Entry {
    const char* extension;
    std::ifstream* stream;
    const char* failure;
  };
  const std::array<Entry, 4> order = {{
      {".SPE", &files.species, "error while opening species file"},
      {".STA", &files.station, "error while opening station file"},
      {".DAT", &files.data, "error while opening data file"},
      {".ETP", &files.ecotope, "error while opening ecotope file"},
  }};
  for (const Entry& entry : order) {
    const std::string name = baseName + entry.extension;
    std::error_code ec;
    if (std::filesystem::is_directory(platform::pathOf(name), ec)) {
      message = entry.failure;
      return false;
    }
    entry.stream->open(platform::pathOf(name), std::ios::in | std::ios::binary);
    if (!entry.stream->is_open()) {
      message = entry.failure;
      return false;
    }
  }
  return true;
}

bool readSurvey(const std::string& baseName, const ReadOptions& options, SurveyTables& tables,
                InputStatus& status) {
  InputFiles files;
  if (!openInputFiles(baseName, files, status.message)) {
    status.detail = inputOpenFailure(baseName, status.message);
    return false;
  }
  tables.species.maxspec = options.maxspec;
  tables.ecotopes.maxet = options.maxet;
  tables.stations.maxstat = options.maxstat;
  if (!readSpeciesFile(files.species, baseName + ".SPE", tables.species, status)) return false;
  files.species.close();
  if (!readEcotopeFile(files.ecotope, baseName + ".ETP", tables.ecotopes, tables.stations,
                       status)) {
    return false;
  }
  files.ecotope.close();
  if (!readStationFile(files.station, baseName + ".STA", tables.ecotopes, tables.stations,
                       status)) {
    return false;
  }
  files.station.close();
  if (!readDataFile(files.data, baseName + ".DAT", options, tables, status)) return false;
  files.data.close();
  return true;
}

}  // namespace eco
