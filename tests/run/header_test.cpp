#include "run/header.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>

#include "records/diagnostics.h"
#include "run/run_settings.h"

namespace eco {
namespace {

// One header file read from a string, as the driver reads it.
struct HeaderRead {
  bool ok = false;
  RunSettings settings;
  HeaderFlags flags;
};

HeaderRead readHeader(const std::string& text) {
  HeaderRead r;
  std::istringstream in(text);
  r.ok = readHeaderFile(in, "case.hdr", r.settings, r.flags);
  return r;
}

// A field of the settings as text: texts without trailing blanks, logicals
// as T or F, integers in decimal.
std::string show(const RunSettings& s, std::string_view field) {
  if (field == "title") return trimmed(s.title);
  if (field == "inputPath") return trimmed(s.inputPath);
  if (field == "outputPath") return trimmed(s.outputPath);
  if (field == "inputName") return trimmed(s.inputName);
  if (field == "outputName") return trimmed(s.outputName);
  if (field == "biomassPresent") return s.biomassPresent ? "T" : "F";
  if (field == "presenceAssessment") return s.presenceAssessment ? "T" : "F";
  if (field == "maxet") return std::to_string(s.maxet);
  if (field == "maxspec") return std::to_string(s.maxspec);
  if (field == "maxstat") return std::to_string(s.maxstat);
  if (field == "emptySpeciesCode") return std::to_string(s.emptySpeciesCode);
  if (field == "mode") return std::to_string(s.mode);
  if (field == "listLength") return std::to_string(s.listLength);
  ADD_FAILURE() << "no field " << field;
  return {};
}

std::string blanks(std::size_t n) { return std::string(n, ' '); }

TEST(HeaderFile, InitialSettings) {
  const RunSettings s;
  EXPECT_EQ(s.title, blanks(80));
  EXPECT_EQ(s.inputPath, "dummy" + blanks(75));
  EXPECT_EQ(s.outputPath, "dummy" + blanks(75));
  EXPECT_EQ(s.inputName, blanks(150));
  EXPECT_EQ(s.outputName, blanks(150));
  EXPECT_TRUE(s.biomassPresent);
  EXPECT_FALSE(s.presenceAssessment);
  EXPECT_EQ(s.maxet, 20);
  EXPECT_EQ(s.maxspec, 500);
  EXPECT_EQ(s.maxstat, 1250);
  EXPECT_EQ(s.emptySpeciesCode, 999);
  EXPECT_EQ(s.mode, 1);
  EXPECT_EQ(s.listLength, 10);

  // A header of "[EOF]" alone changes nothing.
  const HeaderRead r = readHeader("[EOF]\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.settings.inputPath, s.inputPath);
  EXPECT_EQ(r.settings.maxstat, 1250);
  EXPECT_TRUE(r.flags.end);
  EXPECT_FALSE(r.flags.error);
}

struct ValueCase {
  std::string lines;  // header lines before "[EOF]"
  std::string_view field;
  std::string expected;
};

TEST(HeaderFile, KeywordValues) {
  const ValueCase cases[] = {
      {"[TIT] Dune survey 2024, plots 1/4", "title", "Dune survey 2024, plots 1/4"},
      {"[TIT]      padded title    ", "title", "padded title"},
      {"[TIT]", "title", ""},
      {"[TIT] " + std::string(100, 'a'), "title", std::string(74, 'a')},  // cut after column 80
      {"[PAI] survey", "inputPath", "survey"},
      {"[PAI] 'my survey'", "inputPath", "my survey"},
      {"[PAI] my survey", "inputPath", "my"},
      {"[PAI] \"/data/dune survey\"", "inputPath", "/data/dune survey"},
      {"[PAI] data/dune", "inputPath", "data"},  // an unquoted text ends at a slash
      {"[PAI] /data", "inputPath", "dummy"},     // a slash first ends the read: unchanged
      {"[PAI] a,b", "inputPath", "a"},
      {"[PAO] out", "outputPath", "out"},
      {"[PAO] 'out dir'", "outputPath", "out dir"},
      {"[INP] dune", "inputName", "dune"},
      {"[INP] 'dune mgmt'", "inputName", "dune mgmt"},
      {"[INP]" + std::string(90, 'x'), "inputName", std::string(75, 'x')},
      {"[OUT] result", "outputName", "result"},
      {"[OUT] 'two words'", "outputName", "two words"},
      {"[BIO] n", "biomassPresent", "F"},
      {"[BIO] no", "biomassPresent", "F"},
      {"[BIO] N", "biomassPresent", "F"},
      {"[BIO] f", "biomassPresent", "F"},
      {"[BIO] false", "biomassPresent", "F"},
      {"[BIO] n\n[BIO] yes", "biomassPresent", "T"},
      {"[BIO] n\n[BIO] Y", "biomassPresent", "T"},
      {"[BIO] n\n[BIO] True", "biomassPresent", "T"},
      {"[BIO] n\n[BIO] t", "biomassPresent", "T"},
      {"[BIO] 'n'", "biomassPresent", "F"},
      {"[ASS] y", "presenceAssessment", "T"},
      {"[ASS] True", "presenceAssessment", "T"},
      {"[ASS] yes\n[ASS] no", "presenceAssessment", "F"},
      {"[MET] 7", "maxet", "7"},
      {"[MET] 0", "maxet", "0"},
      {"[MET] -2", "maxet", "-2"},
      {"[MSP] 300", "maxspec", "300"},
      {"[MSP]300", "maxspec", "300"},
      {"[MSP] +12", "maxspec", "12"},
      {"[MSP] 3.9", "maxspec", "3"},  // a real is truncated
      {"[MSP] 1E2", "maxspec", "100"},
      {"[MSP] 300,400", "maxspec", "300"},
      {"[MSP] 300 400", "maxspec", "300"},
      {"[MSP] ,", "maxspec", "500"},  // a null value keeps the value
      {"[MST] 40", "maxstat", "40"},
      {"[EMS] 0", "emptySpeciesCode", "0"},
      {"[EMS] -1", "emptySpeciesCode", "-1"},
      {"[ARM] 1", "mode", "1"},
      {"[ARM] 2", "mode", "2"},
      {"[ARM] 3", "mode", "3"},
      {"[ARM] 23", "mode", "2"},  // only the first character counts
      {"[ARM] 3x", "mode", "3"},
      {"[ARM]2", "mode", "2"},
      {"[LLN] 15", "listLength", "15"},
      {"[LLN] -1", "listLength", "-1"},
      // Several keywords on one line, repeats, comments.
      {"[MSP] 300 [MST] 40", "maxspec", "300"},
      {"[MSP] 300 [MST] 40", "maxstat", "40"},
      {"[MSP] 1\n[MSP] 2", "maxspec", "2"},
      {"[MSP] 1 [MSP] 2", "maxspec", "2"},
      {"# [MSP] 300", "maxspec", "500"},
      {"#[MSP] 300", "maxspec", "500"},
      {"[MSP] 300 # note", "maxspec", "300"},
      {"[MSP] 300 # [MST] 40", "maxstat", "1250"},
      {"[MSP] 300 #[MST] 40", "maxspec", "300"},
      {"   [MSP] 300", "maxspec", "300"},
      {"text before [MSP] 300", "maxspec", "300"},
      // A "[" inside a value is a keyword of its own.
      {"[TIT] see [MSP] 7", "maxspec", "7"},
      {"[TIT] see [MSP] 7", "title", "see [MSP] 7"},
      // Only columns 1 to 75 are scanned; the line ends at column 80.
      {blanks(74) + "[MSP]5", "maxspec", "5"},
      {blanks(75) + "[MSP]5", "maxspec", "500"},
      {blanks(71) + "[MSP] 1234", "maxspec", "123"},
      {blanks(80) + "[MSP] 5", "maxspec", "500"},
  };
  for (const ValueCase& c : cases) {
    const HeaderRead r = readHeader(c.lines + "\n[EOF]\n");
    EXPECT_TRUE(r.ok) << c.lines << ": " << r.flags.message << r.flags.inputReport;
    EXPECT_EQ(show(r.settings, c.field), c.expected) << c.lines;
  }
}

TEST(HeaderFile, TextFieldsKeepTheirLengths) {
  const HeaderRead r = readHeader("[TIT] t\n[PAI] 'p q'\n[PAO] o\n[INP] " + std::string(60, 'i') +
                                  "\n[OUT] u\n[EOF]\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.settings.title, "t" + blanks(79));
  EXPECT_EQ(r.settings.inputPath, "p q" + blanks(77));
  EXPECT_EQ(r.settings.outputPath, "o" + blanks(79));
  EXPECT_EQ(r.settings.inputName, std::string(60, 'i') + blanks(90));
  EXPECT_EQ(r.settings.outputName, "u" + blanks(149));
}

struct MessageCase {
  std::string lines;
  std::string message;
};

TEST(HeaderFile, ProgramMessages) {
  const std::string species = "error reading max no of species in header file";
  const std::string unknown = "unknown keyword found in header file";
  const std::string wrongMode =
      "wrong code for assessment/reference mode - value should be 1,2 or 3";
  const std::string badMode = "error rading assessment/reference mode in header file";
  const MessageCase cases[] = {
      {"[MSP] abc", species},
      {"[MSP] 12a", species},
      {"[MSP] 1.5.2", species},
      {"[MSP] 99999999999", species},
      {"[MSP] 0*5", species},
      {"[MSP] 'quoted'", species},
      // A "#" ends the scan for keywords, not the value text.
      {"[MSP]     # nothing", species},
      {"[MSP] 300#x", species},
      {"[MET] x", "error reading max no of ecotopes in header file"},
      {"[MST] x", "error reading max no of stations in header file"},
      {"[EMS] x", "error reading empty species code in header file"},
      {"[LLN] x", "error reading length of output lists"},
      {"[PAI] 0*x", "error reading input path in header file"},
      {"[PAO] 0*x", "error reading output path in header file"},
      {"[INP] 0*x", "error reading input file name in header file"},
      {"[BIO] 0*y", "error reading biomass code in header file"},
      {"[BIO] 0", "wrong code for presence biomass data"},
      {"[BIO] x", "wrong code for presence biomass data"},
      {"[BIO] Oui", "wrong code for presence biomass data"},
      {"[ASS] 0*y", "error reading assessment code in header file"},
      {"[ASS] 0", "wrong code for presence assessment data"},
      {"[ASS] j", "wrong code for presence assessment data"},
      {"[ARM] 0", wrongMode},
      {"[ARM] 4", wrongMode},
      {"[ARM] 9", wrongMode},
      {"[ARM]", wrongMode},  // a blank counts as 0
      {"[ARM] x", badMode},
      {"[msp] 300", unknown},
      {"[Msp] 300", unknown},
      {"[MSPX 300", unknown},
      {"[ABCD 300", unknown},
      {"[ABC] 1", unknown},
      {"[ MSP] 300", unknown},
      {"[MS,P] 300", unknown},
      {"[EOF", unknown},
      {"[eof]", unknown},
      {"[TIT] plot [abcd] north", unknown},
      {"[TIT] plot [1234", unknown},
      {"[MSP] 300 [xyz]", unknown},
      // The first failure of a line ends the reading.
      {"[MSP] x [MST] y", species},
  };
  for (const MessageCase& c : cases) {
    const HeaderRead r = readHeader(c.lines + "\n[EOF]\n");
    EXPECT_FALSE(r.ok) << c.lines;
    EXPECT_TRUE(r.flags.error) << c.lines;
    EXPECT_EQ(r.flags.message, c.message) << c.lines;
    EXPECT_EQ(r.flags.inputReport, "") << c.lines;
    EXPECT_FALSE(r.flags.end) << c.lines;
  }
}

TEST(HeaderFile, InputLayerReports) {
  const std::string eofValue = "end-of-file during read, unit -5, file Internal List-Directed Read";
  const MessageCase cases[] = {
      // A blank value runs into the end of its one-record text field.
      {"[MSP]", eofValue + ", line 1"},
      {"[MST] 40\n\n[MSP]   ", eofValue + ", line 3"},
      {"[MSP] 1 [MST]", eofValue + ", line 1"},
      {"[MET]", eofValue + ", line 1"},
      {"[EMS]", eofValue + ", line 1"},
      {"[LLN]", eofValue + ", line 1"},
      {"[PAI]", eofValue + ", line 1"},
      {"[PAO]", eofValue + ", line 1"},
      {"[INP]", eofValue + ", line 1"},
      {"[OUT]", eofValue + ", line 1"},
      {"[BIO]", eofValue + ", line 1"},
      {"[ASS]", eofValue + ", line 1"},
      {blanks(74) + "[MSP] 5", eofValue + ", line 1"},  // the value lies beyond column 80
      {"[PAI] 'no closing quote", eofValue + ", line 1"},
      // [OUT] has no message of its own.
      {"[TIT] x\n[OUT] 0*x",
       "list-directed I/O syntax error, unit -5, file Internal List-Directed Read, line 2"},
      {"[OUT] 99999999999*x",
       "input conversion error, unit -5, file Internal List-Directed Read, line 1"},
  };
  for (const MessageCase& c : cases) {
    const HeaderRead r = readHeader(c.lines + "\n[EOF]\n");
    EXPECT_FALSE(r.ok) << c.lines;
    EXPECT_FALSE(r.flags.error) << c.lines;
    EXPECT_EQ(r.flags.inputReport, c.message) << c.lines;
  }
}

TEST(HeaderFile, EndOfFileBeforeEofKeyword) {
  const MessageCase cases[] = {
      {"", "end-of-file during read, unit 10, file case.hdr, line 1"},
      {"[MSP] 3\n", "end-of-file during read, unit 10, file case.hdr, line 2"},
      {"[MSP] 3", "end-of-file during read, unit 10, file case.hdr, line 2"},
      {"[MSP] 3\n\n# [EOF]\n", "end-of-file during read, unit 10, file case.hdr, line 4"},
      {"[MSP] 3 # [EOF]\n", "end-of-file during read, unit 10, file case.hdr, line 2"},
      {blanks(75) + "[EOF]\n", "end-of-file during read, unit 10, file case.hdr, line 2"},
  };
  for (const MessageCase& c : cases) {
    const HeaderRead r = readHeader(c.lines);
    EXPECT_FALSE(r.ok) << c.lines;
    EXPECT_FALSE(r.flags.error) << c.lines;
    EXPECT_EQ(r.flags.inputReport, c.message) << c.lines;
  }
}

TEST(HeaderFile, EofKeywordEndsTheReading) {
  {
    std::istringstream in("[MSP] 7\n[EOF]\n[MSP] 8\n[xyz\n");
    RunSettings s;
    HeaderFlags f;
    ASSERT_TRUE(readHeaderFile(in, "case.hdr", s, f));
    EXPECT_EQ(s.maxspec, 7);
    // The lines after [EOF] are still unread.
    std::string rest;
    ASSERT_TRUE(std::getline(in, rest));
    EXPECT_EQ(rest, "[MSP] 8");
  }
  // Keywords after [EOF] on its own line are not decoded either.
  const HeaderRead sameLine = readHeader("[EOF] [MSP] 7 [xyz]\n");
  ASSERT_TRUE(sameLine.ok);
  EXPECT_EQ(sameLine.settings.maxspec, 500);
  const HeaderRead before = readHeader("[MSP] 7 [EOF] [MST] 9\n");
  ASSERT_TRUE(before.ok);
  EXPECT_EQ(before.settings.maxspec, 7);
  EXPECT_EQ(before.settings.maxstat, 1250);
  // [EOF] may end the file without a line end, and may start in column 75.
  EXPECT_TRUE(readHeader("[MSP] 7\n[EOF]").ok);
  EXPECT_TRUE(readHeader(blanks(74) + "[EOF]").ok);
}

TEST(HeaderFile, CrLfLines) {
  const HeaderRead r = readHeader(
      "[TIT] north\r\n[PAI] in\r\n[MSP] 7\r\n[BIO] n\r\n[ARM] 3\r\n[OUT] res\r\n[EOF]\r\n");
  ASSERT_TRUE(r.ok) << r.flags.message << r.flags.inputReport;
  EXPECT_EQ(r.settings.title, "north" + blanks(75));
  EXPECT_EQ(r.settings.inputPath, "in" + blanks(78));
  EXPECT_EQ(r.settings.outputName, "res" + blanks(147));
  EXPECT_EQ(r.settings.maxspec, 7);
  EXPECT_FALSE(r.settings.biomassPresent);
  EXPECT_EQ(r.settings.mode, 3);
  // A blank value stays blank when the line ends with CR LF.
  EXPECT_EQ(readHeader("[MSP]\r\n[EOF]\r\n").flags.inputReport,
            "end-of-file during read, unit -5, file Internal List-Directed Read, line 1");
}

// A stream whose reading fails outright (as on a device error).
struct FailingBuffer : std::streambuf {
  int_type underflow() override { throw std::runtime_error("device error"); }
};

TEST(HeaderFile, UnreadableLine) {
  FailingBuffer buffer;
  std::istream in(&buffer);
  RunSettings s;
  HeaderFlags f;
  EXPECT_FALSE(readHeaderFile(in, "case.hdr", s, f));
  EXPECT_TRUE(f.error);
  EXPECT_EQ(f.message, "error in reading header file");
}

TEST(ReadHeaderLine, DecodesTheKeywordAtColumnK) {
  RunSettings s;
  HeaderFlags f;
  readHeaderLine("abcd[MST] 40 [MSP] 9", 5, s, f);
  EXPECT_EQ(s.maxstat, 40);
  EXPECT_EQ(s.maxspec, 500);  // only the keyword at column k
  EXPECT_FALSE(f.error);
  EXPECT_FALSE(f.end);
  readHeaderLine("abcd[MST] 40 [MSP] 9", 14, s, f);
  EXPECT_EQ(s.maxspec, 9);
  readHeaderLine("[EOF]", 1, s, f);
  EXPECT_TRUE(f.end);
  EXPECT_FALSE(f.error);
}

TEST(ReadHeaderLine, LeavesTheFlagsAloneOnSuccess) {
  RunSettings s;
  HeaderFlags f;
  f.error = true;
  f.message = "earlier";
  readHeaderLine("[MSP] 300", 1, s, f);
  EXPECT_EQ(s.maxspec, 300);
  EXPECT_TRUE(f.error);
  EXPECT_EQ(f.message, "earlier");
  EXPECT_FALSE(f.end);
}

TEST(ReadHeaderLine, KeywordThatCannotBeRead) {
  // Five blanks hold no item: the keyword read runs into the end of its field.
  RunSettings s;
  HeaderFlags f;
  readHeaderLine("[MSP]" + blanks(10) + "300", 6, s, f);
  EXPECT_TRUE(f.error);
  EXPECT_EQ(f.message, "error reading keyword in header file");
  HeaderFlags g;
  readHeaderLine("0*abc", 1, s, g);
  EXPECT_TRUE(g.error);
  EXPECT_EQ(g.message, "error reading keyword in header file");
}

TEST(ReadHeaderLine, TitleIsTheWholeValueText) {
  RunSettings s;
  HeaderFlags f;
  readHeaderLine("[TIT]   a, b / 'c'", 1, s, f);
  EXPECT_EQ(s.title, "a, b / 'c'" + blanks(70));
  EXPECT_FALSE(f.error);
}

// What a header read tells the user on standard error.
struct ToldCase {
  std::string text;      // the whole header file
  std::string expected;  // standard error
};

std::string toldBy(const std::string& text, HeaderRead& r) {
  std::ostringstream err;
  resetDiagnostics(&err);
  std::istringstream in(text);
  r.ok = readHeaderFile(in, "case.hdr", r.settings, r.flags);
  finishWarnings();
  resetDiagnostics(nullptr);
  return err.str();
}

TEST(HeaderFile, WarningsAboutTextThatIsNotRead) {
  const std::string w = "warning: case.hdr, line 1: ";
  const ToldCase cases[] = {
      // Comments, the next keyword and a slash or comma ending a value are
      // expected after a value.
      {"[PAI] .   # inputs beside the header\n[OUT] r [EOF]\n", ""},
      {"[MSP] 300 [MST] 40 [OUT] r\n[EOF]\n", ""},
      {"[PAI] data/ [OUT] r\n[EOF]\n", ""},
      {"[MSP] 300, [OUT] r\n[EOF]\n", ""},
      {"[BIO] yes [ARM] 2 # both [OUT] r\n[OUT] r [EOF]\n", ""},
      {"[TIT] a title, with / anything [OUT] r\n[EOF]\n", ""},
      {"[PAO] /data/out\n[OUT] r [EOF]\n",
       w + "[PAO] took no value (a slash ends it); the rest of the line, '/data/out', was not "
           "read: enclose a value with blanks, slashes or commas in apostrophes, e.g. [PAO] "
           "'/data/out'\n"},
      {"[PAI] in/deeper # note\n[OUT] r [EOF]\n",
       w + "[PAI] took the value 'in'; the rest of the line, '/deeper', was not read: enclose a "
           "value with blanks, slashes or commas in apostrophes, e.g. [PAI] 'in/deeper'\n"},
      {"[INP] my survey [OUT] r\n[EOF]\n",
       w + "[INP] took the value 'my'; the rest of the line, 'survey', was not read: enclose a "
           "value with blanks, slashes or commas in apostrophes, e.g. [INP] 'my survey'\n"},
      {"[MSP] 300 species\n[OUT] r [EOF]\n",
       w + "[MSP] took the value 300; the rest of the line, 'species', was not read: write only "
           "the value after the keyword (a comment starts with #)\n"},
      {"[BIO] n o\n[OUT] r [EOF]\n",
       w + "[BIO] took the value 'n'; the rest of the line, 'o', was not read: write only the "
           "value after the keyword (a comment starts with #)\n"},
      {"[ARM] 23\n[OUT] r [EOF]\n",
       w + "[ARM] took the value 2; the rest of the line, '3', was not read: only the first "
           "character counts; write 1 (summary tables), 2 (both) or 3 (report only)\n"},
      {"[OUT] r" + blanks(73) + "more\n[EOF]\n",
       w + "the text beyond column 80, 'more', was not read: a header line holds 80 columns; "
           "shorten the line\n"},
      {"# a comment may run on" + blanks(70) + "beyond column 80\n[OUT] r [EOF]\n", ""},
      {"[OUT] r" + blanks(70) + "[MSP]\n[EOF]\n",
       w + "keyword [MSP] at column 78 was not read: keywords must start in columns 1 to 75; "
           "put it on a line of its own\n"},
      {"[OUT] r" + blanks(70) + "[MSP] 9\n[EOF]\n",
       w +
           "keyword [MSP] at column 78 was not read: keywords must start in columns 1 to 75; "
           "put it on a line of its own\n" +
           w +
           "the text beyond column 80, ' 9', was not read: a header line holds 80 columns; "
           "shorten the line\n"},
      // Nothing after [EOF] is read, nor warned about.
      {"[OUT] r [EOF] [MSP] 3 x\n[MSP] y\n", ""},
      {"[PAI] .\n[EOF]\n",
       "warning: case.hdr: [OUT] gives no base name, so the output files are named .SIM, .DEN, "
       ".BIO, .NSP, hidden files on most systems: give a base name, e.g. [OUT] results\n"},
      {"[OUT] '' [ARM] 3 [BIO] n\n[EOF]\n",
       w + "[OUT] gives no base name, so the output files are named .ASS, hidden files on most "
           "systems: give a base name, e.g. [OUT] results\n"},
      // A byte order mark before the first keyword is passed over.
      {"\xEF\xBB\xBF[OUT] r\n[EOF]\n", ""},
  };
  for (const ToldCase& c : cases) {
    HeaderRead r;
    EXPECT_EQ(toldBy(c.text, r), c.expected) << c.text;
    EXPECT_TRUE(r.ok) << c.text;
  }
}

TEST(HeaderFile, LocatedDetailOfFailures) {
  const ToldCase cases[] = {
      {"[OUT] r\n[MSP] abc\n[EOF]\n",
       "error: case.hdr, line 2: [MSP] 'abc' cannot be read: write a whole number"},
      {"[MSP]\n[EOF]\n",
       "error: case.hdr, line 1: [MSP] has no value: write it on the keyword's line, e.g. [MSP] "
       "500"},
      {"[BIO] x\n",
       "error: case.hdr, line 1: [BIO] 'x' is not a valid code: write y (yes) or n (no)"},
      {"[ARM] 7\n",
       "error: case.hdr, line 1: [ARM] '7' is not a mode: write 1 (summary tables), 2 (both) or "
       "3 (report only)"},
      {"[ARM]\n",
       "error: case.hdr, line 1: [ARM] has no value: write 1 (summary tables), 2 (both) or 3 "
       "(report only)"},
      {"[PAI] . [XYZ] 3\n",
       "error: case.hdr, line 1, column 9: unknown keyword '[XYZ]': the keywords are [TIT] [PAI] "
       "[PAO] [INP] [OUT] [BIO] [ASS] [MET] [MSP] [MST] [EMS] [ARM] [LLN] [EOF], in capitals; a "
       "'[' in columns 1 to 75 always starts a keyword, so no value may hold one (a # before it "
       "makes the rest of the line a comment)"},
      {"[OUT] 0*x\n",
       "error: case.hdr, line 1: [OUT] '0*x' cannot be read: enclose the value in "
       "apostrophes if it holds blanks, slashes, commas or an asterisk"},
      {"",
       "error: case.hdr: the header file is empty: write the keywords of the run into it, "
       "ending with a line [EOF]"},
      {"[PAI] .\n[OUT] r\n",
       "error: case.hdr: the header file ends after line 2 without [EOF]: end it with a line "
       "[EOF]"},
  };
  for (const ToldCase& c : cases) {
    HeaderRead r;
    EXPECT_EQ(toldBy(c.text, r), "") << c.text;  // the driver tells the detail
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.flags.detail, c.expected) << c.text;
  }
}

TEST(HeaderFile, LinesOfTheKeywords) {
  HeaderRead r;
  toldBy("# header\n[PAI] .\n\n[OUT] r [PAI] x\n[EOF]\n", r);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.flags.lines.at("[PAI]"), 4);
  EXPECT_EQ(r.flags.lines.at("[OUT]"), 4);
  EXPECT_EQ(r.flags.lines.at("[EOF]"), 5);
  EXPECT_EQ(r.flags.lines.count("[MSP]"), 0u);
}

}  // namespace
}  // namespace eco
