#pragma once
// The assessment report (.ASS): one block per reported ecotope, laid out
// from its result record.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "results/records.h"

namespace eco {

// The whole block of one reported ecotope; listLength decides whether the
// difference lists have their "....." separator.
void writeAssessmentBlock(std::ostream& out, const EcotopeAssessment& ecotope, int64_t listLength);

// The pieces of a block.

void writeBanner(std::ostream& out, const std::string& etname);
void writeSurfaceWarning(std::ostream& out);
void writeSurfaceTotals(std::ostream& out, float reference, float assessment);

// Title, power grade (its word in 10 characters) and the two percentile
// lines (proportions in Fp.3, quantiles in Fp.q), then two empty records.
void writeMeasureHead(std::ostream& out, const std::string& title, Grade grade, int p, int q,
                      const Percentiles& quantiles);
// One value record "(F15.d,5X,A)".
void writeValueRecord(std::ostream& out, float value, int decimals, const std::string& text);
// The two chance probabilities and the rule under them.
void writeChances(std::ostream& out, float plow, float phigh);
// The closing rule of a section; the species-count section adds an empty record.
void writeClosingRule(std::ostream& out, bool emptyRecordAfter);

void writeContributingSpecies(std::ostream& out, const std::vector<ListedSpecies>& rows);
// The new species in species order (all of them; at most 20 shown).
void writeNewSpecies(std::ostream& out, const std::vector<ListedSpecies>& species);
// The increases, the "....." separator (only when listLength >= 1), the decreases.
void writeDifferenceList(std::ostream& out, const std::string& heading, const std::string& columns,
                         const std::vector<ListedSpecies>& increases,
                         const std::vector<ListedSpecies>& decreases, int64_t listLength);

}  // namespace eco
