// Every located failure of the import, run through the real program: the
// exact lines on standard error, status 1, and not a file written.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

using ecotest::ScratchDir;

const char* kStations =
    "ecotope,station,group,surface\n"
    "E1,S1,REF,0.1\nE1,S2,REF,0.1\nE1,S3,REF,0.1\nE1,S4,ASS,0.1\n";
const char* kSamples =
    "station,species,density,biomass\n"
    "S1,Abra,10,1\nS2,Abra,20,2\nS3,Macoma,5,3\nS4,Abra,1,0.5\n";
const char* kWide = "station;Abra;Macoma\nS1;10;\nS2;20;\nS3;;5\nS4;1;\n";

struct FailureCase {
  const char* label;
  std::map<std::string, std::string> files;  // replacing or adding to the two tables
  std::vector<std::string> args;             // after --stations and --samples
  std::string err;                           // the problem lines
};

const std::string kNothing = "error: nothing was written: correct the tables and import again\n";

const std::vector<FailureCase> kFailureCases = {
    {"not a number",
     {{"samples.csv", "station,species,density\nS1,Abra,ten\n"}},
     {},
     "error: samples.csv, line 2, column 'density': the density 'ten' is not a number: write a "
     "number with a decimal point (2.5), without units or other text\n"},
    {"decimal comma in a comma table",
     {{"stations.csv", "ecotope,station,group,surface\nE1,S1,REF,\"0,1\"\n"}},
     {},
     "error: stations.csv, line 2, column 'surface': the surface '0,1' is not a number: write a "
     "number with a decimal point (2.5), without units or other text\n"},
    {"negative density",
     {{"samples.csv", "station;species;density\nS1;Abra;-2,5\n"}},
     {},
     "error: samples.csv, line 2, column 'density': the density '-2,5' is negative: densities, "
     "biomasses and surfaces are 0 or more; correct it\n"},
    {"negative biomass",
     {{"samples.csv", "station,species,density,biomass\nS1,Abra,1,-1\n"}},
     {},
     "error: samples.csv, line 2, column 'biomass': the biomass '-1' is negative: densities, "
     "biomasses and surfaces are 0 or more; correct it\n"},
    {"negative surface",
     {{"stations.csv", "ecotope,station,group,surface\nE1,S1,ASS,-0.1\n"}},
     {},
     "error: stations.csv, line 2, column 'surface': the surface '-0.1' is negative: densities, "
     "biomasses and surfaces are 0 or more; correct it\n"},
    {"reference surface 0",
     {{"stations.csv", "ecotope,station,group,surface\nE1,S1,REF,0\n"}},
     {},
     "error: stations.csv, line 2, column 'surface': the surface of reference station 'S1' is 0: "
     "a reference station needs a surface above 0; correct it\n"},
    {"unknown group word",
     {{"stations.csv", "ecotope,station,group,surface\nE1,S1,Control,0.1\n"}},
     {},
     "error: stations.csv, line 2, column 'group': 'Control' is not a group: write REF (or "
     "reference) for a reference station, ASS (or assessment) for an assessment station\n"},
    {"sample station missing",
     {{"samples.csv", "station,species,density\nS1,Abra,1\nS9,Abra,1\n"}},
     {},
     "error: samples.csv, line 3, column 'station': station 'S9' is not in stations.csv: add it "
     "there or correct the identifier\n"},
    {"sample species missing from the species table",
     {{"species.csv", "species,name\nAbra,Abra alba\n"}},
     {"--species", "species.csv"},
     "error: samples.csv, line 4, column 'species': species 'Macoma' is not in species.csv: add "
     "it there or correct the identifier\n"},
    {"sample ecotope missing",
     {{"samples.csv", "habitat,site,taxon,density\nE2,S1,Abra,1\n"}},
     {},
     "error: samples.csv, line 2, column 'habitat': ecotope 'E2' is not in stations.csv: add it "
     "there or correct the identifier\n"},
    {"station not listed in the sample's ecotope",
     {{"stations.csv", std::string(kStations) + "E2,S5,REF,0.1\n"},
      {"samples.csv", "ecotope,station,species,density\nE2,S1,Abra,1\n"}},
     {},
     "error: samples.csv, line 2, column 'ecotope': station 'S1' is not listed in ecotope 'E2' "
     "in stations.csv: add the station to that ecotope there, or correct the ecotope\n"},
    {"station ecotope missing from the ecotopes table",
     {{"ecotopes.csv", "ecotope,name\nE2,Mud\n"}},
     {"--ecotopes", "ecotopes.csv"},
     "error: stations.csv, line 2, column 'ecotope': ecotope 'E1' is not in ecotopes.csv: add it "
     "there or correct the identifier\n"
     "error: stations.csv, line 3, column 'ecotope': ecotope 'E1' is not in ecotopes.csv: add it "
     "there or correct the identifier\n"
     "error: stations.csv, line 4, column 'ecotope': ecotope 'E1' is not in ecotopes.csv: add it "
     "there or correct the identifier\n"
     "error: stations.csv, line 5, column 'ecotope': ecotope 'E1' is not in ecotopes.csv: add it "
     "there or correct the identifier\n"},
    {"repeated station-species pair",
     {{"samples.csv", "station,species,density\nS1,Abra,1\nS2,Abra,1\nS1,Abra,2\n"}},
     {},
     "error: samples.csv, line 4, column 'species': station 'S1' and species 'Abra' were already "
     "given on line 2: give every station and species once (add up the parts of one sample)\n"},
    {"repeated row of the stations table",
     {{"stations.csv", std::string(kStations) + "E1,S2,ASS,0.1\n"}},
     {},
     "error: stations.csv, line 6, column 'station': station 'S2' of ecotope 'E1' is already on "
     "line 3: give every station of an ecotope one row\n"},
    {"repeated row of the species table",
     {{"species.csv", "species,name\nAbra,Abra alba\nMacoma,Macoma\nAbra,Abra nitida\n"}},
     {"--species", "species.csv"},
     "error: species.csv, line 4, column 'species': species 'Abra' is already on line 2: give "
     "every species one row\n"},
    {"repeated row of the ecotopes table",
     {{"ecotopes.csv", "ecotope,name\nE1,Mud\nE1,Sand\n"}},
     {"--ecotopes", "ecotopes.csv"},
     "error: ecotopes.csv, line 3, column 'ecotope': ecotope 'E1' is already on line 2: give "
     "every ecotope one row\n"},
    {"missing column",
     {{"stations.csv", "ecotope,station,group\nE1,S1,REF\n"}},
     {},
     "error: stations.csv, line 1, column 'surface': the column is missing: the stations table "
     "needs the columns ecotope, station, group and surface (also accepted for it: area); name "
     "the columns in the first line\n"},
    {"biomass table with other columns",
     {{"samples.csv", kWide}, {"biomass.csv", "station;Macoma;Abra\nS1;;1\n"}},
     {"--biomass", "biomass.csv"},
     "error: biomass.csv, line 1, column 'Macoma': column 2 is 'Macoma' here but 'Abra' in "
     "samples.csv: the biomass table needs the density table's columns in the same order\n"},
    {"biomass table with other rows",
     {{"samples.csv", kWide}, {"biomass.csv", "station;Abra;Macoma\nS1;1;\nS3;2;\nS2;;1\nS4;1;\n"}},
     {"--biomass", "biomass.csv"},
     "error: biomass.csv, line 3, column 'station': this row is station 'S3' but the row of "
     "samples.csv (line 3) is 'S2': give the biomass table the density table's rows in the same "
     "order\n"
     "error: biomass.csv, line 4, column 'station': this row is station 'S2' but the row of "
     "samples.csv (line 4) is 'S3': give the biomass table the density table's rows in the same "
     "order\n"},
    {"biomass cell without density",
     {{"samples.csv", kWide},
      {"biomass.csv", "station;Abra;Macoma\nS1;1;2\nS2;2;\nS3;;1\nS4;1;\n"}},
     {"--biomass", "biomass.csv"},
     "error: biomass.csv, line 2, column 'Macoma': a biomass is given where the density table has "
     "none: give both or neither\n"},
    {"--max-stations below the data",
     {},
     {"--max-stations", "2"},
     "error: stations.csv, line 4, column 'station': station 'S3' is reference station 3 of "
     "ecotope 'E1', one more than --max-stations 2 allows: raise --max-stations to at least the "
     "largest number of stations in one group of one ecotope, or leave it out\n"},
    {"two identifiers of the same number",
     {{"samples.csv", "station,species,density\nS1,7,1\nS2,007,1\n"}},
     {},
     "error: samples.csv, line 3, column 'species': species '007' and '7' (samples.csv, line 2) "
     "are the same number, so they would get the same code: give them identifiers that differ as "
     "numbers\n"},
    {"missing density in the long form",
     {{"samples.csv", "station,species,density\nS1,Abra,NA\n"}},
     {},
     "error: samples.csv, line 2, column 'density': the density is missing (NA): give a number, "
     "or leave the row out when the species was not found\n"},
    {"unterminated quote",
     {{"samples.csv", "station,species,density\nS1,\"Abra,1\nS2,Abra,1\n"}},
     {},
     "error: samples.csv, line 2, column 'species': the quote opened here is never closed, so "
     "the rest of the file would be one value: close the quote, or remove it\n"},
    {"counts at a station of surface 0",
     {{"stations.csv", "ecotope,station,group,surface\nE1,S1,ASS,0\n"},
      {"samples.csv", "station,species,density\nS1,Abra,3\n"}},
     {"--counts"},
     "error: samples.csv, line 2, column 'species': station 'S1' has a surface of 0, so its "
     "counts cannot be made densities: give the station its surface, or leave out --counts\n"},
    {"a table that is not there",
     {},
     {"--species", "nosuch.csv"},
     "error: nosuch.csv: the file cannot be read: it does not exist\n"},
    {"a folder for a table",
     {},
     {"--ecotopes", "."},
     "error: .: the file cannot be read: it is a directory\n"},
};

void writeTables(const ScratchDir& dir, const std::map<std::string, std::string>& files) {
  ecotest::writeFile(dir.run() / "stations.csv", kStations);
  ecotest::writeFile(dir.run() / "samples.csv", kSamples);
  for (const auto& [name, text] : files) ecotest::writeFile(dir.run() / name, text);
}

TEST(ImportFailures, EachIsLocatedAndWritesNothing) {
  for (const FailureCase& c : kFailureCases) {
    SCOPED_TRACE(c.label);
    ScratchDir dir("import_fail");
    writeTables(dir, c.files);
    const std::set<std::string> before = ecotest::namesIn(dir.run());
    std::vector<std::string> args = {"import", "--stations", "stations.csv", "--samples",
                                     "samples.csv"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ecotest::ProgramResult r = dir.runProgram(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.err + kNothing);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ecotest::namesIn(dir.run()), before);
  }
}

TEST(ImportFailures, ExistingFilesAreReplacedOnlyWithForce) {
  ScratchDir dir("import_force");
  writeTables(dir, {});
  ecotest::writeFile(dir.run() / "stations.STA", "kept");
  ecotest::writeFile(dir.run() / "stations.hdr", "kept");
  const std::vector<std::string> args = {"import", "--stations", "stations.csv", "--samples",
                                         "samples.csv"};
  const ecotest::ProgramResult refused = dir.runProgram(args);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "error: ./stations.hdr, ./stations.STA exist already: nothing was written; give "
            "--force to replace them, or choose another --name or --dir\n");
  EXPECT_EQ(ecotest::readFile(dir.run() / "stations.STA"), "kept");
  EXPECT_FALSE(std::filesystem::exists(dir.run() / "stations.SPE"));

  std::vector<std::string> forced = args;
  forced.push_back("--force");
  const ecotest::ProgramResult done = dir.runProgram(forced);
  EXPECT_EQ(done.status, 0);
  EXPECT_EQ(done.err, "");
  EXPECT_EQ(done.out,
            "wrote ./stations.hdr, stations.SPE, stations.ETP, stations.STA, stations.DAT: 1 "
            "ecotopes, 3 reference and 1 assessment stations, 2 species, 4 records with "
            "biomass\nrun it with: ecoassess stations.hdr\n");
  EXPECT_EQ(ecotest::readFile(dir.run() / "stations.STA"),
            "1 1 REF 0.1\n1 2 REF 0.1\n1 3 REF 0.1\n1 4 ASS 0.1\n");
}

TEST(ImportFailures, UsageErrors) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"import", "--stations", "s.csv"}, "ecoassess: import needs --samples SAMPLES.csv\n"},
      {{"import", "--samples", "s.csv"}, "ecoassess: import needs --stations STATIONS.csv\n"},
      {{"import", "--stations", "a", "--samples", "b", "--mode", "4"},
       "ecoassess: option --mode needs 1, 2 or 3, not '4'\n"},
      {{"import", "--stations", "a", "--samples", "b", "--max-stations=0"},
       "ecoassess: option --max-stations needs a whole number of at least 1, not '0'\n"},
      {{"import", "--stations", "a", "--samples", "b", "--threads", "2"},
       "ecoassess: unknown option '--threads' of import\n"},
      {{"import", "stations.csv"},
       "ecoassess: import takes its tables as options, not 'stations.csv' (e.g. --stations "
       "stations.csv)\n"},
  };
  ScratchDir dir("import_usage");
  for (const auto& [args, err] : cases) {
    SCOPED_TRACE(args.back());
    const ecotest::ProgramResult r = dir.runProgram(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), err);
  }
}

}  // namespace
