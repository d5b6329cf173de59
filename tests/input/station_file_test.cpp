// The station file: groups, lookups in order, surfaces and their statistics.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "input/input_files.h"
#include "input/tables.h"

namespace eco {
namespace {

struct StationRead {
  bool ok = false;
  EcotopeTable ecotopes;
  StationTable stations;
  InputStatus status;
  const StationGroup& group(int e, int g) const {
    return stations.ecotope.at(static_cast<std::size_t>(e)).group.at(static_cast<std::size_t>(g));
  }
};

// Ecotopes 10 and 20, then the given station file.
StationRead readStations(const std::string& text, int32_t maxstat = 1250) {
  StationRead r;
  r.ecotopes.maxet = 20;
  r.stations.maxstat = maxstat;
  std::istringstream etp("10 'Dune'\n20 'Marsh'\n");
  EXPECT_TRUE(readEcotopeFile(etp, "t.ETP", r.ecotopes, r.stations, r.status));
  std::istringstream in(text);
  r.ok = readStationFile(in, "t.STA", r.ecotopes, r.stations, r.status);
  return r;
}

TEST(StationFile, GroupsCodesAndSurfaces) {
  const StationRead r = readStations(
      "10 101 REF 1.5\n"
      "10 201 ASS 0.5\n"
      "20 101 ref 2\n"
      "10 102 REF 2.5\n"
      "10 202 ass 0.25\n");
  ASSERT_TRUE(r.ok) << r.status.message;
  EXPECT_EQ(r.group(0, kReference).stacode, (std::vector<int32_t>{101, 102}));
  EXPECT_EQ(r.group(0, kReference).surf, (std::vector<float>{1.5f, 2.5f}));
  EXPECT_EQ(r.group(0, kAssessment).stacode, (std::vector<int32_t>{201, 202}));
  EXPECT_EQ(r.group(0, kAssessment).surf, (std::vector<float>{0.5f, 0.25f}));
  EXPECT_EQ(r.group(1, kReference).stacode, (std::vector<int32_t>{101}));
  EXPECT_EQ(r.group(1, kAssessment).nstat(), 0);
  EXPECT_EQ(r.group(0, kReference).sumsurf, 4.0f);
  EXPECT_EQ(r.group(0, kReference).sumsqsurf, 8.5f);
  EXPECT_EQ(r.group(0, kAssessment).sumsurf, 0.75f);
  EXPECT_EQ(r.group(0, kAssessment).sumsqsurf, 0.3125f);
}

TEST(StationFile, SampleCodes) {
  const struct {
    const char* code;
    int group;  // -1: rejected
  } cases[] = {
      {"REF", kReference},
      {"ref", kReference},
      {"REFERENCE", kReference},
      {"'REF'", kReference},
      {"ASS", kAssessment},
      {"ass", kAssessment},
      {"ASSESS", kAssessment},
      {"assessment", kAssessment},
      {"Ref", -1},
      {"Ass", -1},
      {"rEF", -1},
      {"RE", -1},
      {"XYZ", -1},
      {"1", -1},
      {"'R EF'", -1},
  };
  for (const auto& c : cases) {
    const StationRead r = readStations(std::string("10 101 ") + c.code + " 1.0\n");
    if (c.group < 0) {
      EXPECT_FALSE(r.ok) << c.code;
      EXPECT_EQ(r.status.message, "wrong ASS/REF code in station file") << c.code;
    } else {
      ASSERT_TRUE(r.ok) << c.code << ": " << r.status.message;
      EXPECT_EQ(r.group(0, c.group).nstat(), 1) << c.code;
      EXPECT_EQ(r.group(0, 1 - c.group).nstat(), 0) << c.code;
    }
  }
}

struct StationMessageCase {
  const char* text;
  int32_t maxstat;
  const char* message;  // empty: valid
};

TEST(StationFile, LookupMessagesInTheirOrder) {
  const char* dup = "Two stations found with same station code";
  const char* full = "Number of stations in one group larger than maxstat";
  const StationMessageCase cases[] = {
      {"30 101 REF 1\n", 10, "Station found with unknown ecotope code"},
      {"10 101 REF 1\n10 101 REF 2\n", 10, dup},
      // Also across the groups, and for the first assessment station.
      {"10 101 REF 1\n10 101 ASS 2\n", 10, dup},
      {"10 101 ASS 1\n10 101 REF 2\n", 10, dup},
      // The same code in another ecotope is another station.
      {"10 101 REF 1\n20 101 REF 2\n20 102 ASS 1\n10 102 ASS 3\n", 10, ""},
      // Capacity 2: two of each group fit, a third of one group does not.
      {"10 1 REF 1\n10 2 REF 1\n10 3 ASS 1\n10 4 ASS 1\n20 5 REF 1\n20 6 REF 1\n", 2, ""},
      {"10 1 REF 1\n10 2 REF 1\n10 3 ASS 1\n10 4 ASS 1\n10 5 REF 1\n", 2, full},
      {"10 1 ASS 1\n10 2 ASS 1\n10 3 ASS 1\n", 2, full},
      {"10 1 REF 1\n", 0, full},
      // Order of checks: sample code, ecotope code, duplicate, capacity, surface.
      {"30 101 Ref 1\n", 10, "wrong ASS/REF code in station file"},
      {"10 101 xxx -1\n", 10, "wrong ASS/REF code in station file"},
      {"30 101 REF 1\n", 0, "Station found with unknown ecotope code"},
      {"10 101 REF 1\n10 101 REF 1\n", 1, dup},
      {"10 101 REF 1\n10 101 REF -1\n", 10, dup},
      {"10 101 REF 1\n10 102 REF -1\n", 1, full},
  };
  for (const StationMessageCase& c : cases) {
    const StationRead r = readStations(c.text, c.maxstat);
    EXPECT_EQ(r.ok, *c.message == '\0') << c.text;
    EXPECT_EQ(r.status.message, c.message) << c.text;
    EXPECT_FALSE(r.status.inputLayer) << c.text;
  }
}

TEST(StationFile, SameCodeInTwoEcotopes) {
  const StationRead r = readStations("10 101 REF 1\n20 101 ASS 2\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.group(0, kReference).stacode, (std::vector<int32_t>{101}));
  EXPECT_EQ(r.group(1, kAssessment).stacode, (std::vector<int32_t>{101}));
  EXPECT_EQ(r.group(1, kAssessment).surf, (std::vector<float>{2.0f}));
}

TEST(StationFile, InvalidSurfaces) {
  const StationMessageCase cases[] = {
      {"10 101 REF 0\n", 10, "station with invalid surface in station file, line 1"},
      {"10 101 REF -0.0\n", 10, "station with invalid surface in station file, line 1"},
      {"10 101 REF 1\n\n10 102 REF -2\n", 10,
       "station with invalid surface in station file, line 3"},
      {"10 201 ASS -0.5\n", 10, "station with invalid surface in station file, line 1"},
      {"10 101 REF 1\n10 102\nREF -2\n", 10,
       "station with invalid surface in station file, line 2"},
      {"10 201 ASS 0\n", 10, ""},
      {"10 201 ASS -0.0\n", 10, ""},
      {"10 101 REF 1E-30\n", 10, ""},
  };
  for (const StationMessageCase& c : cases) {
    const StationRead r = readStations(c.text, c.maxstat);
    EXPECT_EQ(r.ok, *c.message == '\0') << c.text;
    EXPECT_EQ(r.status.message, c.message) << c.text;
  }
}

TEST(StationFile, RecordsWithTooFewValues) {
  const StationMessageCase cases[] = {
      {"10 101 REF\n", 10, "record with too few values in station file, line 1"},
      {"10 101 REF 1\n\n\n10 102", 10, "record with too few values in station file, line 4"},
      {"10 101 REF\n1 10 102 REF 1\n", 10, "record with too few values in station file, line 1"},
      {"10 101\nREF 1\n10 102 REF 1 extra\n", 10, ""},
      {"10\n\n101\nREF\n1\n", 10, ""},
  };
  for (const StationMessageCase& c : cases) {
    const StationRead r = readStations(c.text, c.maxstat);
    EXPECT_EQ(r.ok, *c.message == '\0') << c.text;
    EXPECT_EQ(r.status.message, c.message) << c.text;
  }
  const StationRead spread = readStations("10\n\n101\nREF\n1\n");
  EXPECT_EQ(spread.group(0, kReference).stacode, (std::vector<int32_t>{101}));
}

TEST(StationFile, InputLayerReportsAndCrLf) {
  const StationRead bad = readStations("10 101 REF 1\n10 102 REF abc\n");
  EXPECT_FALSE(bad.ok);
  EXPECT_TRUE(bad.status.inputLayer);
  EXPECT_EQ(bad.status.message, "list-directed I/O syntax error, unit 12, file t.STA, line 2");
  const StationRead big = readStations("10 101 REF 1E39\n");
  EXPECT_TRUE(big.status.inputLayer);
  EXPECT_EQ(big.status.message, "input conversion error, unit 12, file t.STA, line 1");

  const StationRead crlf = readStations("10 101 REF 0.5\r\n10 201 ass 1.5\r\n\r\n");
  ASSERT_TRUE(crlf.ok) << crlf.status.message;
  EXPECT_EQ(crlf.group(0, kReference).surf, (std::vector<float>{0.5f}));
  EXPECT_EQ(crlf.group(0, kAssessment).surf, (std::vector<float>{1.5f}));
}

TEST(SurfaceStatistics, MeanAndDeviation) {
  const StationRead r = readStations(
      "10 1 REF 2\n10 2 REF 2\n10 3 REF 2\n"
      "10 4 ASS 1\n10 5 ASS 3\n"
      "20 6 REF 1\n20 7 REF 1\n20 8 REF 10\n");
  ASSERT_TRUE(r.ok) << r.status.message;
  EXPECT_EQ(r.group(0, kReference).meansurf, 2.0f);
  EXPECT_EQ(r.group(0, kReference).sdsurf, 0.0f);
  EXPECT_EQ(r.group(0, kAssessment).meansurf, 2.0f);
  EXPECT_EQ(r.group(0, kAssessment).sdsurf, 1.41421354f);  // sqrt(2) as a float
  EXPECT_EQ(r.group(1, kReference).meansurf, 4.0f);
  EXPECT_EQ(r.group(1, kReference).sdsurf, std::sqrt(27.0f));  // (102 - 48) / 2 = 27
  EXPECT_NEAR(r.group(1, kReference).sdsurf, 5.196f, 1e-3f);
  // An empty group: 0/0 for the mean, no deviation.
  EXPECT_TRUE(std::isnan(r.group(1, kAssessment).meansurf));
  EXPECT_EQ(r.group(1, kAssessment).sdsurf, 0.0f);
  EXPECT_EQ(r.group(1, kAssessment).sumsurf, 0.0f);
}

TEST(SurfaceStatistics, OneStationHasNoDeviation) {
  for (const char* surface : {"1", "0.0213171", "0.1", "3.3", "1E-20", "123456.7"}) {
    const StationRead r =
        readStations(std::string("10 1 REF ") + surface + "\n20 2 ASS " + surface + "\n");
    ASSERT_TRUE(r.ok) << surface;
    const float s = std::stof(surface);
    EXPECT_EQ(r.group(0, kReference).meansurf, s) << surface;
    EXPECT_EQ(r.group(0, kReference).sdsurf, 0.0f) << surface;
    EXPECT_EQ(r.group(1, kAssessment).sdsurf, 0.0f) << surface;
  }
  // An assessment group of surfaces 0 has mean 0 and deviation 0.
  const StationRead zero = readStations("10 1 ASS 0\n10 2 ASS 0\n");
  EXPECT_EQ(zero.group(0, kAssessment).meansurf, 0.0f);
  EXPECT_EQ(zero.group(0, kAssessment).sdsurf, 0.0f);
}

TEST(SurfaceStatistics, EveryRegisteredEcotope) {
  // An ecotope without stations gets NaN means in both groups.
  const StationRead r = readStations("20 1 REF 4\n");
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(std::isnan(r.group(0, kReference).meansurf));
  EXPECT_TRUE(std::isnan(r.group(0, kAssessment).meansurf));
  EXPECT_EQ(r.group(0, kReference).sdsurf, 0.0f);
  EXPECT_EQ(r.group(1, kReference).meansurf, 4.0f);
}

}  // namespace
}  // namespace eco
