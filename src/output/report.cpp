#include "output/report.h"

#include "numeric/quantile.h"
#include "output/edit.h"

namespace eco {
namespace {

// Built where it is written: a run without storage fails there, with its
// message, not before main.
std::string hashes() { return std::string(45, '#'); }
std::string dashes() { return std::string(64, '-'); }

void put(std::ostream& out, const std::string& format, std::vector<OutItem> items) {
  write(out, format, items);
}

void putText(std::ostream& out, const std::string& format, const std::string& text) {
  put(out, format, {OutItem::of(text)});
}

std::string fields(int w, int d) {
  return "(" + std::to_string(kProportions.size()) + "F" + std::to_string(w) + "." +
         std::to_string(d) + ")";
}

// The grade as its field of the report shows it: the word in 10 characters.
std::string gradeField(Grade grade) {
  std::string field = gradeWord(grade);
  field.resize(10, ' ');
  return field;
}

// The name as its A25 field shows it. The field keeps the first 25 bytes;
// a UTF-8 character that this cut would split is left out whole and a
// blank takes its place, so that the report stays valid UTF-8 text.
std::string nameField(const std::string& name) {
  constexpr std::size_t kWidth = 25;
  if (name.size() <= kWidth) return name;
  std::size_t end = kWidth;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  std::string field = name.substr(0, end);
  field.resize(kWidth, ' ');
  return field;
}

}  // namespace

void writeBanner(std::ostream& out, const std::string& etname) {
  putText(out, "(/,A)", hashes());
  put(out, "(/,A,A,/)", {OutItem::of("ECOTOPE "), OutItem::of(etname)});
  putText(out, "(A,/)", hashes());
}

void writeSurfaceWarning(std::ostream& out) {
  putText(out, "(A)", std::string(76, '+'));
  putText(out, "(A)",
          "!!! WARNING !!! Surfaces of reference samples are very unequally distributed");
  putText(out, "(A)", "                This may affect signficance calculations adversely");
  putText(out, "(A,/)", std::string(75, '+'));
}

void writeSurfaceTotals(std::ostream& out, float reference, float assessment) {
  put(out, "(A,F10.2)",
      {OutItem::of("Total surface of reference sample  "), OutItem::of(reference)});
  put(out, "(A,F10.2,/)",
      {OutItem::of("Total surface of assessment sample "), OutItem::of(assessment)});
}

void writeMeasureHead(std::ostream& out, const std::string& title, Grade grade, int p, int q,
                      const Percentiles& quantiles) {
  putText(out, "(A,/)", title);
  put(out, "(A,A,/)", {OutItem::of("Power to detect changes is "), OutItem::of(gradeField(grade))});
  // Format control stops at the second A: no empty record follows.
  putText(out, "(A,A,/)", "Percentiles of reference distribution after iteration");
  std::vector<OutItem> props;
  appendReals(props, kProportions);
  put(out, fields(p, 3), props);
  std::vector<OutItem> values;
  appendReals(values, quantiles);
  put(out, fields(p, q), values);
  put(out, "(/)", {});
}

void writeValueRecord(std::ostream& out, float value, int decimals, const std::string& text) {
  put(out, "(F15." + std::to_string(decimals) + ",5X,A)", {OutItem::of(value), OutItem::of(text)});
}

void writeChances(std::ostream& out, float plow, float phigh) {
  writeValueRecord(out, plow, 5, "PROBABILITY TO FIND LOWER VALUE BY CHANCE");
  writeValueRecord(out, phigh, 5, "PROBABILITY TO FIND HIGHER VALUE BY CHANCE");
  putText(out, "(A,/)", dashes());
}

void writeClosingRule(std::ostream& out, bool emptyRecordAfter) {
  putText(out, emptyRecordAfter ? "(A,/)" : "(A)", dashes());
}

void writeContributingSpecies(std::ostream& out, const std::vector<ListedSpecies>& rows) {
  putText(out, "(A)", "CONTRIBUTING SPECIES");
  putText(out, "(A)", "Species name      Contr. dissimil.     proplow       prophigh");
  for (const ListedSpecies& r : rows) {
    put(out, "(A25,3F10.4)",
        {OutItem::of(nameField(r.name)), OutItem::of(r.value), OutItem::of(r.plow),
         OutItem::of(r.phigh)});
  }
}

void writeNewSpecies(std::ostream& out, const std::vector<ListedSpecies>& species) {
  constexpr std::size_t kShown = 20;
  putText(out, "(A)", "SPECIES OCCURRING IN ASSESSMENT BUT NOT IN REFERENCE");
  for (std::size_t i = 0; i < species.size() && i < kShown; ++i) {
    putText(out, "(A)", species[i].name);
  }
  if (species.empty()) {
    putText(out, "(A)", "NO NEW SPECIES FOUND IN ASSESSMENT");
  } else if (species.size() > kShown) {
    const auto more = static_cast<int32_t>(species.size() - kShown);
    put(out, "(A,I2,1X,A)",
        {OutItem::of("AND "), OutItem::of(more), OutItem::of("MORE SPECIES.......")});
  }
}

void writeDifferenceList(std::ostream& out, const std::string& heading, const std::string& columns,
                         const std::vector<ListedSpecies>& increases,
                         const std::vector<ListedSpecies>& decreases, int64_t listLength) {
  putText(out, "(A)", heading);
  putText(out, "(A)", columns);
  auto row = [&](const ListedSpecies& r) {
    put(out, "(A25,5F10.4)",
        {OutItem::of(nameField(r.name)), OutItem::of(r.value), OutItem::of(r.plow),
         OutItem::of(r.phigh), OutItem::of(r.assValue), OutItem::of(r.refValue)});
  };
  for (const ListedSpecies& r : increases) row(r);
  if (listLength >= 1) putText(out, "(A)", ".....");
  for (const ListedSpecies& r : decreases) row(r);
}

namespace {

void measureHead(std::ostream& out, const std::string& title, const MeasureAssessment& m, int p,
                 int q) {
  writeMeasureHead(out, title, m.grade, p, q, m.percentiles);
}

void similaritySection(std::ostream& out, const MeasureAssessment& m) {
  measureHead(out, "SIMILARITY CALCULATIONS", m, 7, 3);
  writeValueRecord(out, m.observed, 5, "SIMILARITY OF ASSESSMENT SAMPLE WITH REFERENCE");
  writeChances(out, m.plow, m.phigh);
  writeContributingSpecies(out, m.contributors);
  writeClosingRule(out, false);
}

void speciesCountSection(std::ostream& out, const MeasureAssessment& m) {
  measureHead(out, "No. of SPECIES CALCULATIONS", m, 8, 1);
  writeValueRecord(out, m.reference, 0, "NUMBER OF SPECIES IN REFERENCE");
  writeValueRecord(out, m.observed, 0, "NUMBER OF SPECIES IN ASSESSMENT");
  writeChances(out, m.plow, m.phigh);
  writeNewSpecies(out, m.newSpecies);
  writeClosingRule(out, true);
}

void differenceSection(std::ostream& out, const MeasureAssessment& m, int64_t listLength) {
  const bool density = m.measure == Measure::density;
  const std::string upper = density ? "DENSITY" : "BIOMASS";
  const std::string lower = density ? "density" : "biomass";
  const std::string shortName = density ? "dens" : "biom";
  measureHead(out, upper + " CALCULATIONS", m, 10, 1);
  writeValueRecord(out, m.reference, 5, "TOTAL " + upper + " IN REFERENCE SAMPLE");
  writeValueRecord(out, m.observed, 5, "TOTAL " + upper + " IN ASSESSMENT SAMPLE");
  writeChances(out, m.plow, m.phigh);
  writeDifferenceList(out,
                      "SPECIES SCORING HIGHEST ABSOLUTE " + upper + " DIFFERENCES WITH REFERENCE",
                      "Species name            " + lower + " diff. proplow  prophigh  ASS." +
                          shortName + "  REF." + shortName,
                      m.increases, m.decreases, listLength);
  writeClosingRule(out, false);
}

}  // namespace

void writeAssessmentBlock(std::ostream& out, const EcotopeAssessment& ecotope, int64_t listLength) {
  writeBanner(out, ecotope.etname);
  if (ecotope.surfaceWarning) writeSurfaceWarning(out);
  writeSurfaceTotals(out, ecotope.refSurface, ecotope.assSurface);
  for (const MeasureAssessment& m : ecotope.measures) {
    switch (m.measure) {
      case Measure::similarity:
        similaritySection(out, m);
        break;
      case Measure::species:
        speciesCountSection(out, m);
        break;
      case Measure::density:
      case Measure::biomass:
        differenceSection(out, m, listLength);
        break;
    }
  }
}

}  // namespace eco
