#include "output/summary_tables.h"

#include <array>
#include <vector>

#include "numeric/quantile.h"
#include "output/edit.h"
#include "output/output_files.h"

namespace eco {

std::string summaryHeaderLine() {
  std::vector<OutItem> items = {OutItem::of("Ecotope"), OutItem::of("Surface ")};
  appendReals(items, kProportions);
  return editRecords(buildHeaderFormat(static_cast<int32_t>(kProportions.size())), items).at(0);
}

std::string summaryRow(int32_t etcode, float surface, const float* quantiles) {
  std::vector<OutItem> items = {OutItem::of(etcode), OutItem::of(surface)};
  appendReals(items, std::span<const float>(quantiles, kProportions.size()));
  return editRecords("(I2.2,8X,F12.5,2X,11F12.2)", items).at(0);
}

void writeSummaryRow(std::ostream& out, int32_t etcode, float surface, const float* quantiles) {
  writeRecords(out, {summaryRow(etcode, surface, quantiles)});
}

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

bool openSummaryTables(OutputFiles& files, const std::string& outputBase, bool biomass,
                       SummaryTables& tables, std::string& message) {
  tables.biomass = biomass;
  struct Entry {
    const char* extension;
    std::ofstream* stream;
    const char* failure;
  };
  const std::array<Entry, 4> order = {{
      {".SIM", &tables.sim, "error while opening .SIM output file"},
      {".DEN", &tables.den, "error while opening .DEN output file"},
      {".BIO", &tables.bio, "error while opening .BIO output file"},
      {".NSP", &tables.nsp, "error while opening .NSP output file"},
  }};
  const std::string header = summaryHeaderLine();
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (!biomass && order[i].stream == &tables.bio) continue;
    tables.names[i] = outputBase + order[i].extension;
    if (!openOutputFile(files, tables.names[i], *order[i].stream)) {
      message = order[i].failure;
      return false;
    }
    writeRecords(*order[i].stream, {header});
  }
  return true;
}

bool closeSummaryTables(SummaryTables& tables, std::string& failedName) {
  std::ofstream* streams[4] = {&tables.sim, &tables.den, &tables.bio, &tables.nsp};
  bool ok = true;
  for (int i = 0; i < 4; ++i) {
    if (!streams[i]->is_open()) continue;
    streams[i]->close();
    if (streams[i]->fail() && ok) {
      failedName = tables.names[i];
      ok = false;
    }
  }
  return ok;
}

}  // namespace eco
