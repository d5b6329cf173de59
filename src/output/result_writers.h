#pragma once
// The fixed-format files written from the result records: the rows of the
// summary tables and the blocks of the report, byte for byte as the
// report and table writers lay them out.

#include <cstdint>
#include <ostream>

#include "output/results.h"
#include "output/summary_tables.h"

namespace eco {

// One row per class to each open table: .SIM, .DEN, .BIO (with biomass), .NSP.
void writeClassRows(SummaryTables& tables, const EcotopeClasses& ecotope);

// The whole block of one reported ecotope; listLength decides whether the
// difference lists have their "....." separator.
void writeAssessmentBlock(std::ostream& out, const EcotopeAssessment& ecotope, int64_t listLength);

}  // namespace eco
