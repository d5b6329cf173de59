#pragma once
// The tidy comma-separated exports of --csv: RFC 4180 records (fields
// quoted only where they hold a comma, a quote or a line end, quotes
// doubled, records ended by CR LF), UTF-8, a header row, one observation
// per row. Numbers are the shortest decimals that read back as the same
// 32-bit values; a missing value is an empty field.
//
//   OUT.tables.csv      per ecotope, measure and surface class (summary pass)
//   OUT.assessment.csv  per reported ecotope and measure (report pass)
//   OUT.species.csv     per species of every list of the report
//
// Each function returns whole records, ready to be appended to its file.

#include <string>
#include <string_view>

#include "results/records.h"

namespace eco {

// One field escaped as RFC 4180 requires.
std::string csvField(std::string_view text);

std::string tablesCsvHeader();
// Ecotope by measure (similarity, density, biomass when present, species),
// within a measure by class.
std::string tablesCsvRows(const EcotopeClasses& ecotope);

std::string assessmentCsvHeader();
// One row per measure, in report order.
std::string assessmentCsvRows(const EcotopeAssessment& ecotope);

std::string speciesCsvHeader();
// Per measure in report order, its lists: "contributor" (similarity),
// "new" (species count; every new species), "increase" and "decrease"
// (density, biomass).
std::string speciesCsvRows(const EcotopeAssessment& ecotope);

}  // namespace eco
