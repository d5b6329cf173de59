#include "output/csv_export.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "output/csv_parse.h"
#include "output/export_text.h"
#include "output/result_samples.h"

namespace eco {
namespace {

using csvtest::parseCsv;
using samples::kNaN;

TEST(CsvField, QuotesOnlyWhatRfc4180Requires) {
  struct Case {
    std::string text, field;
  };
  const std::vector<Case> cases = {
      {"Festuca rubra", "Festuca rubra"},
      {"Three, no stations", "\"Three, no stations\""},
      {"the \"big\" one", "\"the \"\"big\"\" one\""},
      {"O'Brien's moss", "O'Brien's moss"},  // an apostrophe needs no quotes
      {"\"", "\"\"\"\""},
      {"line\r\nend", "\"line\r\nend\""},
      {"bare\rreturn", "\"bare\rreturn\""},
      {"bare\nfeed", "\"bare\nfeed\""},
      {"", ""},
      {" leading blank", " leading blank"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(csvField(c.text), c.field) << c.text;
    // Read back, the field is the text again.
    const auto parsed = parseCsv(csvField(c.text) + "\r\n");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.records.size(), 1u);
    EXPECT_EQ(parsed.records[0], std::vector<std::string>{c.text});
  }
}

TEST(ShortestDecimal, FormsAndSpecialValues) {
  struct Case {
    float value;
    std::string text;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<Case> cases = {
      {0.1f, "0.1"},
      {0.84761f, "0.84761"},
      {27186.8f, "27186.8"},
      {19.0f, "19"},
      {1e-05f, "1e-05"},
      {0.0f, "0"},
      {-0.0f, "-0"},
      {-2.5f, "-2.5"},
      {inf, "Inf"},
      {-inf, "-Inf"},
      {kNaN, ""},
      {3.4028235e38f, "3.4028235e+38"},
  };
  for (const Case& c : cases) EXPECT_EQ(shortestDecimal(c.value), c.text) << c.value;
}

TEST(ShortestDecimal, ReadsBackAsTheSameFloat) {
  std::mt19937 rng(20240611u);
  for (int i = 0; i < 200000; ++i) {
    const float v = std::bit_cast<float>(static_cast<uint32_t>(rng()));
    if (!std::isfinite(v)) continue;
    const std::string text = shortestDecimal(v);
    const float back = std::strtof(text.c_str(), nullptr);
    ASSERT_EQ(std::bit_cast<uint32_t>(back), std::bit_cast<uint32_t>(v)) << text;
  }
}

TEST(ExportName, TrimsAndRepairsEncoding) {
  auto check = [](const std::string& stored, const std::string& name) {
    EXPECT_EQ(exportName(stored), name) << stored;
  };
  check(samples::name50("Wet meadow"), "Wet meadow");
  check(samples::name50("  indented"), "  indented");
  check(std::string(50, ' '), "");
  check(samples::name50("Gammarus r\xC3\xB6seli"), "Gammarus r\xC3\xB6seli");  // UTF-8 as it is
  check(samples::name50("Gammarus r\xF6seli"), "Gammarus r\xC3\xB6seli");      // Latin-1 converted
  check(samples::name50("Caf\xE9"), "Caf\xC3\xA9");  // a Latin-1 letter at the end is kept
  check(samples::name50("\xED\xA0\x80 surrogate"), "\xC3\xAD\xC2\xA0\xC2\x80 surrogate");
  // A UTF-8 name cut at its 50th byte loses the split character only.
  const std::string a49(49, 'a'), a48(48, 'a');
  check(a49 + "\xC3", a49);
  check(a48 + "\xE2\x82", a48);
}

TEST(TablesCsv, HeaderRowsAndMissingValues) {
  EXPECT_EQ(tablesCsvHeader(),
            "ecotope,ecotope_name,measure,class,surface,p01,p025,p05,p10,p25,p50,p75,p90,p95,p975,"
            "p99\r\n");
  EcotopeClasses e = samples::classes(0, 7, "Three, no stations", false, true);
  e.rows[1].q[tableIndex(Measure::density)][10] = std::numeric_limits<float>::infinity();
  const auto parsed = parseCsv(tablesCsvHeader() + tablesCsvRows(e));
  ASSERT_TRUE(parsed.ok) << parsed.error;
  // No biomass: similarity, density, species, two classes each.
  ASSERT_EQ(parsed.records.size(), 1u + 3u * 2u);
  const std::vector<std::string> measures = {"similarity", "similarity", "density",
                                             "density",    "species",    "species"};
  for (std::size_t i = 0; i < measures.size(); ++i) {
    const auto& r = parsed.records[i + 1];
    ASSERT_EQ(r.size(), 16u);
    EXPECT_EQ(r[0], "7");
    EXPECT_EQ(r[1], "Three, no stations");
    EXPECT_EQ(r[2], measures[i]);
    EXPECT_EQ(r[3], i % 2 == 0 ? "1" : "2");
    EXPECT_EQ(r[4], i % 2 == 0 ? "0.25" : "0.5");
    if (i % 2 == 0) {
      for (std::size_t k = 5; k < 16; ++k) EXPECT_EQ(r[k], "") << "class 1 has no values";
    }
  }
  EXPECT_EQ(parsed.records[4][5], "200");
  EXPECT_EQ(parsed.records[4][6], "210");
  EXPECT_EQ(parsed.records[4][15], "Inf");
  EXPECT_EQ(parsed.records[6][15], "13");
  // The exact text of one row, quoting included.
  const std::string rows = tablesCsvRows(e);
  EXPECT_EQ(rows.substr(0, rows.find("\r\n") + 2),
            "7,\"Three, no stations\",similarity,1,0.25,,,,,,,,,,,\r\n");
}

TEST(TablesCsv, BiomassRowsComeBetweenDensityAndSpecies) {
  const auto parsed = parseCsv(tablesCsvRows(samples::classes(0, 105, "No shrubs", true)));
  ASSERT_TRUE(parsed.ok) << parsed.error;
  std::vector<std::string> seen;
  for (const auto& r : parsed.records) seen.push_back(r[2] + "/" + r[3]);
  EXPECT_EQ(seen,
            (std::vector<std::string>{"similarity/1", "similarity/2", "density/1", "density/2",
                                      "biomass/1", "biomass/2", "species/1", "species/2"}));
  EXPECT_EQ(parsed.records[4][5], "1.5");
}

TEST(AssessmentCsv, OneRowPerMeasureInReportOrder) {
  EXPECT_EQ(assessmentCsvHeader(),
            "ecotope,ecotope_name,measure,reference_surface,assessment_surface,surface_warning,"
            "grade,p01,p025,p05,p10,p25,p50,p75,p90,p95,p975,p99,observed,reference,p_lower,"
            "p_higher,se_lower,se_higher\r\n");
  EcotopeAssessment e = samples::assessment(1, 5, "Wet \"low\" meadow", true);
  e.measures[0].grade = Grade::veryPoor;
  e.measures[2].grade = Grade::low;
  e.measures[3].grade = Grade::good;
  e.measures[2].observed = kNaN;
  const auto parsed = parseCsv(assessmentCsvHeader() + assessmentCsvRows(e));
  ASSERT_TRUE(parsed.ok) << parsed.error;
  ASSERT_EQ(parsed.records.size(), 5u);
  const std::size_t columns = parsed.records[0].size();
  const std::vector<std::string> order = {"similarity", "species", "density", "biomass"};
  for (std::size_t i = 0; i < order.size(); ++i) {
    const auto& r = parsed.records[i + 1];
    ASSERT_EQ(r.size(), columns);
    EXPECT_EQ(r[1], "Wet \"low\" meadow");
    EXPECT_EQ(r[2], order[i]);
    EXPECT_EQ(r[3], "0.75");
    EXPECT_EQ(r[4], "0.5");
    EXPECT_EQ(r[5], "TRUE");
    EXPECT_EQ(r[7], "1");
    EXPECT_EQ(r[17], "6");
    EXPECT_EQ(r[20], "0.9995");
    EXPECT_EQ(r[21], "5e-04");  // the shorter of the two forms
  }
  EXPECT_EQ(parsed.records[1][6], "VERY POOR");
  EXPECT_EQ(parsed.records[2][6], "MODERATE");
  EXPECT_EQ(parsed.records[3][6], "LOW");
  EXPECT_EQ(parsed.records[4][6], "GOOD");
  EXPECT_EQ(parsed.records[1][18], "0.625");
  EXPECT_EQ(parsed.records[1][19], "") << "the similarity has no reference value";
  EXPECT_EQ(parsed.records[2][19], "7");
  EXPECT_EQ(parsed.records[3][18], "") << "a missing observed value is an empty field";
  // The Monte Carlo errors as the record holds them, each in its column.
  EXPECT_EQ(parsed.records[1][22], "0.0125");
  EXPECT_EQ(parsed.records[1][23], "0.25");
}

TEST(SpeciesCsv, EveryListWithRanksAndEmptyValuesForNewSpecies) {
  EXPECT_EQ(speciesCsvHeader(),
            "ecotope,ecotope_name,measure,list,rank,species,species_name,value,p_lower,p_higher,"
            "assessment_value,reference_value\r\n");
  const EcotopeAssessment e = samples::assessment(0, 5, "Wet meadow", true);
  const auto parsed = parseCsv(speciesCsvHeader() + speciesCsvRows(e));
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const std::vector<std::vector<std::string>> expected = {
      {"5", "Wet meadow", "similarity", "contributor", "1", "11", "Festuca rubra", "0.125", "0.75",
       "0.25", "", ""},
      {"5", "Wet meadow", "species", "new", "1", "12", "Carex, \"sand\" sedge", "", "", "", "", ""},
      {"5", "Wet meadow", "species", "new", "2", "13", "O'Brien's moss", "", "", "", "", ""},
      {"5", "Wet meadow", "density", "increase", "1", "11", "Festuca rubra", "1.5", "1", "0", "4",
       "2.5"},
      {"5", "Wet meadow", "density", "decrease", "1", "14", "Ammophila arenaria", "-2", "0", "1",
       "4", "2.5"},
      {"5", "Wet meadow", "biomass", "increase", "1", "11", "Festuca rubra", "0.5", "0.5", "0.5",
       "4", "2.5"},
  };
  ASSERT_EQ(parsed.records.size(), expected.size() + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(parsed.records[i + 1], expected[i]);
  // The quoted name as written.
  EXPECT_NE(speciesCsvRows(e).find(",\"Carex, \"\"sand\"\" sedge\","), std::string::npos);
}

TEST(SpeciesCsv, AnEcotopeWithEmptyListsHasNoRows) {
  EcotopeAssessment e = samples::assessment(0, 5, "Wet meadow", false);
  for (MeasureAssessment& m : e.measures) {
    m.contributors.clear();
    m.newSpecies.clear();
    m.increases.clear();
    m.decreases.clear();
  }
  EXPECT_EQ(speciesCsvRows(e), "");
}

}  // namespace
}  // namespace eco
