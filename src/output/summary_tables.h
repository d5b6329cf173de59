#pragma once
// The summary tables .SIM, .DEN, .BIO and .NSP: one header line, then one
// row per ecotope and surface class with 11 percentiles.

#include <cstdint>
#include <fstream>
#include <string>

#include "output/output_files.h"
#include "results/records.h"

namespace eco {

struct SummaryTables {
  bool biomass = true;
  std::string names[4];
  std::ofstream sim, den, bio, nsp;
};

// Creates the tables in the order .SIM, .DEN, .BIO (only with biomass),
// .NSP, each with its header line. False with the failing table's message.
bool openSummaryTables(OutputFiles& files, const std::string& outputBase, bool biomass,
                       SummaryTables& tables, std::string& message);

// The header line (156 characters) and one row, without line ends.
std::string summaryHeaderLine();
std::string summaryRow(int32_t etcode, float surface, const float* quantiles);

void writeSummaryRow(std::ostream& out, int32_t etcode, float surface, const float* quantiles);

// One row per class to each open table: .SIM, .DEN, .BIO (with biomass), .NSP.
void writeClassRows(SummaryTables& tables, const EcotopeClasses& ecotope);

// Closes every table; false when a table could not be written completely.
bool closeSummaryTables(SummaryTables& tables, std::string& failedName);

}  // namespace eco
