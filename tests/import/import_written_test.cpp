// What the import writes from small tables: codes, order, names, the
// empty-species records, shared reference stations and counts, as the
// exact text of the files written, read back by the program without a
// warning.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

using ecotest::ScratchDir;

struct WrittenCase {
  const char* label;
  std::map<std::string, std::string> tables;
  std::vector<std::string> args;
  std::map<std::string, std::string> files;  // extension -> expected text
  std::string err;
};

const std::vector<WrittenCase> kWrittenCases = {
    {"identifiers: numbers kept, others coded around them; the empty-species code avoids 999",
     {{"st.csv",
       "Habitat,Site,Group,Area,Habitat name\n"
       "mud,3,ref,1\nmud,A,Reference,1,Soft mud\nmud,B,REF,2\nsand,C,assessment,0.5\n"},
      {"sa.csv", "site,taxon,density\n3,999,1.5\nA,Abra alba,2\nB,999,0.1\n"}},
     {},
     {{"SPE", "999 '999'\n1 'Abra alba'\n"},
      {"ETP", "1 'Soft mud'\n2 'sand'\n"},
      {"STA", "1 3 REF 1\n1 1 REF 1\n1 2 REF 2\n2 4 ASS 0.5\n"},
      {"DAT", "1 3 999 1.5\n1 1 1 2\n1 2 999 0.1\n2 4 9999 0\n"}},
     ""},
    {"a reference station shared by two ecotopes; a row with an ecotope applies there only",
     {{"st.csv", "ecotope;station;group;surface\n10;1;REF;0,1\n20;1;REF;0,1\n20;2;ASS;0,25\n"},
      {"sa.csv", "station;species;density;biomass;ecotope\n1;5;10;0,5;\n2;5;4;1,25;20\n"}},
     {},
     {{"SPE", "5 '5'\n"},
      {"ETP", "10 '10'\n20 '20'\n"},
      {"STA", "10 1 REF 0.1\n20 1 REF 0.1\n20 2 ASS 0.25\n"},
      {"DAT", "10 1 5 10 0.5\n20 1 5 10 0.5\n20 2 5 4 1.25\n"}},
     ""},
    {"counts divided by the surface; the fewest digits that read back the same",
     {{"st.csv", "ecotope,station,group,surface\n1,1,REF,0.3\n1,2,ASS,0.1\n"},
      {"sa.csv", "station,species,density\n1,1,1\n2,1,3\n1,2,1e-3\n"}},
     {"--counts"},
     {{"DAT", "1 1 1 3.3333333\n1 2 1 30\n1 1 2 0.0033333334\n"}},
     ""},
    {"names: quoted, inner quotes, line breaks, cut to 50 bytes before a split character",
     {{"st.csv", "ecotope,station,group,surface\n1,1,REF,1\n"},
      {"sa.csv", "station,species,density\n1,1,1\n1,2,1\n1,3,1\n"},
      {"sp.csv",
       "species,name\n1,\"Tharyx sp. 'A'\"\n2,\"Say \"\"no\"\" to\r\nit's\"\n"
       "3,Ophiura ophiura ophiura ophiura ophiura ophiura o\xC3\xA9s\n"}},
     {"--species", "sp.csv"},
     {{"SPE",
       "1 \"Tharyx sp. 'A'\"\n2 'Say \"no\" to it''s'\n"
       "3 'Ophiura ophiura ophiura ophiura ophiura ophiura o'\n"}},
     "warning: sp.csv, line 5: the species name 'Ophiura ophiura ophiura ophiura ophiura "
     "ophiura o\xC3\xA9s' is longer than 50 bytes: it is cut to 'Ophiura ophiura ophiura "
     "ophiura ophiura ophiura o'\n"},
};

TEST(ImportWritten, FilesAsTheProgramReadsThem) {
  for (const WrittenCase& c : kWrittenCases) {
    SCOPED_TRACE(c.label);
    ScratchDir dir("import_written");
    for (const auto& [name, text] : c.tables) ecotest::writeFile(dir.run() / name, text);
    std::vector<std::string> args = {"import", "--stations", "st.csv", "--samples", "sa.csv",
                                     "--name", "w",          "--mode", "1"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ecotest::ProgramResult r = dir.runProgram(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, c.err);
    for (const auto& [ext, text] : c.files) {
      EXPECT_EQ(ecotest::readFile(dir.run() / ("w." + ext)), text) << ext;
    }
    const ecotest::ProgramResult run = dir.runProgram({"w.hdr"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.find("warning: w."), std::string::npos) << run.err;
  }
}

}  // namespace
