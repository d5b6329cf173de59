// Generated surveys written as tables, imported, and run beside the
// original files: every output file and standard output are the same
// bytes, in the long form and in the wide form of the samples table.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "survey_gen.h"

namespace {

using ecotest::ScratchDir;
namespace fs = std::filesystem;

// The items of one record of the generated files: blank-separated, names in
// apostrophes (no doubled apostrophes there).
std::vector<std::string> items(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
    } else if (line[i] == '\'') {
      const std::size_t end = line.find('\'', i + 1);
      out.push_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      const std::size_t end = std::min(line.find(' ', i), line.size());
      out.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return out;
}

std::vector<std::vector<std::string>> records(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::vector<std::string>> out;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) out.push_back(items(line));
  }
  return out;
}

std::string commaToSemicolon(std::string value) {
  for (char& c : value) {
    if (c == '.') c = ',';
  }
  return value;
}

// Writes stations.csv, species.csv, ecotopes.csv and the samples (long:
// samples.csv; wide: samples.csv and biomass.csv, semicolons and decimal
// commas) of the survey gen.* in `from` into `to`.
void writeTables(const fs::path& from, const fs::path& to, bool wide, bool biomass) {
  std::string stations = "ecotope,station,group,surface\n", species = "species,name\n",
              ecotopes = "ecotope,name\n";
  for (const auto& r : records(from / "gen.STA")) {
    stations += r[0] + "," + r[1] + "," + r[2] + "," + r[3] + "\n";
  }
  std::vector<std::string> codes;
  for (const auto& r : records(from / "gen.SPE")) {
    species += r[0] + ",\"" + r[1] + "\"\n";
    codes.push_back(r[0]);
  }
  for (const auto& r : records(from / "gen.ETP")) ecotopes += r[0] + ",\"" + r[1] + "\"\n";
  ecotest::writeFile(to / "stations.csv", stations);
  ecotest::writeFile(to / "species.csv", species);
  ecotest::writeFile(to / "ecotopes.csv", ecotopes);
  std::string samples, mass;
  if (!wide) {
    samples = std::string("ecotope,station,species,density") + (biomass ? ",biomass" : "") + "\n";
    for (const auto& r : records(from / "gen.DAT")) {
      if (r[2] == "999") continue;
      samples += r[0] + "," + r[1] + "," + r[2] + "," + r[3] + (biomass ? "," + r[4] : "") + "\n";
    }
    ecotest::writeFile(to / "samples.csv", samples);
    return;
  }
  // One row per station in the order of the data file, one column per species.
  std::vector<std::pair<std::string, std::string>> rows;  // ecotope, station
  std::map<std::pair<std::string, std::string>, std::vector<std::string>> density, bio;
  for (const auto& r : records(from / "gen.DAT")) {
    const auto key = std::pair(r[0], r[1]);
    if (rows.empty() || rows.back() != key) rows.push_back(key);
    density[key].resize(codes.size());
    bio[key].resize(codes.size());
    if (r[2] == "999") continue;
    const std::size_t s = std::find(codes.begin(), codes.end(), r[2]) - codes.begin();
    density[key][s] = commaToSemicolon(r[3]);
    if (biomass) bio[key][s] = commaToSemicolon(r[4]);
  }
  std::string head = "ecotope;station";
  for (const std::string& c : codes) head += ";" + c;
  samples = mass = head + "\n";
  for (const auto& key : rows) {
    samples += key.first + ";" + key.second;
    mass += key.first + ";" + key.second;
    for (std::size_t s = 0; s < codes.size(); ++s) {
      samples += ";" + density[key][s];
      mass += ";" + bio[key][s];
    }
    samples += "\n";
    mass += "\n";
  }
  ecotest::writeFile(to / "samples.csv", samples);
  if (biomass) ecotest::writeFile(to / "biomass.csv", mass);
}

struct RoundTrip {
  const char* label;
  eco::test::SurveyShape shape;
  bool wide;
};

eco::test::SurveyShape shape(uint64_t seed, bool biomass, int mode, int maxstat, int listLength,
                             double azoic) {
  eco::test::SurveyShape s;
  s.seed = seed;
  s.ecotopes = 2;
  s.reference = 6;
  s.assessment = 2;
  s.taxa = 25;
  s.surfaces = {0.015f, 0.1f};
  s.azoic = azoic;
  s.decimals = 3;
  s.biomass = biomass;
  s.mode = mode;
  s.maxstat = maxstat;
  s.listLength = listLength;
  return s;
}

TEST(ImportRoundTrip, GeneratedSurveysGiveTheSameBytes) {
  const RoundTrip cases[] = {
      {"long form, biomass, mode 2", shape(11, true, 2, 12, 4, 0.2), false},
      {"wide form, biomass, mode 2", shape(12, true, 2, 9, -1, 0.1), true},
      {"long form, no biomass, mode 1", shape(13, false, 1, 7, -1, 0.0), false},
      {"wide form, no biomass, mode 3", shape(14, false, 3, 0, 3, 0.3), true},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchDir original("roundtrip_orig"), imported("roundtrip_import");
    eco::test::writeSurvey(original.run().string(), "gen", c.shape);
    writeTables(original.run(), imported.run(), c.wide, c.shape.biomass);
    std::vector<std::string> args = {"import",
                                     "--stations",
                                     "stations.csv",
                                     "--samples",
                                     "samples.csv",
                                     "--species",
                                     "species.csv",
                                     "--ecotopes",
                                     "ecotopes.csv",
                                     "--name",
                                     "gen",
                                     "--mode",
                                     std::to_string(c.shape.mode),
                                     "--max-stations",
                                     std::to_string(c.shape.maxstat > 0 ? c.shape.maxstat : 1250)};
    if (c.shape.listLength >= 0) {
      args.insert(args.end(), {"--list-length", std::to_string(c.shape.listLength)});
    }
    if (c.wide && c.shape.biomass) args.insert(args.end(), {"--biomass", "biomass.csv"});
    const ecotest::ProgramResult made = imported.runProgram(args);
    ASSERT_EQ(made.status, 0) << made.err;
    ASSERT_EQ(made.err, "");

    const ecotest::ProgramResult want = original.runProgram({"case.hdr"});
    const ecotest::ProgramResult got = imported.runProgram({"gen.hdr"});
    ASSERT_EQ(want.status, 0) << want.err;
    ASSERT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, want.out);
    // The survey written reads without a single warning of its own files.
    EXPECT_EQ(got.err.find("warning: gen."), std::string::npos) << got.err;
    int compared = 0;
    for (const char* ext : {".ASS", ".SIM", ".DEN", ".BIO", ".NSP"}) {
      const fs::path a = original.run() / ("gen" + std::string(ext));
      const fs::path b = imported.run() / ("gen" + std::string(ext));
      ASSERT_EQ(fs::exists(a), fs::exists(b)) << ext;
      if (!fs::exists(a)) continue;
      EXPECT_EQ(ecotest::readFile(b), ecotest::readFile(a)) << ext;
      ++compared;
    }
    EXPECT_GE(compared, 1);
  }
}

}  // namespace
