#include "import/build_survey.h"

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "import/codes.h"
#include "import/columns.h"
#include "import/names.h"
#include "records/diagnostics.h"

namespace eco {
namespace {

const std::initializer_list<std::string_view> kEcotope = {"ecotope", "habitat"};
const std::initializer_list<std::string_view> kStation = {"station", "site", "sample"};
const std::initializer_list<std::string_view> kSpecies = {"species", "taxon"};
const std::initializer_list<std::string_view> kSurface = {"surface", "area"};

struct Builder {
  const ImportTables& t;
  std::vector<TableProblem>& problems;
  ImportedSurvey survey;
  CodeBook ecotopeIds, stationIds, speciesIds;
  std::vector<std::string> ecotopeNames, speciesNames;
  std::vector<TableProblem> ecotopeNameAt, speciesNameAt;             // where each name was given
  std::vector<std::size_t> stationId;                                 // station -> stationIds entry
  std::map<std::pair<std::size_t, std::size_t>, int64_t> stationRow;  // (ecotope, id) -> line
  std::map<std::pair<std::size_t, std::size_t>, int64_t> pairLine;    // (station, species) -> line

  void fail(const CsvTable& table, int64_t line, const std::string& column, std::string text) {
    problems.push_back({table.file, line, column, std::move(text)});
  }

  // The column, or a problem naming it and what the table needs.
  int need(const CsvTable& table, std::initializer_list<std::string_view> names,
           const std::string& needs) {
    const int c = findColumn(table, names);
    if (c < 0) {
      std::string also;
      for (std::size_t i = 1; i < names.size(); ++i) {
        also += (i > 1 ? ", " : "") + std::string(names.begin()[i]);
      }
      fail(table, table.headerLine, std::string(*names.begin()),
           "the column is missing: " + needs +
               (also.empty() ? std::string() : " (also accepted for it: " + also + ")") +
               "; name the columns in the first line");
    }
    return c;
  }

  // A non-empty identifier, or a problem.
  bool identifier(const CsvTable& table, const CsvRow& row, int c, const std::string& what) {
    if (!row.cells[c].empty()) return true;
    fail(table, row.line, table.columns[c],
         "the " + what + " is empty: give every row its " + what);
    return false;
  }

  // A value of 0 or more, or a problem.
  bool amount(const CsvTable& table, const CsvRow& row, int c, const std::string& what,
              float* out) {
    const std::string& cell = row.cells[c];
    if (cellMissing(cell)) {
      fail(table, row.line, table.columns[c],
           "the " + what + " is missing (" + (cell.empty() ? "empty" : "NA") + "): " +
               (what == "surface" ? "give every station its surface"
                                  : "give a number, or leave the row out when the species was "
                                    "not found"));
      return false;
    }
    if (!cellNumber(cell, table.delimiter, out)) {
      fail(table, row.line, table.columns[c],
           "the " + what + " " + shownValue(cell) + " is not a number: write a number" +
               (table.delimiter == ','
                    ? std::string(" with a decimal point (2.5)")
                    : std::string(" with a decimal point or comma (2.5 or 2,5)")) +
               ", without units or other text");
      return false;
    }
    if (*out < 0) {
      fail(table, row.line, table.columns[c],
           "the " + what + " " + shownValue(cell) +
               " is negative: densities, biomasses and surfaces are 0 or more; correct it");
      return false;
    }
    return true;
  }

  // A table of codes with optional names (the ecotopes or the species
  // table): one row each, in the order that becomes the survey's.
  void codeTable(const CsvTable& table, std::initializer_list<std::string_view> idColumns,
                 std::initializer_list<std::string_view> nameColumns, const std::string& word,
                 const std::string& needs, CodeBook& ids, std::vector<std::string>& names,
                 std::vector<TableProblem>& nameAt) {
    const int id = need(table, idColumns, needs);
    const int name = findColumn(table, nameColumns);
    if (id < 0) return;
    for (const CsvRow& row : table.rows) {
      if (!identifier(table, row, id, word)) continue;
      const std::string& code = row.cells[id];
      if (const int64_t known = ids.find(code); known >= 0) {
        fail(table, row.line, table.columns[id],
             word + " " + shownValue(code) + " is already on line " +
                 std::to_string(ids.entries[known].where.line) + ": give every " + word +
                 " one row");
        continue;
      }
      ids.add(code, {table.file, row.line, table.columns[id], ""});
      names.push_back(name >= 0 ? row.cells[name] : std::string());
      nameAt.push_back({table.file, row.line, name >= 0 ? table.columns[name] : "", ""});
    }
  }

  void ecotopesTable(const CsvTable& table) {
    codeTable(table, kEcotope, {"name", "ecotope_name", "habitat_name"}, "ecotope",
              "the ecotopes table needs the columns ecotope and name", ecotopeIds, ecotopeNames,
              ecotopeNameAt);
  }

  // The ecotope of a stations row: one of the ecotopes table, or a new
  // one when there is no such table. -1 after a failure.
  int64_t stationEcotope(const CsvTable& table, const CsvRow& row, int ce, int cn) {
    const std::string& e = row.cells[ce];
    int64_t ecotope = ecotopeIds.find(e);
    if (ecotope < 0 && t.ecotopes.has_value()) {
      fail(table, row.line, table.columns[ce],
           "ecotope " + shownValue(e) + " is not in " + t.ecotopes->file +
               ": add it there or correct the identifier");
      return -1;
    }
    if (ecotope < 0) {
      ecotope =
          static_cast<int64_t>(ecotopeIds.add(e, {table.file, row.line, table.columns[ce], ""}));
      ecotopeNames.emplace_back();
      ecotopeNameAt.push_back({table.file, row.line, cn >= 0 ? table.columns[cn] : "", ""});
    }
    if (cn >= 0 && ecotopeNames[ecotope].empty() && !row.cells[cn].empty()) {
      ecotopeNames[ecotope] = row.cells[cn];
      ecotopeNameAt[ecotope] = {table.file, row.line, table.columns[cn], ""};
    }
    return ecotope;
  }

  // REF or ASS (or the words); false after a failure.
  bool stationGroup(const CsvTable& table, const CsvRow& row, int cg, bool& reference) {
    const std::string key = columnKey(row.cells[cg]);
    reference = key == "ref" || key == "reference";
    if (reference || key == "ass" || key == "assessment") return true;
    fail(table, row.line, table.columns[cg],
         shownValue(row.cells[cg]) +
             " is not a group: write REF (or reference) for a reference "
             "station, ASS (or assessment) for an assessment station");
    return false;
  }

  // The station of a row, once per ecotope and within --max-stations per
  // group; false after a failure.
  bool addStation(const CsvTable& table, const CsvRow& row, int ce, int cs, int64_t ecotope,
                  bool reference, std::map<std::pair<std::size_t, bool>, int>& groupSize,
                  std::size_t& id) {
    const std::string& s = row.cells[cs];
    const std::string& e = row.cells[ce];
    id = stationIds.add(s, {table.file, row.line, table.columns[cs], ""});
    const auto [it, added] = stationRow.emplace(std::pair(std::size_t(ecotope), id), row.line);
    if (!added) {
      fail(table, row.line, table.columns[cs],
           "station " + shownValue(s) + " of ecotope " + shownValue(e) + " is already on line " +
               std::to_string(it->second) + ": give every station of an ecotope one row");
      return false;
    }
    const int n = ++groupSize[{std::size_t(ecotope), reference}];
    if (t.maxStations > 0 && n == t.maxStations + 1) {
      fail(table, row.line, table.columns[cs],
           "station " + shownValue(s) + " is " + (reference ? "reference" : "assessment") +
               " station " + std::to_string(n) + " of ecotope " + shownValue(e) +
               ", one more than --max-stations " + std::to_string(t.maxStations) +
               " allows: raise --max-stations to at least the largest number of stations "
               "in one group of one ecotope, or leave it out");
    }
    return true;
  }

  void stationsTable() {
    const CsvTable& table = t.stations;
    const std::string needs =
        "the stations table needs the columns ecotope, station, group and surface";
    const int ce = need(table, kEcotope, needs);
    const int cs = need(table, kStation, needs);
    const int cg = need(table, {"group"}, needs);
    const int ca = need(table, kSurface, needs);
    const int cn = findColumn(table, {"ecotope_name", "habitat_name"});
    if (ce < 0 || cs < 0 || cg < 0 || ca < 0) return;
    std::map<std::pair<std::size_t, bool>, int> groupSize;
    for (const CsvRow& row : table.rows) {
      if (!identifier(table, row, ce, "ecotope") || !identifier(table, row, cs, "station")) {
        continue;
      }
      const int64_t ecotope = stationEcotope(table, row, ce, cn);
      bool reference = true;
      if (ecotope < 0 || !stationGroup(table, row, cg, reference)) continue;
      float surface = 0;
      if (!amount(table, row, ca, "surface", &surface)) continue;
      if (reference && surface == 0) {
        fail(table, row.line, table.columns[ca],
             "the surface of reference station " + shownValue(row.cells[cs]) +
                 " is 0: a reference station needs a surface above 0; correct it");
        continue;
      }
      std::size_t id = 0;
      if (!addStation(table, row, ce, cs, ecotope, reference, groupSize, id)) continue;
      survey.stations.push_back({std::size_t(ecotope), 0, reference, surface});
      stationId.push_back(id);
    }
    if (table.rows.empty()) {
      fail(table, 0, "", "the table has no stations: give one row per station and ecotope");
    }
  }

  void speciesTable(const CsvTable& table) {
    codeTable(table, kSpecies, {"name", "species_name", "taxon_name"}, "species",
              "the species table needs the columns species and name", speciesIds, speciesNames,
              speciesNameAt);
  }

  // The species index of an identifier met in the samples, or -1.
  int64_t species(const CsvTable& table, int64_t line, const std::string& column,
                  const std::string& s) {
    int64_t k = speciesIds.find(s);
    if (k >= 0) return k;
    if (t.species) {
      fail(table, line, column,
           "species " + shownValue(s) + " is not in " + t.species->file +
               ": add it there or correct the identifier");
      return -1;
    }
    k = static_cast<int64_t>(speciesIds.add(s, {table.file, line, column, ""}));
    speciesNames.emplace_back();
    speciesNameAt.push_back({table.file, line, column, ""});
    return k;
  }

  // The stations a sample row applies to: the station in the row's
  // ecotope, or in every ecotope that lists it.
  std::vector<std::size_t> targets(const CsvTable& table, const CsvRow& row, int cs, int ce) {
    std::vector<std::size_t> out;
    const std::string& s = row.cells[cs];
    const int64_t id = stationIds.find(s);
    if (id < 0) {
      fail(table, row.line, table.columns[cs],
           "station " + shownValue(s) + " is not in " + t.stations.file +
               ": add it there or correct the identifier");
      return out;
    }
    int64_t ecotope = -1;
    if (ce >= 0 && !row.cells[ce].empty()) {
      ecotope = ecotopeIds.find(row.cells[ce]);
      if (ecotope < 0) {
        fail(table, row.line, table.columns[ce],
             "ecotope " + shownValue(row.cells[ce]) + " is not in " +
                 (t.ecotopes ? t.ecotopes->file : t.stations.file) +
                 ": add it there or correct the identifier");
        return out;
      }
    }
    for (std::size_t j = 0; j < survey.stations.size(); ++j) {
      if (stationId[j] == std::size_t(id) &&
          (ecotope < 0 || survey.stations[j].ecotope == std::size_t(ecotope))) {
        out.push_back(j);
      }
    }
    if (out.empty()) {
      fail(table, row.line, table.columns[ce],
           "station " + shownValue(s) + " is not listed in ecotope " + shownValue(row.cells[ce]) +
               " in " + t.stations.file +
               ": add the station to that ecotope there, or correct the ecotope");
    }
    return out;
  }

  // Adds the record of one station and species at `line`, or a problem.
  void record(const CsvTable& table, int64_t line, const std::string& column,
              const std::string& stationName, std::size_t station, std::size_t taxon, float density,
              float biomass) {
    const auto [it, added] = pairLine.emplace(std::pair(station, taxon), line);
    if (!added) {
      fail(table, line, column,
           "station " + shownValue(stationName) + " and species " +
               shownValue(speciesIds.entries[taxon].id) + " were already given on line " +
               std::to_string(it->second) +
               ": give every station and species once (add up the parts of one sample)");
      return;
    }
    if (t.counts) {
      const float surface = survey.stations[station].surface;
      if (surface == 0) {
        fail(table, line, column,
             "station " + shownValue(stationName) +
                 " has a surface of 0, so its counts cannot be made densities: give the "
                 "station its surface, or leave out --counts");
        return;
      }
      density /= surface;
      biomass /= surface;
      if (!std::isfinite(density) || !std::isfinite(biomass)) {
        fail(table, line, column,
             "the value divided by the surface of station " + shownValue(stationName) +
                 " is too large for a 32-bit real: check the units of the surface");
        return;
      }
    }
    survey.records.push_back({station, taxon, density, biomass});
  }

  void longSamples() {
    const CsvTable& table = t.samples;
    const std::string needs =
        "a samples table with a species column needs the columns station, "
        "species and density";
    const int cs = need(table, kStation, needs);
    const int cp = need(table, kSpecies, needs);
    const int cd = need(table, {"density"}, needs);
    const int cb = findColumn(table, {"biomass"});
    const int ce = findColumn(table, kEcotope);
    if (cs < 0 || cp < 0 || cd < 0) return;
    survey.biomass = cb >= 0;
    for (const CsvRow& row : table.rows) {
      if (!identifier(table, row, cs, "station") || !identifier(table, row, cp, "species")) {
        continue;
      }
      float density = 0, biomass = 0;
      bool ok = amount(table, row, cd, "density", &density);
      if (cb >= 0) ok = amount(table, row, cb, "biomass", &biomass) && ok;
      const int64_t taxon = species(table, row.line, table.columns[cp], row.cells[cp]);
      const std::vector<std::size_t> at = targets(table, row, cs, ce);
      if (!ok || taxon < 0) continue;
      for (std::size_t j : at) {
        record(table, row.line, table.columns[cp], row.cells[cs], j, taxon, density, biomass);
      }
    }
  }

  // The biomass table has the density table's columns, in the same order;
  // false after the failure.
  bool sameColumns(const CsvTable& table, const CsvTable& bio) {
    for (std::size_t c = 0; c < std::max(bio.columns.size(), table.columns.size()); ++c) {
      const std::string a = c < table.columns.size() ? table.columns[c] : "";
      const std::string b = c < bio.columns.size() ? bio.columns[c] : "";
      if (a != b) {
        fail(bio, bio.headerLine, b,
             "column " + std::to_string(c + 1) + " is " + shownValue(b) + " here but " +
                 shownValue(a) + " in " + table.file +
                 ": the biomass table needs the density table's columns in the same order");
        return false;
      }
    }
    return true;
  }

  // ... and the same rows: the same number, each of the same station.
  bool sameRowCount(const CsvTable& table, const CsvTable& bio) {
    if (bio.rows.size() == table.rows.size()) return true;
    const std::size_t n = std::min(bio.rows.size(), table.rows.size());
    const int64_t line = n < bio.rows.size() ? bio.rows[n].line : 0;
    fail(bio, line, "",
         "the biomass table has " + std::to_string(bio.rows.size()) + " rows, the density " +
             "table " + std::to_string(table.rows.size()) +
             ": give the biomass table the density table's rows in the same order");
    return false;
  }
  bool sameStation(const CsvTable& table, const CsvRow& row, const CsvTable& bio,
                   const CsvRow& brow, int cs, int ce) {
    if (brow.cells[cs] == row.cells[cs] && (ce < 0 || brow.cells[ce] == row.cells[ce])) return true;
    fail(bio, brow.line, bio.columns[cs],
         "this row is station " + shownValue(brow.cells[cs]) + " but the row of " + table.file +
             " (line " + std::to_string(row.line) + ") is " + shownValue(row.cells[cs]) +
             ": give the biomass table the density table's rows in the same order");
    return false;
  }

  // The records of one row of a wide table (and its biomass row).
  void wideRow(const CsvTable& table, const CsvRow& row, const CsvTable* bio, const CsvRow* brow,
               int cs, int ce, const std::vector<int64_t>& columnSpecies) {
    const std::vector<std::size_t> at = targets(table, row, cs, ce);
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      if (columnSpecies[c] < 0) continue;
      const bool noDensity = cellMissing(row.cells[c]);
      if (brow != nullptr && noDensity != cellMissing(brow->cells[c])) {
        fail(*bio, brow->line, bio->columns[c],
             std::string(noDensity ? "a biomass is given where the density table has none"
                                   : "the biomass is missing where the density table has "
                                     "one") +
                 ": give both or neither");
        continue;
      }
      if (noDensity) continue;
      float density = 0, biomass = 0;
      bool ok = amount(table, row, int(c), "density", &density);
      if (brow != nullptr) ok = amount(*bio, *brow, int(c), "biomass", &biomass) && ok;
      // A 0 adds nothing to any sum or count: a matrix's zeros are absences.
      if (!ok || (density == 0 && biomass == 0)) continue;
      for (std::size_t j : at) {
        record(table, row.line, table.columns[c], row.cells[cs], j, columnSpecies[c], density,
               biomass);
      }
    }
  }

  void wideSamples() {
    const CsvTable& table = t.samples;
    const int cs = need(table, kStation,
                        "the samples table needs a station column and one column per species "
                        "(or the columns station, species and density)");
    const int ce = findColumn(table, kEcotope);
    if (cs < 0) return;
    const CsvTable* bio = t.biomass ? &*t.biomass : nullptr;
    survey.biomass = bio != nullptr;
    if (bio != nullptr && !sameColumns(table, *bio)) return;
    std::vector<int64_t> columnSpecies(table.columns.size(), -1);
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      if (int(c) == cs || int(c) == ce) continue;
      columnSpecies[c] = species(table, table.headerLine, table.columns[c], table.columns[c]);
    }
    if (bio != nullptr && !sameRowCount(table, *bio)) return;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      const CsvRow& row = table.rows[r];
      const CsvRow* brow = bio != nullptr ? &bio->rows[r] : nullptr;
      if (brow != nullptr && !sameStation(table, row, *bio, *brow, cs, ce)) continue;
      if (!identifier(table, row, cs, "station")) continue;
      wideRow(table, row, bio, brow, cs, ce, columnSpecies);
    }
  }

  std::string finalName(const std::string& given, const std::string& id, const TableProblem& at,
                        const std::string& what) {
    bool cut = false;
    std::string name = fileName50(given.empty() ? id : given, &cut);
    if (cut) {
      warnAt(at.file, at.line, "long name",
             "the " + what + " name " + shownValue(given.empty() ? id : given) +
                 " is longer than 50 bytes: it is cut to " + shownValue(name));
    }
    return name;
  }

  void finish() {
    assignCodes(ecotopeIds, "ecotope", problems);
    assignCodes(stationIds, "station", problems);
    assignCodes(speciesIds, "species", problems);
    if (!problems.empty()) return;
    for (std::size_t e = 0; e < ecotopeIds.entries.size(); ++e) {
      survey.ecotopes.push_back(
          {ecotopeIds.codes[e],
           finalName(ecotopeNames[e], ecotopeIds.entries[e].id, ecotopeNameAt[e], "ecotope")});
    }
    for (std::size_t s = 0; s < speciesIds.entries.size(); ++s) {
      survey.species.push_back(
          {speciesIds.codes[s],
           finalName(speciesNames[s], speciesIds.entries[s].id, speciesNameAt[s], "species")});
    }
    for (std::size_t j = 0; j < survey.stations.size(); ++j) {
      survey.stations[j].code = stationIds.codes[stationId[j]];
    }
    std::set<int32_t> used;
    for (const auto& s : survey.species) used.insert(s.code);
    int32_t ems = 999;
    while (used.count(ems) != 0 && ems < INT32_MAX / 10) ems = ems * 10 + 9;
    while (used.count(ems) != 0) --ems;
    survey.emptySpeciesCode = ems;
  }
};

}  // namespace

ImportedSurvey buildSurvey(const ImportTables& tables, std::vector<TableProblem>& problems) {
  Builder b{tables, problems, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
  if (tables.ecotopes) b.ecotopesTable(*tables.ecotopes);
  b.stationsTable();
  if (tables.species) b.speciesTable(*tables.species);
  // Samples checked against a table with faults would only echo them.
  if (!problems.empty()) return {};
  if (findColumn(tables.samples, kSpecies) >= 0) {
    b.longSamples();
  } else {
    b.wideSamples();
  }
  b.finish();
  return std::move(b.survey);
}

}  // namespace eco
