// What the input readers tell the user on standard error: warnings about
// records that were accepted but are probably not what was meant, and the
// located detail of a failure.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "input/input_files.h"
#include "input/tables.h"
#include "records/diagnostics.h"

namespace eco {
namespace {

// Species 1, 2; ecotope 10 with reference stations 101, 102 and assessment
// station 201; ecotope 20 with reference station 301.
struct Survey {
  std::string spe = "1 Festuca\n2 'Carex arenaria'\n";
  std::string etp = "10 Dune\n20 Marsh\n";
  std::string sta = "10 101 REF 1\n10 102 REF 2\n10 201 ASS 1\n20 301 REF 1\n";
  std::string dat = "10 101 1 5 0.5\n10 102 2 4 0.4\n10 201 1 2 0.2\n20 301 2 1 0.1\n";
  bool biomass = true;
  int32_t maxspec = 10, maxet = 10, maxstat = 10;
};

struct Outcome {
  bool ok = false;
  InputStatus status;
  std::string err;  // what went to standard error
};

Outcome readAll(const Survey& s) {
  std::ostringstream err;
  resetDiagnostics(&err);
  Outcome o;
  SurveyTables t;
  t.species.maxspec = s.maxspec;
  t.ecotopes.maxet = s.maxet;
  t.stations.maxstat = s.maxstat;
  std::istringstream spe(s.spe), etp(s.etp), sta(s.sta), dat(s.dat);
  ReadOptions options;
  options.maxet = s.maxet;
  options.maxspec = s.maxspec;
  options.maxstat = s.maxstat;
  options.biomassPresent = s.biomass;
  o.ok = readSpeciesFile(spe, "t.SPE", t.species, o.status) &&
         readEcotopeFile(etp, "t.ETP", t.ecotopes, t.stations, o.status) &&
         readStationFile(sta, "t.STA", t.ecotopes, t.stations, o.status) &&
         readDataFile(dat, "t.DAT", options, t, o.status);
  finishWarnings();
  o.err = err.str();
  resetDiagnostics(nullptr);
  return o;
}

struct WarningCase {
  const char* what;
  void (*slip)(Survey&);
  const char* err;
};

// The words of each warning are checked by its slip case (tests/slips);
// these are the slips that have none.
TEST(InputMessages, WarningsForAcceptedSlips) {
  const WarningCase cases[] = {
      {"clean", [](Survey&) {}, ""},
      {"decimal comma that fills the record",
       [](Survey& s) { s.dat = "10 101 1 2,5\n10 102 2 4 0.4\n10 201 1 2 0.2\n20 301 2 1 0.1\n"; },
       "warning: t.DAT, line 1: '2,5' was read as two values (a decimal comma?): write decimals "
       "with a point; the record was read as 10 101 1 2 5\n"},
      {"values separated by commas only are no decimal comma",
       [](Survey& s) { s.dat = "10,101,1,2,5\n10 102 2 4 0.4\n10 201 1 2 0.2\n20 301 2 1 0.1\n"; },
       ""},
      {"extra column up to a slash",
       [](Survey& s) {
         s.sta = "10 101 REF 1 x y / z\n10 102 REF 2\n10 201 ASS 1\n20 301 REF 1\n";
       },
       "warning: t.STA, line 1: values not read at the end of the line: 'x y'; the record was "
       "read as 10 101 'REF' 1; remove the extra values or check the columns\n"},
      {"null values keep the previous record's values",
       [](Survey& s) {
         s.dat = "10 101 1 5 0.5\n10 102 ,, 4 0.4\n10 201 1 2 0.2\n20 301 2 1 0.1\n";
       },
       "warning: t.DAT, line 2: the record gives no value for the species code (null values): "
       "they keep the values of line 1, so that observation is counted again; write every value "
       "of the record\n"},
      {"repeated ecotope code", [](Survey& s) { s.etp = "10 Dune\n20 Marsh\n\n10 Heath\n"; },
       "warning: t.ETP, line 4: ecotope code 10 was already given on line 1 ('Dune'): the name "
       "'Heath' replaces that one; give every ecotope its own code\n"},
      {"a station with only the empty species code has records",
       [](Survey& s) {
         s.sta += "10 104 REF 1\n";
         s.dat += "10 104 999 0 0\n";
       },
       ""},
  };
  for (const WarningCase& c : cases) {
    Survey s;
    c.slip(s);
    const Outcome o = readAll(s);
    EXPECT_TRUE(o.ok) << c.what << ": " << o.status.message;
    EXPECT_EQ(o.err, c.err) << c.what;
  }
}

TEST(InputMessages, TenWarningsOfAKindThenTheirCount) {
  Survey s;
  for (int i = 0; i < 13; ++i) s.dat += "10 101 2 1 0.1 extra\n";
  const Outcome o = readAll(s);
  ASSERT_TRUE(o.ok);
  std::size_t unread = 0, pos = 0;
  while ((pos = o.err.find("values not read", pos)) != std::string::npos) ++unread, ++pos;
  EXPECT_EQ(unread, 10u);
  EXPECT_NE(o.err.find("warning: t.DAT: 3 more unread value warnings not shown\n"),
            std::string::npos)
      << o.err;
  // The twelve repeats of one station and species are another kind.
  EXPECT_NE(o.err.find("warning: t.DAT: 2 more repeated record warnings not shown\n"),
            std::string::npos)
      << o.err;
}

// Of more than ten repeated records, the first ten in the file are named,
// in file order, though the later lines belong to the ecotope read first.
TEST(InputMessages, FirstTenRepeatsInFileOrder) {
  Survey s;
  for (int i = 0; i < 6; ++i) s.dat += "20 301 2 1 0.1\n";  // lines 5 to 10
  for (int i = 0; i < 6; ++i) s.dat += "10 201 1 1 0.1\n";  // lines 11 to 16
  const Outcome o = readAll(s);
  ASSERT_TRUE(o.ok);
  std::string lines;
  for (std::size_t at = o.err.find("warning: t.DAT, line "); at != std::string::npos;
       at = o.err.find("warning: t.DAT, line ", at + 1)) {
    lines += o.err.substr(at + 21, o.err.find(':', at + 21) - at - 21) + " ";
  }
  EXPECT_EQ(lines, "5 6 7 8 9 10 11 12 13 14 ") << o.err;
  EXPECT_NE(o.err.find("warning: t.DAT: 2 more repeated record warnings not shown\n"),
            std::string::npos)
      << o.err;
}

struct FailureCase {
  const char* what;
  void (*slip)(Survey&);
  const char* message;
  const char* detail;
};

TEST(InputMessages, LocatedFailures) {
  const FailureCase cases[] = {
      {"species code twice", [](Survey& s) { s.spe += "\n1 Other\n"; },
       "Two species found with same species code",
       "error: t.SPE, line 4: species code 1 is already used on line 1 ('Festuca'): give every "
       "species its own code"},
      {"species over [MSP]", [](Survey& s) { s.maxspec = 1; },
       "Number of species greater than maxspec",
       "error: t.SPE, line 2: species 2 (code 2) is one more than [MSP] 1 allows: raise [MSP] in "
       "the header file to at least the number of species in t.SPE"},
      {"ecotopes over [MET]", [](Survey& s) { s.maxet = 0; },
       "Number of ecotoptes greater than maxet",
       "error: t.ETP, line 1: ecotope 1 (code 10) is one more than [MET] allows (it is 0 or "
       "less: none): raise [MET] in the header file to at least the number of ecotopes in t.ETP"},
      {"stations over [MST]", [](Survey& s) { s.maxstat = 1; },
       "Number of stations in one group larger than maxstat",
       "error: t.STA, line 2: station 102 is reference station 2 of ecotope 10, one more than "
       "[MST] 1 allows: raise [MST] in the header file to at least the largest number of "
       "stations in one group of one ecotope"},
      {"station code twice", [](Survey& s) { s.sta += "10 102 ASS 1\n"; },
       "Two stations found with same station code",
       "error: t.STA, line 5: station code 102 of ecotope 10 is already used on line 2 "
       "(reference station): give every station of an ecotope its own code"},
      {"station of an unknown ecotope", [](Survey& s) { s.sta += "30 401 REF 1\n"; },
       "Station found with unknown ecotope code",
       "error: t.STA, line 5: ecotope code 30 of station 401 is not in t.ETP: add the ecotope "
       "there or correct the code"},
      {"sample code", [](Survey& s) { s.sta += "10 103 Ass 1\n"; },
       "wrong ASS/REF code in station file",
       "error: t.STA, line 5: sample code 'Ass' is neither REF nor ASS: write REF (or ref) for a "
       "reference station, ASS (or ass) for an assessment station"},
      {"data record of a station in another ecotope", [](Survey& s) { s.dat += "20 101 1 1 1\n"; },
       "Station found in .DAT file with unknown station code",
       "error: t.DAT, line 5: station code 101 of ecotope 20 is not in t.STA (it is a station of "
       "ecotope 10): add the station there or correct the code"},
      {"data record of an unknown ecotope", [](Survey& s) { s.dat += "30 101 1 1 1\n"; },
       "Station found with unknown ecotope code",
       "error: t.DAT, line 5: ecotope code 30 is not in t.ETP: add the ecotope there or correct "
       "the code"},
      {"data record of an unknown species", [](Survey& s) { s.dat += "20 301 7 1 1\n"; },
       "Species found in .DAT file with unknown species code",
       "error: t.DAT, line 5: species code 7 is not in t.SPE: add the species there or correct "
       "the code"},
      {"record that takes a value from the next line",
       [](Survey& s) { s.dat = "10 101 1 5\n10 102 2 4 0.4\n"; },
       "record with too few values in data file, line 1",
       "error: t.DAT, line 1: the record ends before its biomass, so it would take it from line "
       "2 and lose the rest of that line: write all values of a record (ecotope code, station "
       "code, species code, density and biomass) on its line"},
      {"record cut off by the end of the file", [](Survey& s) { s.sta += "20 302"; },
       "record with too few values in station file, line 5",
       "error: t.STA, line 5: the file ends before the record's sample code: write all values of "
       "a record (ecotope code, station code, sample code and surface) on its line"},
      {"letter in a number", [](Survey& s) { s.dat += "10 1O1 1 1 1\n"; },
       "list-directed I/O syntax error, unit 13, file t.DAT, line 5",
       "error: t.DAT, line 5, column 4: the station code '1O1' is not a number: it holds a "
       "letter; correct the value"},
      {"after a decimal comma", [](Survey& s) { s.dat += "10 101 1 1,5e 1\n"; },
       "input conversion error, unit 13, file t.DAT, line 5",
       "error: t.DAT, line 5, column 12: the biomass '5e' is not a number: it follows a decimal "
       "comma; write decimals with a point (2.5, not 2,5)"},
      {"byte order mark inside the file",
       [](Survey& s) {
         s.etp +=
             "\xEF\xBB\xBF"
             "30 Heath\n";
       },
       "list-directed I/O syntax error, unit 14, file t.ETP, line 3",
       "error: t.ETP, line 3, column 1: the ecotope code '<byte order mark>30' is not a number: it "
       "holds a byte order mark, an invisible mark that some programs write at the start of a "
       "file (only one at the very start of a file is passed over): remove it, e.g. by saving "
       "the file again as plain text"},
      {"quoted number", [](Survey& s) { s.sta += "10 \"103\" REF 1\n"; },
       "list-directed I/O syntax error, unit 12, file t.STA, line 5",
       "error: t.STA, line 5, column 4: the station code '\"103\"' is quoted, but it must be a "
       "number: remove the quotes"},
      {"text after a closing quote before a number",
       [](Survey& s) { s.sta += "10 103 'REF'x 1\n"; },
       "list-directed I/O syntax error, unit 12, file t.STA, line 5",
       "error: t.STA, line 5, column 13: 'x' follows directly after a closing quote: an "
       "apostrophe inside a name ends it; enclose such a name in quotation marks (\"Devil's "
       "bit\") or double the apostrophe ('Devil''s bit')"},
      {"integer out of range", [](Survey& s) { s.spe += "3000000000 Big\n"; },
       "input conversion error, unit 11, file t.SPE, line 3",
       "error: t.SPE, line 3, column 1: the species code '3000000000' is out of range for a "
       "whole number (-2147483648 to 2147483647): correct the value"},
      {"surface not valid", [](Survey& s) { s.sta += "10 103 REF -1\n"; },
       "station with invalid surface in station file, line 5",
       "error: t.STA, line 5: the surface '-1' of reference station 103 is not valid: a "
       "reference station needs a surface above 0, an assessment station one of 0 or more"},
      {"incomplete number", [](Survey& s) { s.sta += "10 103 REF 1e\n"; },
       "input conversion error, unit 12, file t.STA, line 5",
       "error: t.STA, line 5, column 12: the surface '1e' is not a complete number: correct the "
       "value"},
      {"real out of range", [](Survey& s) { s.sta += "10 103 REF -4e38\n"; },
       "input conversion error, unit 12, file t.STA, line 5",
       "error: t.STA, line 5, column 12: the surface '-4e38' is out of range for a real number "
       "(at most about 3.4E38): correct the value"},
  };
  for (const FailureCase& c : cases) {
    Survey s;
    c.slip(s);
    const Outcome o = readAll(s);
    EXPECT_FALSE(o.ok) << c.what;
    EXPECT_EQ(o.status.message, c.message) << c.what;
    EXPECT_EQ(o.status.detail, c.detail) << c.what;
  }
}

TEST(InputMessages, ByteOrderMarkAtTheStartIsPassedOver) {
  const std::string bom = "\xEF\xBB\xBF";
  Survey plain;
  const Outcome a = readAll(plain);
  Survey marked;
  marked.spe = bom + marked.spe;
  marked.etp = bom + marked.etp;
  marked.sta = bom + marked.sta;
  marked.dat = bom + marked.dat;
  const Outcome b = readAll(marked);
  EXPECT_TRUE(a.ok);
  EXPECT_TRUE(b.ok) << b.status.message;
  EXPECT_EQ(b.err, "");
}

}  // namespace
}  // namespace eco
