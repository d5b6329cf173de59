#pragma once
// Finding a table's columns by name: case, blanks and the separators that
// R and spreadsheets put into names (".", "-", " ") do not matter, and each
// column has its accepted synonyms ("site" or "sample" for station).

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "import/csv_table.h"

namespace eco {

// A column name reduced for comparison: small letters, "." "-" " " as "_".
std::string columnKey(std::string_view name);

// The index of the first column whose name is one of `names` (compared as
// columnKey), or -1.
int findColumn(const CsvTable& table, std::initializer_list<std::string_view> names);

}  // namespace eco
