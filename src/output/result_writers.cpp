#include "output/result_writers.h"

#include <string>
#include <vector>

#include "output/report.h"

namespace eco {
namespace {

std::vector<ListRow> rowsOf(const std::vector<ListedSpecies>& list) {
  std::vector<ListRow> rows;
  rows.reserve(list.size());
  for (const ListedSpecies& s : list) {
    ListRow r;
    r.name = s.name;
    r.value = s.value;
    r.plow = s.plow;
    r.phigh = s.phigh;
    r.assValue = s.assValue;
    r.refValue = s.refValue;
    rows.push_back(std::move(r));
  }
  return rows;
}

void head(std::ostream& out, const std::string& title, const MeasureAssessment& m, int p, int q) {
  writeMeasureHead(out, title, m.grade, p, q, m.percentiles.data());
}

void differenceSection(std::ostream& out, const MeasureAssessment& m, int64_t listLength) {
  const bool density = m.measure == Measure::density;
  const std::string upper = density ? "DENSITY" : "BIOMASS";
  const std::string lower = density ? "density" : "biomass";
  const std::string shortName = density ? "dens" : "biom";
  head(out, upper + " CALCULATIONS", m, 10, 1);
  writeValueRecord(out, m.reference, 5, "TOTAL " + upper + " IN REFERENCE SAMPLE");
  writeValueRecord(out, m.observed, 5, "TOTAL " + upper + " IN ASSESSMENT SAMPLE");
  writeChances(out, m.plow, m.phigh);
  writeDifferenceList(out,
                      "SPECIES SCORING HIGHEST ABSOLUTE " + upper + " DIFFERENCES WITH REFERENCE",
                      "Species name            " + lower + " diff. proplow  prophigh  ASS." +
                          shortName + "  REF." + shortName,
                      rowsOf(m.increases), rowsOf(m.decreases), listLength);
  writeClosingRule(out, false);
}

}  // namespace

void writeClassRows(SummaryTables& tables, const EcotopeClasses& ecotope) {
  for (const ClassRow& row : ecotope.rows) {
    auto put = [&](std::ostream& out, Measure m) {
      writeSummaryRow(out, ecotope.etcode, row.surface, row.q[tableIndex(m)].data());
    };
    put(tables.sim, Measure::similarity);
    put(tables.den, Measure::density);
    if (ecotope.biomass) put(tables.bio, Measure::biomass);
    put(tables.nsp, Measure::species);
  }
}

void writeAssessmentBlock(std::ostream& out, const EcotopeAssessment& ecotope, int64_t listLength) {
  writeBanner(out, ecotope.etname);
  if (ecotope.surfaceWarning) writeSurfaceWarning(out);
  writeSurfaceTotals(out, ecotope.refSurface, ecotope.assSurface);
  for (const MeasureAssessment& m : ecotope.measures) {
    switch (m.measure) {
      case Measure::similarity:
        head(out, "SIMILARITY CALCULATIONS", m, 7, 3);
        writeValueRecord(out, m.observed, 5, "SIMILARITY OF ASSESSMENT SAMPLE WITH REFERENCE");
        writeChances(out, m.plow, m.phigh);
        writeContributingSpecies(out, rowsOf(m.contributors));
        writeClosingRule(out, false);
        break;
      case Measure::species: {
        head(out, "No. of SPECIES CALCULATIONS", m, 8, 1);
        writeValueRecord(out, m.reference, 0, "NUMBER OF SPECIES IN REFERENCE");
        writeValueRecord(out, m.observed, 0, "NUMBER OF SPECIES IN ASSESSMENT");
        writeChances(out, m.plow, m.phigh);
        std::vector<std::string> names;
        names.reserve(m.newSpecies.size());
        for (const ListedSpecies& s : m.newSpecies) names.push_back(s.name);
        writeNewSpecies(out, names);
        writeClosingRule(out, true);
        break;
      }
      case Measure::density:
      case Measure::biomass:
        differenceSection(out, m, listLength);
        break;
    }
  }
}

}  // namespace eco
