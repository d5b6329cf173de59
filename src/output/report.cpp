#include "output/report.h"

#include <array>

#include "output/edit.h"

namespace eco {
namespace {

const std::string kHashes(45, '#');
const std::string kDashes(64, '-');
constexpr std::array<float, 11> kReportProportions = {0.01f, 0.025f, 0.05f, 0.10f,  0.25f, 0.50f,
                                                      0.75f, 0.90f,  0.95f, 0.975f, 0.99f};

void put(std::ostream& out, const std::string& format, std::vector<OutItem> items) {
  write(out, format, items);
}

void putText(std::ostream& out, const std::string& format, const std::string& text) {
  put(out, format, {OutItem::of(text)});
}

std::string fields(int w, int d) {
  return "(11F" + std::to_string(w) + "." + std::to_string(d) + ")";
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
  putText(out, "(/,A)", kHashes);
  put(out, "(/,A,A,/)", {OutItem::of("ECOTOPE "), OutItem::of(etname)});
  putText(out, "(A,/)", kHashes);
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

void writeMeasureHead(std::ostream& out, const std::string& title, const std::string& grade, int p,
                      int q, const float* quantiles) {
  putText(out, "(A,/)", title);
  put(out, "(A,A,/)", {OutItem::of("Power to detect changes is "), OutItem::of(grade)});
  // Format control stops at the second A: no empty record follows.
  putText(out, "(A,A,/)", "Percentiles of reference distribution after iteration");
  std::vector<OutItem> props;
  appendReals(props, kReportProportions);
  put(out, fields(p, 3), props);
  std::vector<OutItem> values;
  appendReals(values, std::span<const float>(quantiles, 11));
  put(out, fields(p, q), values);
  put(out, "(/)", {});
}

void writeValueRecord(std::ostream& out, float value, int decimals, const std::string& text) {
  put(out, "(F15." + std::to_string(decimals) + ",5X,A)", {OutItem::of(value), OutItem::of(text)});
}

void writeChances(std::ostream& out, float plow, float phigh) {
  writeValueRecord(out, plow, 5, "PROBABILITY TO FIND LOWER VALUE BY CHANCE");
  writeValueRecord(out, phigh, 5, "PROBABILITY TO FIND HIGHER VALUE BY CHANCE");
  putText(out, "(A,/)", kDashes);
}

void writeClosingRule(std::ostream& out, bool emptyRecordAfter) {
  putText(out, emptyRecordAfter ? "(A,/)" : "(A)", kDashes);
}

void writeContributingSpecies(std::ostream& out, const std::vector<ListRow>& rows) {
  putText(out, "(A)", "CONTRIBUTING SPECIES");
  putText(out, "(A)", "Species name      Contr. dissimil.     proplow       prophigh");
  for (const ListRow& r : rows) {
    put(out, "(A25,3F10.4)",
        {OutItem::of(nameField(r.name)), OutItem::of(r.value), OutItem::of(r.plow),
         OutItem::of(r.phigh)});
  }
}

void writeNewSpecies(std::ostream& out, const std::vector<std::string>& names) {
  constexpr std::size_t kShown = 20;
  putText(out, "(A)", "SPECIES OCCURRING IN ASSESSMENT BUT NOT IN REFERENCE");
  for (std::size_t i = 0; i < names.size() && i < kShown; ++i) putText(out, "(A)", names[i]);
  if (names.empty()) {
    putText(out, "(A)", "NO NEW SPECIES FOUND IN ASSESSMENT");
  } else if (names.size() > kShown) {
    const auto more = static_cast<int32_t>(names.size() - kShown);
    put(out, "(A,I2,1X,A)",
        {OutItem::of("AND "), OutItem::of(more), OutItem::of("MORE SPECIES.......")});
  }
}

void writeDifferenceList(std::ostream& out, const std::string& heading, const std::string& columns,
                         const std::vector<ListRow>& increases,
                         const std::vector<ListRow>& decreases, int64_t listLength) {
  putText(out, "(A)", heading);
  putText(out, "(A)", columns);
  auto row = [&](const ListRow& r) {
    put(out, "(A25,5F10.4)",
        {OutItem::of(nameField(r.name)), OutItem::of(r.value), OutItem::of(r.plow),
         OutItem::of(r.phigh), OutItem::of(r.assValue), OutItem::of(r.refValue)});
  };
  for (const ListRow& r : increases) row(r);
  if (listLength >= 1) putText(out, "(A)", ".....");
  for (const ListRow& r : decreases) row(r);
}

}  // namespace eco
