// The species and ecotope files and the code lookups.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "input/input_files.h"
#include "input/lookups.h"
#include "input/tables.h"

namespace eco {
namespace {

std::string name50(const std::string& t) {
  std::string r = t;
  r.resize(50, ' ');
  return r;
}

struct SpeciesRead {
  bool ok = false;
  SpeciesTable table;
  InputStatus status;
};

SpeciesRead readSpecies(const std::string& text, int32_t maxspec = 500) {
  SpeciesRead r;
  r.table.maxspec = maxspec;
  std::istringstream in(text);
  r.ok = readSpeciesFile(in, "t.SPE", r.table, r.status);
  return r;
}

struct EcotopeRead {
  bool ok = false;
  EcotopeTable table;
  StationTable stations;
  InputStatus status;
};

EcotopeRead readEcotopes(const std::string& text, int32_t maxet = 20) {
  EcotopeRead r;
  r.table.maxet = maxet;
  std::istringstream in(text);
  r.ok = readEcotopeFile(in, "t.ETP", r.table, r.stations, r.status);
  return r;
}

TEST(SpeciesFile, CodesAndNamesInFileOrder) {
  const SpeciesRead r =
      readSpecies("3 'Festuca rubra'\n1 Carex\n\n2, \"Ammophila arenaria\"\n-7 'x'\n");
  ASSERT_TRUE(r.ok) << r.status.message;
  EXPECT_EQ(r.table.nspec(), 4);
  EXPECT_EQ(r.table.specode, (std::vector<int32_t>{3, 1, 2, -7}));
  EXPECT_EQ(r.table.spename[0], name50("Festuca rubra"));
  EXPECT_EQ(r.table.spename[1], name50("Carex"));
  EXPECT_EQ(r.table.spename[2], name50("Ammophila arenaria"));
  EXPECT_EQ(r.table.spename[3], name50("x"));
}

TEST(SpeciesFile, Names) {
  const struct {
    const char* record;
    std::string name;
  } cases[] = {
      {"1 Festuca rubra", "Festuca"},  // an unquoted name ends at the first blank
      {"1 'Festuca rubra'", "Festuca rubra"},
      {"1 Festuca,rubra", "Festuca"},
      {"1 'O''Brien''s moss'", "O'Brien's moss"},
      {"1 'Carex' 'second'", "Carex"},  // values after the last item are ignored
      {"1 Carex/ignored", "Carex"},
      {"1 'abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijKLMN'",
       "abcdefghijabcdefghijabcdefghijabcdefghijabcdefghij"},
  };
  for (const auto& c : cases) {
    const SpeciesRead r = readSpecies(std::string(c.record) + "\n");
    ASSERT_TRUE(r.ok) << c.record << ": " << r.status.message;
    ASSERT_EQ(r.table.nspec(), 1);
    EXPECT_EQ(r.table.spename[0], name50(c.name)) << c.record;
  }
}

TEST(SpeciesFile, SameCodeTwice) {
  for (const char* text : {"1 'A'\n2 'B'\n1 'C'\n", "1 'A'\n1 'A'\n"}) {
    const SpeciesRead r = readSpecies(text);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.status.inputLayer);
    EXPECT_EQ(r.status.message, "Two species found with same species code") << text;
  }
}

TEST(SpeciesFile, Capacity) {
  EXPECT_TRUE(readSpecies("1 'A'\n2 'B'\n", 2).ok);  // exactly reached
  const SpeciesRead over = readSpecies("1 'A'\n2 'B'\n3 'C'\n", 2);
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.status.message, "Number of species greater than maxspec");
  EXPECT_EQ(over.table.nspec(), 2);
  EXPECT_EQ(readSpecies("1 'A'\n", 0).status.message, "Number of species greater than maxspec");
  EXPECT_TRUE(readSpecies("", 0).ok);
  // The repeated code is found before the capacity is looked at.
  EXPECT_EQ(readSpecies("1 'A'\n2 'B'\n1 'C'\n", 2).status.message,
            "Two species found with same species code");
}

TEST(SpeciesFile, EmptyFiles) {
  for (const char* text : {"", "\n", "   \n\n\t\n"}) {
    const SpeciesRead r = readSpecies(text);
    EXPECT_TRUE(r.ok) << r.status.message;
    EXPECT_EQ(r.table.nspec(), 0);
  }
}

struct TooFewCase {
  const char* text;
  const char* message;  // empty: the file is valid
};

TEST(SpeciesFile, RecordsWithTooFewValues) {
  const TooFewCase cases[] = {
      {"1 'A'\n2\n", "record with too few values in species file, line 2"},
      {"1 'A'\n2", "record with too few values in species file, line 2"},
      {"\n\n1\n", "record with too few values in species file, line 3"},
      {"1\n'A' 2 'B'\n", "record with too few values in species file, line 1"},
      {"1 'A'\n2\n\n'B' 3\n", "record with too few values in species file, line 2"},
      {"1\n'A'\n2 'B'\n", ""},         // values simply continue on the next line
      {"1\n\n'A'\n", ""},              // blank lines are passed over
      {"1 'A' extra 7\n2 'B'\n", ""},  // extra values on the record's own line
      {"1 'A',\n", ""},
  };
  for (const TooFewCase& c : cases) {
    const SpeciesRead r = readSpecies(c.text);
    EXPECT_EQ(r.ok, *c.message == '\0') << c.text;
    EXPECT_EQ(r.status.message, c.message) << c.text;
    EXPECT_FALSE(r.status.inputLayer);
  }
  const SpeciesRead continued = readSpecies("1\n'A'\n2 'B'\n");
  ASSERT_EQ(continued.table.nspec(), 2);
  EXPECT_EQ(continued.table.spename[0], name50("A"));
}

TEST(SpeciesFile, InputLayerReports) {
  const struct {
    const char* text;
    const char* report;
  } cases[] = {
      {"x 'A'\n", "list-directed I/O syntax error, unit 11, file t.SPE, line 1"},
      {"1 'A'\n\n2a 'B'\n", "list-directed I/O syntax error, unit 11, file t.SPE, line 3"},
      {"99999999999 'A'\n", "input conversion error, unit 11, file t.SPE, line 1"},
      {"'A' 1\n", "list-directed I/O syntax error, unit 11, file t.SPE, line 1"},
  };
  for (const auto& c : cases) {
    const SpeciesRead r = readSpecies(c.text);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.status.inputLayer) << c.text;
    EXPECT_EQ(r.status.message, c.report) << c.text;
  }
}

TEST(SpeciesFile, CrLfLines) {
  const SpeciesRead r = readSpecies("1 Carex\r\n2 'Festuca rubra'\r\n\r\n3\r\nJuncus\r\n");
  ASSERT_TRUE(r.ok) << r.status.message;
  ASSERT_EQ(r.table.nspec(), 3);
  EXPECT_EQ(r.table.spename[0], name50("Carex"));
  EXPECT_EQ(r.table.spename[1], name50("Festuca rubra"));
  EXPECT_EQ(r.table.spename[2], name50("Juncus"));
}

TEST(EcotopeFile, CodeTwiceKeepsFirstIndexAndLaterName) {
  const EcotopeRead r = readEcotopes("10 'Dune'\n20 Marsh\n10 'Dune grassland'\n30 'Beach'\n");
  ASSERT_TRUE(r.ok) << r.status.message;
  EXPECT_EQ(r.table.net(), 3);
  EXPECT_EQ(r.table.etcode, (std::vector<int32_t>{10, 20, 30}));
  EXPECT_EQ(r.table.etname[0], name50("Dune grassland"));
  EXPECT_EQ(r.table.etname[1], name50("Marsh"));
  EXPECT_EQ(r.table.etname[2], name50("Beach"));
  EXPECT_EQ(r.stations.ecotope.size(), 3u);
}

TEST(EcotopeFile, Capacity) {
  EXPECT_TRUE(readEcotopes("10 'A'\n20 'B'\n", 2).ok);
  // A repeated code at full capacity is not a new ecotope.
  EXPECT_TRUE(readEcotopes("10 'A'\n20 'B'\n10 'C'\n", 2).ok);
  const EcotopeRead over = readEcotopes("10 'A'\n20 'B'\n30 'C'\n", 2);
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.status.message, "Number of ecotoptes greater than maxet");
  EXPECT_EQ(readEcotopes("10 'A'\n", 0).status.message, "Number of ecotoptes greater than maxet");
}

TEST(EcotopeFile, RecordsWithTooFewValuesAndReports) {
  EXPECT_EQ(readEcotopes("10 'A'\n20\n").status.message,
            "record with too few values in ecotope file, line 2");
  EXPECT_EQ(readEcotopes("10\n'A' 20 'B'\n").status.message,
            "record with too few values in ecotope file, line 1");
  EXPECT_TRUE(readEcotopes("10\n'A'\n").ok);
  const EcotopeRead bad = readEcotopes("10 'A'\n1.5.2 'B'\n");
  EXPECT_TRUE(bad.status.inputLayer);
  EXPECT_EQ(bad.status.message, "list-directed I/O syntax error, unit 14, file t.ETP, line 2");
  const EcotopeRead crlf = readEcotopes("10 Dune\r\n20 'Salt marsh'\r\n");
  ASSERT_TRUE(crlf.ok);
  EXPECT_EQ(crlf.table.etname[0], name50("Dune"));
  EXPECT_EQ(crlf.table.etname[1], name50("Salt marsh"));
}

TEST(Lookups, SpeciesFindAndRegister) {
  SpeciesTable t;
  t.maxspec = 3;
  std::string message;
  int32_t s = -1;
  ASSERT_TRUE(lookupSpecies(t, 40, LookupMode::registerCode, s, message));
  EXPECT_EQ(s, 0);
  ASSERT_TRUE(lookupSpecies(t, 7, LookupMode::registerCode, s, message));
  EXPECT_EQ(s, 1);
  ASSERT_TRUE(lookupSpecies(t, 7, LookupMode::findCode, s, message));
  EXPECT_EQ(s, 1);
  ASSERT_TRUE(lookupSpecies(t, 40, LookupMode::findCode, s, message));
  EXPECT_EQ(s, 0);
  EXPECT_FALSE(lookupSpecies(t, 8, LookupMode::findCode, s, message));
  EXPECT_EQ(message, "Species found in .DAT file with unknown species code");
  EXPECT_EQ(t.nspec(), 2);  // find never registers
}

TEST(Lookups, EcotopeAndStation) {
  EcotopeTable et;
  et.maxet = 2;
  StationTable st;
  st.maxstat = 2;
  std::string message;
  int32_t e = -1, j = -1;
  int g = -1;
  EXPECT_FALSE(lookupEcotope(et, st, 5, LookupMode::findCode, e, message));
  EXPECT_EQ(message, "Station found with unknown ecotope code");
  ASSERT_TRUE(lookupEcotope(et, st, 5, LookupMode::registerCode, e, message));
  ASSERT_TRUE(lookupEcotope(et, st, 6, LookupMode::registerCode, e, message));
  EXPECT_EQ(e, 1);
  ASSERT_TRUE(lookupEcotope(et, st, 5, LookupMode::registerCode, e, message));
  EXPECT_EQ(e, 0);

  message.clear();
  EXPECT_FALSE(lookupStation(et, st, 9, kReference, 1, LookupMode::registerCode, e, j, g, message));
  EXPECT_EQ(message, "Station found with unknown ecotope code");
  ASSERT_TRUE(
      lookupStation(et, st, 6, kAssessment, 77, LookupMode::registerCode, e, j, g, message));
  EXPECT_EQ(e, 1);
  EXPECT_EQ(j, 0);
  EXPECT_EQ(g, kAssessment);
  // find reports the group where the station is, whatever group is passed.
  e = j = g = -1;
  ASSERT_TRUE(lookupStation(et, st, 6, kReference, 77, LookupMode::findCode, e, j, g, message));
  EXPECT_EQ(e, 1);
  EXPECT_EQ(j, 0);
  EXPECT_EQ(g, kAssessment);
  EXPECT_FALSE(lookupStation(et, st, 5, kAssessment, 77, LookupMode::findCode, e, j, g, message));
  EXPECT_EQ(message, "Station found in .DAT file with unknown station code");
  EXPECT_FALSE(lookupStation(et, st, 9, kAssessment, 77, LookupMode::findCode, e, j, g, message));
  EXPECT_EQ(message, "Station found with unknown ecotope code");
}

}  // namespace
}  // namespace eco
