#include "output/report.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "output/summary_tables.h"

namespace eco {
namespace {

std::string name50(const std::string& n) { return n + std::string(50 - n.size(), ' '); }

// The lines of a written file, checking that every line ends with CR LF.
std::vector<std::string> lines(const std::string& bytes) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "unterminated record";
    if (end == std::string::npos) break;
    out.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

TEST(Report, BannerWarningAndTotals) {
  std::ostringstream out;
  writeBanner(out, name50("Wet meadow"));
  writeSurfaceWarning(out);
  writeSurfaceTotals(out, 12.0f, 3.125f);
  const std::vector<std::string> expected = {
      "",
      std::string(45, '#'),
      "",
      "ECOTOPE " + name50("Wet meadow"),
      "",
      std::string(45, '#'),
      "",
      std::string(76, '+'),
      "!!! WARNING !!! Surfaces of reference samples are very unequally distributed",
      "                This may affect signficance calculations adversely",
      std::string(75, '+'),
      "",
      "Total surface of reference sample       12.00",
      "Total surface of assessment sample       3.12",  // a tie goes to the even digit
      "",
  };
  EXPECT_EQ(lines(out.str()), expected);
}

TEST(Report, MeasureHeadValuesAndChances) {
  std::ostringstream out;
  Percentiles q{};
  for (std::size_t i = 0; i < q.size(); ++i) q[i] = 0.5f + 0.01f * static_cast<float>(i);
  writeMeasureHead(out, "SIMILARITY CALCULATIONS", Grade::veryPoor, 7, 3, q);
  writeValueRecord(out, 0.123456f, 5, "SIMILARITY OF ASSESSMENT SAMPLE WITH REFERENCE");
  writeValueRecord(out, 23.0f, 0, "NUMBER OF SPECIES IN REFERENCE");
  writeChances(out, 0.9995f, 0.0005f);
  writeClosingRule(out, true);
  writeClosingRule(out, false);
  const std::vector<std::string> expected = {
      "SIMILARITY CALCULATIONS",
      "",
      "Power to detect changes is VERY POOR ",
      "",
      "Percentiles of reference distribution after iteration",
      "  0.010  0.025  0.050  0.100  0.250  0.500  0.750  0.900  0.950  0.975  0.990",
      "  0.500  0.510  0.520  0.530  0.540  0.550  0.560  0.570  0.580  0.590  0.600",
      "",
      "",
      "        0.12346     SIMILARITY OF ASSESSMENT SAMPLE WITH REFERENCE",
      "            23.     NUMBER OF SPECIES IN REFERENCE",
      "        0.99950     PROBABILITY TO FIND LOWER VALUE BY CHANCE",
      "        0.00050     PROBABILITY TO FIND HIGHER VALUE BY CHANCE",
      std::string(64, '-'),
      "",
      std::string(64, '-'),
      "",
      std::string(64, '-'),
  };
  EXPECT_EQ(lines(out.str()), expected);
}

struct NewSpeciesCase {
  int count;
  std::string last;  // the record after the names, or "" for none
};

class NewSpeciesTest : public ::testing::TestWithParam<NewSpeciesCase> {};

TEST_P(NewSpeciesTest, AtMostTwentyNames) {
  const NewSpeciesCase c = GetParam();
  std::vector<ListedSpecies> species(static_cast<std::size_t>(c.count));
  for (std::size_t i = 0; i < species.size(); ++i)
    species[i].name = name50("sp" + std::to_string(i));
  std::ostringstream out;
  writeNewSpecies(out, species);
  std::vector<std::string> expected = {"SPECIES OCCURRING IN ASSESSMENT BUT NOT IN REFERENCE"};
  for (std::size_t i = 0; i < species.size() && i < 20; ++i) expected.push_back(species[i].name);
  if (!c.last.empty()) expected.push_back(c.last);
  EXPECT_EQ(lines(out.str()), expected);
}

INSTANTIATE_TEST_SUITE_P(Counts, NewSpeciesTest,
                         ::testing::Values(NewSpeciesCase{0, "NO NEW SPECIES FOUND IN ASSESSMENT"},
                                           NewSpeciesCase{1, ""}, NewSpeciesCase{20, ""},
                                           NewSpeciesCase{23, "AND  3 MORE SPECIES......."},
                                           NewSpeciesCase{25, "AND  5 MORE SPECIES......."},
                                           NewSpeciesCase{120, "AND ** MORE SPECIES......."}));

TEST(Report, SpeciesListsCutNamesAndSeparateIncreasesFromDecreases) {
  const std::string longName = name50("Elymus repens with a name longer than twenty-five");
  auto row = [](const std::string& name, float value, float plow, float phigh, float ass,
                float ref) {
    ListedSpecies s;
    s.name = name;
    s.value = value;
    s.plow = plow;
    s.phigh = phigh;
    s.assValue = ass;
    s.refValue = ref;
    return s;
  };
  const ListedSpecies up = row(longName, 0.5f, 0.75f, 0.25f, 2.0f, 1.5f);
  const ListedSpecies down = row(name50("Bellis"), -1.25f, 0.0f, 1.0f, 0.0f, 1.25f);
  std::ostringstream out;
  writeContributingSpecies(out, {up});
  writeDifferenceList(out, "HEADING", "COLUMNS", {up}, {down}, 10);
  writeDifferenceList(out, "HEADING", "COLUMNS", {}, {}, 1);
  writeDifferenceList(out, "HEADING", "COLUMNS", {}, {}, 0);
  const std::vector<std::string> expected = {
      "CONTRIBUTING SPECIES",
      "Species name      Contr. dissimil.     proplow       prophigh",
      "Elymus repens with a name    0.5000    0.7500    0.2500",
      "HEADING",
      "COLUMNS",
      "Elymus repens with a name    0.5000    0.7500    0.2500    2.0000    1.5000",
      ".....",
      "Bellis                      -1.2500    0.0000    1.0000    0.0000    1.2500",
      "HEADING",
      "COLUMNS",
      ".....",
      "HEADING",
      "COLUMNS",
  };
  EXPECT_EQ(lines(out.str()), expected);
}

TEST(SummaryTables, HeaderAndRowLayout) {
  const std::string header = summaryHeaderLine();
  std::string expected = " Ecotope" + std::string(2, ' ') + "    Surface " + std::string(2, ' ');
  for (const char* p : {"0.010", "0.025", "0.050", "0.100", "0.250", "0.500", "0.750", "0.900",
                        "0.950", "0.975", "0.990"}) {
    expected += "       " + std::string(p);
  }
  EXPECT_EQ(header, expected);
  EXPECT_EQ(header.size(), 156u);

  float q[11];
  for (int i = 0; i < 11; ++i) q[i] = static_cast<float>(i) * 1.5f;
  q[10] = std::numeric_limits<float>::quiet_NaN();
  const std::string row = summaryRow(7, 3 * 0.25f, q);
  std::string rowExpected = "07" + std::string(8, ' ') + "     0.75000" + std::string(2, ' ');
  for (const char* v :
       {"0.00", "1.50", "3.00", "4.50", "6.00", "7.50", "9.00", "10.50", "12.00", "13.50"}) {
    rowExpected += std::string(12 - std::string(v).size(), ' ') + v;
  }
  rowExpected += " NaN        ";
  EXPECT_EQ(row, rowExpected);
  EXPECT_EQ(summaryRow(105, 1.0f, q).substr(0, 2), "**");
}

}  // namespace
}  // namespace eco
