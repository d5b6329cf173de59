#pragma once
// From the tables to the survey, with every problem located.
//
// Stations table: ecotope, station, group (REF/ASS or reference/assessment,
// any case), surface; optional ecotope_name. One row per station and
// ecotope. Samples table, long form (it has a species column): station,
// species, density, optional biomass and ecotope; a row without an ecotope
// applies to every ecotope that lists its station. Wide form: station (and
// optional ecotope), then one column per species; an empty or NA cell is
// an absence, and so is a 0 (with a biomass of 0 or none), which adds
// nothing to any sum. The biomass table of the wide form has the density
// table's rows and columns.

#include <optional>
#include <vector>

#include "import/csv_table.h"
#include "import/survey.h"

namespace eco {

struct ImportTables {
  CsvTable stations, samples;
  std::optional<CsvTable> biomass, species, ecotopes;
  bool counts = false;  // sample values per station sample: divide by the surface
  int maxStations = 0;  // 0: no limit given
};

// The survey, or problems (then the survey is incomplete). Names cut to
// 50 bytes are told as warnings.
ImportedSurvey buildSurvey(const ImportTables& tables, std::vector<TableProblem>& problems);

}  // namespace eco
