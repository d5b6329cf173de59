// The data file and the sample matrices; opening and reading a whole survey.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "input/input_files.h"
#include "input/tables.h"

namespace fs = std::filesystem;

namespace eco {
namespace {

// Species 1, 2, 3; ecotopes 10 and 20; in ecotope 10 the reference
// stations 101 (surface 1) and 102 (2) and the assessment stations 201
// (0.5) and 202 (2); in ecotope 20 the reference station 301 (4) and the
// assessment station 302 (1).
const char* const kSpecies = "1 'Festuca rubra'\n2 'Carex arenaria'\n3 'Juncus'\n";
const char* const kEcotopes = "10 'Dune'\n20 'Marsh'\n";
const char* const kStations =
    "10 101 REF 1\n10 102 REF 2\n10 201 ASS 0.5\n10 202 ASS 2\n20 301 REF 4\n20 302 ASS 1\n";

struct DataRead {
  bool ok = false;
  SurveyTables t;
  InputStatus status;
  const EcotopeSamples& eco(int e) const {
    return t.samples.ecotope.at(static_cast<std::size_t>(e));
  }
  std::size_t nspec() const { return static_cast<std::size_t>(t.species.nspec()); }
  // refdens(e, j, s), 0-based.
  float refdens(int e, int j, int s) const {
    return denseReference(eco(e), nspec(), false)
        .at(static_cast<std::size_t>(j) * nspec() + static_cast<std::size_t>(s));
  }
  float refbiom(int e, int j, int s) const {
    return denseReference(eco(e), nspec(), true)
        .at(static_cast<std::size_t>(j) * nspec() + static_cast<std::size_t>(s));
  }
  float stadens(int e, int j, int g) const {
    return eco(e).stadens[static_cast<std::size_t>(g)].at(static_cast<std::size_t>(j));
  }
  float stabiom(int e, int j, int g) const {
    return eco(e).stabiom[static_cast<std::size_t>(g)].at(static_cast<std::size_t>(j));
  }
};

DataRead readData(const std::string& data, bool biomass, int32_t emptySpeciesCode = 999) {
  DataRead r;
  r.t.species.maxspec = 10;
  r.t.ecotopes.maxet = 10;
  r.t.stations.maxstat = 10;
  std::istringstream spe(kSpecies), etp(kEcotopes), sta(kStations), dat(data);
  EXPECT_TRUE(readSpeciesFile(spe, "t.SPE", r.t.species, r.status));
  EXPECT_TRUE(readEcotopeFile(etp, "t.ETP", r.t.ecotopes, r.t.stations, r.status));
  EXPECT_TRUE(readStationFile(sta, "t.STA", r.t.ecotopes, r.t.stations, r.status));
  ReadOptions options;
  options.maxet = options.maxspec = options.maxstat = 10;
  options.biomassPresent = biomass;
  options.emptySpeciesCode = emptySpeciesCode;
  r.ok = readDataFile(dat, "t.DAT", options, r.t, r.status);
  return r;
}

// Every value of every matrix, for "nothing was stored" checks.
std::vector<float> allValues(const DataRead& r) {
  std::vector<float> v;
  for (const EcotopeSamples& es : r.t.samples.ecotope) {
    const std::vector<float> refdens = denseReference(es, r.nspec(), false);
    const std::vector<float> refbiom = denseReference(es, r.nspec(), true);
    for (const auto* m : {&refdens, &refbiom, &es.assdens, &es.assbiom, &es.stadens[0],
                          &es.stadens[1], &es.stabiom[0], &es.stabiom[1]}) {
      v.insert(v.end(), m->begin(), m->end());
    }
  }
  return v;
}

bool allZero(const DataRead& r) {
  for (float x : allValues(r)) {
    if (x != 0.0f) return false;
  }
  return true;
}

TEST(DataFile, EmptyFileLeavesSizedZeroMatrices) {
  const DataRead r = readData("", true);
  ASSERT_TRUE(r.ok) << r.status.message;
  EXPECT_EQ(r.t.samples.ecotope.size(), 2u);
  EXPECT_EQ(r.eco(0).refrecords.size(), 2u);
  EXPECT_EQ(r.eco(0).assdens.size(), 3u);
  EXPECT_EQ(r.eco(0).stadens[kAssessment].size(), 2u);
  EXPECT_EQ(r.eco(1).refrecords.size(), 1u);
  EXPECT_EQ(r.eco(1).stabiom[kReference].size(), 1u);
  EXPECT_TRUE(allZero(r));
  EXPECT_TRUE(readData("\n\n  \n", false).ok);
}

TEST(DataFile, ReferenceRecordsAreStoredPerStation) {
  const DataRead r = readData(
      "10 101 1 5.0 0.5\n"
      "10 102 2 3.0 0.25\n"
      "20 301 1 7.0 1.0\n",
      true);
  ASSERT_TRUE(r.ok) << r.status.message;
  EXPECT_EQ(r.refdens(0, 0, 0), 5.0f);
  EXPECT_EQ(r.refbiom(0, 0, 0), 0.5f);
  EXPECT_EQ(r.refdens(0, 1, 1), 3.0f);
  EXPECT_EQ(r.refbiom(0, 1, 1), 0.25f);
  EXPECT_EQ(r.refdens(0, 1, 0), 0.0f);
  EXPECT_EQ(r.refdens(1, 0, 0), 7.0f);
  EXPECT_EQ(r.stadens(0, 0, kReference), 5.0f);
  EXPECT_EQ(r.stabiom(0, 1, kReference), 0.25f);
  EXPECT_EQ(r.stadens(1, 0, kReference), 7.0f);
  // Reference records do not touch the assessment sums.
  EXPECT_EQ(r.eco(0).assdens, (std::vector<float>{0, 0, 0}));
}

TEST(DataFile, RepeatedReferenceRecordReplacesTheDensity) {
  const DataRead r = readData("10 101 1 5.0 0.5\n10 101 1 7.0 0.25\n", true);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.refdens(0, 0, 0), 7.0f);
  EXPECT_EQ(r.refbiom(0, 0, 0), 0.25f);
  EXPECT_EQ(r.stadens(0, 0, kReference), 12.0f);  // the total holds both
  EXPECT_EQ(r.stabiom(0, 0, kReference), 0.75f);
}

TEST(DataFile, AssessmentRecordsAccumulateWeightedBySurface) {
  // Densities 2 and 3 on a station of surface 0.5: assdens grows by 2.5.
  const DataRead r = readData("10 201 2 2 1\n10 201 2 3 1\n", true);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.eco(0).assdens[1], 2.5f);
  EXPECT_EQ(r.eco(0).assbiom[1], 1.0f);
  EXPECT_EQ(r.stadens(0, 0, kAssessment), 5.0f);
  EXPECT_EQ(r.stabiom(0, 0, kAssessment), 2.0f);
  EXPECT_EQ(r.stadens(0, 1, kAssessment), 0.0f);
  // Over two stations: 4 x 0.5 + 3 x 2.
  const DataRead two = readData("10 201 1 4\n10 202 1 3\n20 302 1 9\n", false);
  ASSERT_TRUE(two.ok);
  EXPECT_EQ(two.eco(0).assdens[0], 8.0f);
  EXPECT_EQ(two.eco(1).assdens[0], 9.0f);
  EXPECT_EQ(two.stadens(0, 1, kAssessment), 3.0f);
}

TEST(DataFile, SumsAreSinglePrecision) {
  // 1 is lost when added to 1e8 in a 32-bit real.
  const DataRead r = readData("10 101 1 100000000\n10 101 2 1\n10 101 3 1\n", false);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.stadens(0, 0, kReference), 100000000.0f);
}

TEST(DataFile, EmptySpeciesCode) {
  // The record only confirms the station; nothing is stored.
  const DataRead r = readData("10 101 999 5.0 1.0\n10 201 999 5.0 1.0\n", true);
  ASSERT_TRUE(r.ok) << r.status.message;
  EXPECT_TRUE(allZero(r));
  // The station lookup comes first.
  const DataRead unknown = readData("10 109 999 5.0 1.0\n", true);
  EXPECT_FALSE(unknown.ok);
  EXPECT_EQ(unknown.status.message, "Station found in .DAT file with unknown station code");
  // Another empty code: 999 is then an unknown species, and an empty code
  // that is also a species code stores nothing.
  const DataRead other = readData("10 101 0 5.0\n10 101 2 4.0\n", false, 2);
  EXPECT_FALSE(other.ok);
  EXPECT_EQ(other.status.message, "Species found in .DAT file with unknown species code");
  const DataRead shadow = readData("10 101 2 4.0\n", false, 2);
  ASSERT_TRUE(shadow.ok);
  EXPECT_TRUE(allZero(shadow));
  const DataRead changed = readData("10 101 999 4.0\n", false, 0);
  EXPECT_EQ(changed.status.message, "Species found in .DAT file with unknown species code");
}

TEST(DataFile, WithoutBiomass) {
  // Four items per record; further values on the line are ignored.
  const DataRead r = readData("10 101 1 5.0 7.0 extra\n10 201 3 2.0\n", false);
  ASSERT_TRUE(r.ok) << r.status.message;
  EXPECT_EQ(r.refdens(0, 0, 0), 5.0f);
  EXPECT_EQ(r.stadens(0, 0, kReference), 5.0f);
  EXPECT_EQ(r.eco(0).assdens[2], 1.0f);
  EXPECT_EQ(r.refbiom(0, 0, 0), 0.0f);
  EXPECT_TRUE(r.eco(0).assbiom.empty());
  EXPECT_TRUE(r.eco(0).stabiom[kReference].empty());
  EXPECT_FALSE(r.t.samples.biomass);
}

TEST(DataFile, SpeciesNeverObservedKeepsZero) {
  const DataRead r = readData(
      "10 101 1 5 1\n10 102 3 2 1\n10 201 1 1 1\n10 202 3 4 1\n20 301 1 3 1\n20 302 3 3 1\n", true);
  ASSERT_TRUE(r.ok);
  for (int e = 0; e < 2; ++e) {
    for (int j = 0; j < r.t.stations.ecotope[static_cast<std::size_t>(e)].group[0].nstat(); ++j) {
      EXPECT_EQ(r.refdens(e, j, 1), 0.0f);
      EXPECT_EQ(r.refbiom(e, j, 1), 0.0f);
    }
    EXPECT_EQ(r.eco(e).assdens[1], 0.0f);
    EXPECT_EQ(r.eco(e).assbiom[1], 0.0f);
  }
}

TEST(DataFile, NegativeValuesAreKept) {
  const DataRead r = readData("10 101 1 -2 -0.5\n10 202 2 0 -1\n", true);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.refdens(0, 0, 0), -2.0f);
  EXPECT_EQ(r.refbiom(0, 0, 0), -0.5f);
  EXPECT_EQ(r.eco(0).assbiom[1], -2.0f);
}

struct MessageCase {
  const char* data;
  bool biomass;
  const char* message;  // empty: valid
};

TEST(DataFile, LookupMessages) {
  const char* station = "Station found in .DAT file with unknown station code";
  const MessageCase cases[] = {
      {"30 101 1 5\n", false, "Station found with unknown ecotope code"},
      {"10 109 1 5\n", false, station},
      {"20 101 1 5\n", false, station},  // 101 is registered in ecotope 10 only
      {"10 301 1 5\n", false, station},
      {"10 101 4 5\n", false, "Species found in .DAT file with unknown species code"},
      {"10 101 1 5\n10 101 -1 5\n", false, "Species found in .DAT file with unknown species code"},
      {"30 109 4 5\n", false, "Station found with unknown ecotope code"},
      {"10 109 4 5\n", false, station},
  };
  for (const MessageCase& c : cases) {
    const DataRead r = readData(c.data, c.biomass);
    EXPECT_FALSE(r.ok) << c.data;
    EXPECT_FALSE(r.status.inputLayer) << c.data;
    EXPECT_EQ(r.status.message, c.message) << c.data;
  }
}

TEST(DataFile, RecordsWithTooFewValues) {
  const MessageCase cases[] = {
      {"10 101 1\n", false, "record with too few values in data file, line 1"},
      {"\n10 101 1 5\n\n10 102", false, "record with too few values in data file, line 4"},
      // With biomass a four-value line would take its biomass from the next.
      {"10 101 1 5\n10 102 2 3 1\n", true, "record with too few values in data file, line 1"},
      {"10 101 1 5 1\n10 101 2 5\n", true, "record with too few values in data file, line 2"},
      {"10 101\n1 5 0.5\n10 102 2 3\n0.25\n", true, ""},
      {"10 101 1 5\n10 102 2 3 1\n", false, ""},
  };
  for (const MessageCase& c : cases) {
    const DataRead r = readData(c.data, c.biomass);
    EXPECT_EQ(r.ok, *c.message == '\0') << c.data;
    EXPECT_EQ(r.status.message, c.message) << c.data;
  }
  const DataRead spread = readData("10 101\n1 5 0.5\n10 102 2 3\n0.25\n", true);
  EXPECT_EQ(spread.refdens(0, 0, 0), 5.0f);
  EXPECT_EQ(spread.refbiom(0, 1, 1), 0.25f);
}

TEST(DataFile, InputLayerReportsAndCrLf) {
  const DataRead bad = readData("10 101 1 5\n\n10 101 1 abc\n", false);
  EXPECT_TRUE(bad.status.inputLayer);
  EXPECT_EQ(bad.status.message, "list-directed I/O syntax error, unit 13, file t.DAT, line 3");
  const DataRead big = readData("10 101 1 1E39\n", false);
  EXPECT_TRUE(big.status.inputLayer);
  EXPECT_EQ(big.status.message, "input conversion error, unit 13, file t.DAT, line 1");

  const DataRead crlf = readData("10 101 1 5 0.5\r\n10 201 2 2 4\r\n\r\n", true);
  ASSERT_TRUE(crlf.ok) << crlf.status.message;
  EXPECT_EQ(crlf.refdens(0, 0, 0), 5.0f);
  EXPECT_EQ(crlf.refbiom(0, 0, 0), 0.5f);
  EXPECT_EQ(crlf.eco(0).assbiom[1], 2.0f);
}

// A fresh directory for files, removed at the end of the test.
class SurveyFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    dir_ = fs::temp_directory_path() /
           ("ecoassess_input_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string base() const { return (dir_ / "dune").string(); }
  void write(const std::string& extension, const std::string& text) const {
    std::ofstream out(base() + extension, std::ios::binary);
    out << text;
  }

  fs::path dir_;
};

TEST_F(SurveyFiles, ADirectoryIsNotAnInputFile) {
  // Each missing file's message is checked end to end in the driver tests.
  const char* extensions[] = {".SPE", ".STA", ".DAT", ".ETP"};
  for (const char* e : extensions) write(e, "");
  fs::remove(base() + ".SPE");
  fs::create_directory(base() + ".SPE");
  InputFiles files;
  std::string message;
  EXPECT_FALSE(openInputFiles(base(), files, message));
  EXPECT_EQ(message, "error while opening species file");
}

TEST_F(SurveyFiles, ReadSurveyFillsTheTables) {
  // A small dune survey: two ecotopes, the second without assessment
  // stations, written with CR LF line ends.
  write(".SPE",
        "101 'Ammophila arenaria'\r\n102 'Festuca rubra'\r\n103 'Carex arenaria'\r\n"
        "104 'Elymus farctus'\r\n");
  write(".ETP", "1 'Yellow dune'\r\n2 'Grey dune'\r\n");
  write(".STA",
        "1 11 REF 0.25\r\n1 12 REF 0.25\r\n1 13 REF 0.5\r\n1 21 ASS 0.5\r\n"
        "2 11 REF 1\r\n2 12 ref 3\r\n");
  write(".DAT",
        "1 11 101 12.0 3.5\r\n1 11 102 4.0 0.5\r\n1 12 101 8.0 2.0\r\n1 13 103 2.0 0.25\r\n"
        "1 13 999 0 0\r\n1 21 101 6.0 1.5\r\n1 21 104 2.0 1.0\r\n2 11 102 10 1\r\n"
        "2 12 999 0 0\r\n");
  ReadOptions options;
  options.maxet = 2;
  options.maxspec = 4;
  options.maxstat = 3;
  SurveyTables t;
  InputStatus status;
  ASSERT_TRUE(readSurvey(base(), options, t, status)) << status.message;

  EXPECT_EQ(t.species.specode, (std::vector<int32_t>{101, 102, 103, 104}));
  EXPECT_EQ(t.species.spename[3], "Elymus farctus" + std::string(36, ' '));
  EXPECT_EQ(t.ecotopes.etcode, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(t.ecotopes.etname[1], "Grey dune" + std::string(41, ' '));

  const StationGroup& ref1 = t.stations.ecotope[0].group[kReference];
  const StationGroup& ass1 = t.stations.ecotope[0].group[kAssessment];
  const StationGroup& ref2 = t.stations.ecotope[1].group[kReference];
  EXPECT_EQ(ref1.stacode, (std::vector<int32_t>{11, 12, 13}));
  EXPECT_EQ(ref1.sumsurf, 1.0f);
  EXPECT_EQ(ref1.meansurf, 1.0f / 3.0f);
  EXPECT_EQ(ass1.meansurf, 0.5f);
  EXPECT_EQ(ass1.sdsurf, 0.0f);
  EXPECT_EQ(ref2.meansurf, 2.0f);
  EXPECT_EQ(ref2.sdsurf, 1.41421354f);
  EXPECT_TRUE(std::isnan(t.stations.ecotope[1].group[kAssessment].meansurf));

  const EcotopeSamples& s1 = t.samples.ecotope[0];
  EXPECT_EQ(denseReference(s1, 4, false),
            (std::vector<float>{12, 4, 0, 0, /* station 12 */ 8, 0, 0, 0, /* 13 */ 0, 0, 2, 0}));
  EXPECT_EQ(denseReference(s1, 4, true),
            (std::vector<float>{3.5f, 0.5f, 0, 0, 2, 0, 0, 0, 0, 0, 0.25f, 0}));
  EXPECT_EQ(s1.assdens, (std::vector<float>{3, 0, 0, 1}));
  EXPECT_EQ(s1.assbiom, (std::vector<float>{0.75f, 0, 0, 0.5f}));
  EXPECT_EQ(s1.stadens[kReference], (std::vector<float>{16, 8, 2}));
  EXPECT_EQ(s1.stabiom[kReference], (std::vector<float>{4, 2, 0.25f}));
  EXPECT_EQ(s1.stadens[kAssessment], (std::vector<float>{8}));
  EXPECT_EQ(s1.stabiom[kAssessment], (std::vector<float>{2.5f}));
  const EcotopeSamples& s2 = t.samples.ecotope[1];
  EXPECT_EQ(denseReference(s2, 4, false), (std::vector<float>{0, 10, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s2.stadens[kReference], (std::vector<float>{10, 0}));
  EXPECT_EQ(s2.assdens, (std::vector<float>{0, 0, 0, 0}));
}

TEST_F(SurveyFiles, ReadSurveyStopsAtTheFirstFailure) {
  write(".SPE", "101 'A'\n");
  write(".ETP", "1 'E'\n");
  write(".STA", "1 11 REF 1\n1 12 REF x\n");
  write(".DAT", "this is never read\n");
  ReadOptions options;
  options.maxet = options.maxspec = options.maxstat = 5;
  SurveyTables t;
  InputStatus status;
  EXPECT_FALSE(readSurvey(base(), options, t, status));
  EXPECT_TRUE(status.inputLayer);
  EXPECT_EQ(status.message,
            "list-directed I/O syntax error, unit 12, file " + base() + ".STA, line 2");
  // Capacities are the limits handed in.
  write(".STA", "1 11 REF 1\n");
  write(".DAT", "1 11 101 1 1\n");
  options.maxspec = 0;
  SurveyTables u;
  InputStatus st;
  EXPECT_FALSE(readSurvey(base(), options, u, st));
  EXPECT_EQ(st.message, "Number of species greater than maxspec");
}

}  // namespace
}  // namespace eco
