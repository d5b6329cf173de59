#pragma once
// The assessment report (.ASS): one block per reported ecotope, written
// piece by piece as the report pass computes it.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace eco {

void writeBanner(std::ostream& out, const std::string& etname);
void writeSurfaceWarning(std::ostream& out);
void writeSurfaceTotals(std::ostream& out, float reference, float assessment);

// Title, power grade and the two percentile lines (proportions in Fp.3,
// quantiles in Fp.q), then two empty records.
void writeMeasureHead(std::ostream& out, const std::string& title, const std::string& grade, int p,
                      int q, const float* quantiles);
// One value record "(F15.d,5X,A)".
void writeValueRecord(std::ostream& out, float value, int decimals, const std::string& text);
// The two chance probabilities and the rule under them.
void writeChances(std::ostream& out, float plow, float phigh);
// The closing rule of a section; the species-count section adds an empty record.
void writeClosingRule(std::ostream& out, bool emptyRecordAfter);

// One row of a species list as the report shows it.
struct ListRow {
  std::string name;  // the species name (50 characters)
  float value = 0, plow = 0, phigh = 0;
  float assValue = 0, refValue = 0;  // difference lists only
};

void writeContributingSpecies(std::ostream& out, const std::vector<ListRow>& rows);
// names: the new species in species order (all of them; at most 20 shown).
void writeNewSpecies(std::ostream& out, const std::vector<std::string>& names);
// The increases, the "....." separator (only when listLength >= 1), the decreases.
void writeDifferenceList(std::ostream& out, const std::string& heading, const std::string& columns,
                         const std::vector<ListRow>& increases,
                         const std::vector<ListRow>& decreases, int64_t listLength);

}  // namespace eco
