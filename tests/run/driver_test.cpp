// Whole runs of the program on small surveys in a fresh directory: the
// console output, the exit status and the files a run leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "support/program_run.h"

namespace fs = std::filesystem;

namespace {

using namespace ecotest;

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// A successful run ends with one closing line on standard error and
// nothing else there.
bool onlyClosingLine(const std::string& err) {
  return err.rfind("done: wrote ", 0) == 0 && err.find('\n') == err.size() - 1;
}

// A failure ends standard error with exactly one located detail line
// ("error: <file>, line <n>: ..."), after any warnings about the input;
// the slip cases (tests/slips) check the exact texts.
bool endsWithOneDetail(const std::string& err) {
  if (err.empty() || err.back() != '\n') return false;
  std::size_t errors = 0, start = 0;
  while (start < err.size()) {
    const std::size_t end = err.find('\n', start);
    const std::string line = err.substr(start, end - start);
    start = end + 1;
    if (line.rfind("error: ", 0) == 0) {
      ++errors;
      if (start != err.size()) return false;  // the detail is the last line
    } else if (line.rfind("warning: ", 0) != 0) {
      return false;
    }
  }
  return errors == 1;
}

const char* const kSpecies =
    "1 'Festuca rubra'\n"
    "2 'Ammophila arenaria'\n"
    "3 Carex\n";
const char* const kEcotopes = "10 'Dune grassland'\n";
const char* const kStations =
    "10 101 REF 1.0\n"
    "10 102 REF 1.0\n"
    "10 103 REF 2.0\n"
    "10 201 ASS 1.5\n";
const char* const kDataBiomass =
    "10 101 1 5.0 0.5\n"
    "10 101 2 3.0 0.2\n"
    "10 102 1 4.0 0.4\n"
    "10 102 3 1.0 0.1\n"
    "10 103 2 6.0 0.6\n"
    "10 201 1 2.0 0.3\n"
    "10 201 3 1.0 0.1\n";
const char* const kDataDensity =
    "10 101 1 5.0\n"
    "10 101 2 3.0\n"
    "10 102 1 4.0\n"
    "10 102 3 1.0\n"
    "10 103 2 6.0\n"
    "10 201 1 2.0\n"
    "10 201 3 1.0\n";

// A header naming the input directory "in" (relative to where the program
// runs), base names "survey" and "result", and the given extra lines.
std::string header(std::string_view extra) {
  return "[TIT] driver case\n[PAI] 'in'\n[INP] survey\n[OUT] result\n" + std::string(extra) +
         "[EOF]\n";
}

// Extra header lines that send the outputs to a directory that does not
// exist: the run then ends once the input has been read, before any pass.
const char* const kNoOutput = "[PAO] 'nowhere'\n";

class Driver : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    root_ = fs::temp_directory_path() /
            ("ecoassess_driver_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(root_);
    fs::create_directories(in());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  // The directory the program runs in, and its input directory.
  fs::path run() const { return root_ / "run"; }
  fs::path in() const { return run() / "in"; }
  // The test's own directory, outside the one the program runs in.
  fs::path base() const { return root_; }

  void writeSurvey(const char* data = kDataBiomass) {
    writeFile(in() / "survey.SPE", kSpecies);
    writeFile(in() / "survey.ETP", kEcotopes);
    writeFile(in() / "survey.STA", kStations);
    writeFile(in() / "survey.DAT", data);
  }

  // Runs the program in run() with the given arguments; standard output
  // is captured outside run() so that the run's own files can be listed.
  ProgramResult runProgram(const std::vector<std::string>& args) const {
    ProgramCall c;
    c.folder = run();
    c.args = args;
    c.out = root_ / "stdout.txt";
    c.err = root_ / "stderr.txt";
    return ecotest::runProgram(c);
  }

  // Writes case.hdr into run() and runs the program on it.
  ProgramResult runHeader(std::string_view text) const {
    writeFile(run() / "case.hdr", text);
    return runProgram({"case.hdr"});
  }

  void expectFailure(const ProgramResult& r, std::string_view message) const {
    EXPECT_EQ(r.out, failureText(message));
    EXPECT_TRUE(endsWithOneDetail(r.err)) << r.err;
    EXPECT_EQ(r.status, 1);
  }

  // The input layer's report: one line with the line number appended.
  void expectReport(const ProgramResult& r, std::string_view report) const {
    EXPECT_EQ(r.out, std::string(report) + "\n");
    EXPECT_TRUE(endsWithOneDetail(r.err)) << r.err;
    EXPECT_EQ(r.status, 1);
  }

 private:
  fs::path root_;
};

TEST(FailureText, LayoutOfTheFreeFormatItem) {
  const std::string t = failureText("no input path has been given");
  EXPECT_EQ(t.size(), 1 + 79 + 1 + 1 + 71 + 1u);
  EXPECT_EQ(t.substr(0, 30), " no input path has been given ");
  EXPECT_EQ(t[80], '\n');
}

TEST_F(Driver, MissingArgument) {
  const ProgramResult r = runProgram({});
  EXPECT_EQ(r.out, failureText("error in opening header file"));
  EXPECT_EQ(r.err, "usage: ecoassess HEADERFILE [--threads N] [--csv] [--html] [--strict]\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(namesIn(run()), std::set<std::string>{"in"});
  EXPECT_TRUE(fs::is_empty(in()));
}

TEST_F(Driver, MissingHeaderFileLeavesNoFile) {
  expectFailure(runProgram({"absent.hdr"}), "error in opening header file");
  EXPECT_FALSE(fs::exists(run() / "absent.hdr"));
  EXPECT_EQ(namesIn(run()), std::set<std::string>{"in"});
  // Further arguments are ignored.
  expectFailure(runProgram({"absent.hdr", "case.hdr"}), "error in opening header file");
}

TEST_F(Driver, HeaderFileThatIsADirectory) {
  fs::create_directory(run() / "hdr");
  expectFailure(runProgram({"hdr"}), "error in opening header file");
}

// (A wrong mode, a wrong biomass code and a keyword in the title are
// failure cases of their own: tests/slips/fail_header_*.)
TEST_F(Driver, HeaderMessages) {
  writeSurvey();
  expectFailure(runHeader(header("[MSP] abc\n")), "error reading max no of species in header file");
}

TEST_F(Driver, HeaderInputLayerReports) {
  writeSurvey();
  expectReport(runHeader("[PAI] 'in'\n[INP] survey\n[OUT] 0*x\n[EOF]\n"),
               "list-directed I/O syntax error, unit -5, file Internal List-Directed Read, line 3");
  expectReport(runHeader("[PAI] 'in'\n[MSP]\n[EOF]\n"),
               "end-of-file during read, unit -5, file Internal List-Directed Read, line 2");
  expectReport(runHeader("[PAI] 'in'\n[INP] survey\n"),
               "end-of-file during read, unit 10, file case.hdr, line 3");
  expectReport(runHeader(""), "end-of-file during read, unit 10, file case.hdr, line 1");
  // The header file is named as the command line gives it.
  fs::create_directory(run() / "sub");
  writeFile(run() / "sub" / "h.hdr", "[PAI] 'in'\n");
  expectReport(runProgram({"sub/h.hdr"}),
               "end-of-file during read, unit 10, file sub/h.hdr, line 2");
}

TEST_F(Driver, NoInputPath) {
  writeSurvey();
  expectFailure(runHeader("[INP] survey\n[OUT] result\n[EOF]\n"), "no input path has been given");
  expectFailure(runHeader("[PAI] dummy\n[INP] survey\n[EOF]\n"), "no input path has been given");
  expectFailure(runHeader("[PAI] 'dummy   '\n[INP] survey\n[EOF]\n"),
                "no input path has been given");
}

// (A missing input directory is a failure case: tests/slips/fail_input_directory_missing.)
TEST_F(Driver, InputDirectoryMissing) {
  writeSurvey();
  // An unquoted path ends at its first slash: "in/deeper" is "in".
  fs::create_directory(in() / "deeper");
  expectFailure(runHeader("[PAI] in/deeper\n[INP] survey\n[PAO] 'nowhere'\n[EOF]\n"),
                "cannot open directory for output");
}

TEST_F(Driver, EachMissingInputFile) {
  const struct {
    const char* extension;
    const char* message;
  } cases[] = {
      {".SPE", "error while opening species file"},
      {".STA", "error while opening station file"},
      {".DAT", "error while opening data file"},
      {".ETP", "error while opening ecotope file"},
  };
  for (const auto& c : cases) {
    writeSurvey();
    fs::remove(in() / (std::string("survey") + c.extension));
    const ProgramResult r = runHeader(header(kNoOutput));
    EXPECT_EQ(r.out, failureText(c.message)) << c.extension;
    EXPECT_EQ(r.status, 1);
  }
  // All four are opened before any is read: an unreadable species file
  // does not matter when the ecotope file, opened last, is missing.
  writeSurvey();
  writeFile(in() / "survey.SPE", "x 'bad code'\n");
  fs::remove(in() / "survey.ETP");
  expectFailure(runHeader(header(kNoOutput)), "error while opening ecotope file");
  // The base name comes from [INP].
  writeSurvey();
  expectFailure(runHeader("[PAI] 'in'\n[INP] other\n[EOF]\n"), "error while opening species file");
}

// (A missing output directory is a failure case: tests/slips/fail_output_directory_missing.)
TEST_F(Driver, OutputDirectoryMissing) {
  writeSurvey();
  // A relative output path is taken from inside the input directory: "out"
  // beside the input directory is not found.
  fs::create_directory(run() / "out");
  expectFailure(runHeader(header("[PAO] 'out'\n")), "cannot open directory for output");
}

TEST_F(Driver, InputLayerReportsNameFileAndLine) {
  writeSurvey();
  writeFile(in() / "survey.DAT", "10 101 1 5.0 0.5\n\n10 1x2 1 5.0 0.5\n");
  expectReport(runHeader(header(kNoOutput)),
               "list-directed I/O syntax error, unit 13, file survey.DAT, line 3");

  writeSurvey();
  writeFile(in() / "survey.SPE", "1 'Festuca rubra'\n99999999999 'Too big'\n");
  expectReport(runHeader(header(kNoOutput)),
               "input conversion error, unit 11, file survey.SPE, line 2");

  writeSurvey();
  writeFile(in() / "survey.STA", "10 101 REF 1.0x\n");
  expectReport(runHeader(header(kNoOutput)),
               "list-directed I/O syntax error, unit 12, file survey.STA, line 1");

  writeSurvey();
  writeFile(in() / "survey.ETP", "10 'Dune grassland'\nx11 'Salt marsh'\n");
  expectReport(runHeader(header(kNoOutput)),
               "list-directed I/O syntax error, unit 14, file survey.ETP, line 2");
}

TEST_F(Driver, RecordsWithTooFewValues) {
  writeSurvey();
  writeFile(in() / "survey.STA", "10 101 REF 1.0\n10 102 REF 1.0\n\n10 103 REF\n");
  expectFailure(runHeader(header(kNoOutput)), "record with too few values in station file, line 4");

  // With biomass a four-value line takes its biomass from the next line.
  writeSurvey();
  writeFile(in() / "survey.DAT", "10 101 1 5.0 0.5\n10 101 2 3.0\n10 102 1 4.0 0.4\n");
  expectFailure(runHeader(header(kNoOutput)), "record with too few values in data file, line 2");

  writeSurvey();
  writeFile(in() / "survey.SPE", "1 'Festuca rubra'\n2\n");
  expectFailure(runHeader(header(kNoOutput)), "record with too few values in species file, line 2");

  writeSurvey();
  writeFile(in() / "survey.ETP", "10\n'Dune grassland' 11 'Salt marsh'\n");
  expectFailure(runHeader(header(kNoOutput)), "record with too few values in ecotope file, line 1");
}

TEST_F(Driver, InvalidSurfaces) {
  writeSurvey();
  writeFile(in() / "survey.STA", "10 101 REF 1.0\n10 102 REF 0\n");
  expectFailure(runHeader(header(kNoOutput)),
                "station with invalid surface in station file, line 2");
  writeFile(in() / "survey.STA", "10 101 REF 1.0\n\n10 201 ASS -0.5\n");
  expectFailure(runHeader(header(kNoOutput)),
                "station with invalid surface in station file, line 3");
  // An assessment station that sampled nothing is valid: the run reads on
  // to the output directory.
  writeFile(in() / "survey.STA", kStations + std::string("10 202 ASS 0\n"));
  expectFailure(runHeader(header(kNoOutput)), "cannot open directory for output");
}

TEST_F(Driver, LookupMessagesAndCapacities) {
  writeSurvey();
  writeFile(in() / "survey.SPE", "1 'Festuca rubra'\n1 'Other name'\n");
  expectFailure(runHeader(header(kNoOutput)), "Two species found with same species code");

  // A negative capacity counts as 0; a capacity of N allows N entries.
  writeSurvey();
  expectFailure(runHeader(header("[MSP] -3\n[PAO] 'nowhere'\n")),
                "Number of species greater than maxspec");
  expectFailure(runHeader(header("[MST] -1\n[PAO] 'nowhere'\n")),
                "Number of stations in one group larger than maxstat");
  expectFailure(runHeader(header("[MET] 0\n[PAO] 'nowhere'\n")),
                "Number of ecotoptes greater than maxet");
  expectFailure(runHeader(header("[MSP] 2\n[PAO] 'nowhere'\n")),
                "Number of species greater than maxspec");
  expectFailure(runHeader(header("[MSP] 3\n[MST] 3\n[MET] 1\n[PAO] 'nowhere'\n")),
                "cannot open directory for output");

  writeSurvey();
  writeFile(in() / "survey.DAT", "10 101 1 5.0 0.5\n10 101 4 5.0 0.5\n");
  expectFailure(runHeader(header(kNoOutput)),
                "Species found in .DAT file with unknown species code");
  writeFile(in() / "survey.DAT", "10 101 1 5.0 0.5\n10 999 999 0 0\n");
  expectFailure(runHeader(header(kNoOutput)),
                "Station found in .DAT file with unknown station code");
  writeFile(in() / "survey.STA", "11 101 REF 1.0\n");
  expectFailure(runHeader(header(kNoOutput)), "Station found with unknown ecotope code");
  writeFile(in() / "survey.STA", "10 101 Ref 1.0\n");
  expectFailure(runHeader(header(kNoOutput)), "wrong ASS/REF code in station file");
}

// The passes need the whole program; these runs check which files each
// mode creates and what the console receives.
const char* const kProgress =
    "           1           1\n"
    "           1           2\n"
    "           1           3\n";

TEST_F(Driver, ModeOneWritesTheSummaryTables) {
  writeSurvey();
  fs::create_directory(in() / "out");
  const ProgramResult r = runHeader(header("[ARM] 1\n[PAO] 'out'\n"));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(onlyClosingLine(r.err)) << r.err;
  EXPECT_EQ(r.out, kProgress);
  EXPECT_EQ(namesIn(in() / "out"),
            (std::set<std::string>{"result.SIM", "result.DEN", "result.BIO", "result.NSP"}));
}

TEST_F(Driver, ModeThreeWritesTheReportOnly) {
  writeSurvey();
  const ProgramResult r = runHeader(header("[ARM] 3\n"));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(onlyClosingLine(r.err)) << r.err;
  EXPECT_EQ(r.out, "");
  // Without [PAO] the outputs go into the input directory.
  EXPECT_EQ(namesIn(in()), (std::set<std::string>{"survey.SPE", "survey.ETP", "survey.STA",
                                                  "survey.DAT", "result.ASS"}));
  EXPECT_EQ(namesIn(run()), (std::set<std::string>{"case.hdr", "in"}));
}

TEST_F(Driver, AFullDiskIsAFailureNotASuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  writeSurvey();
  // Every write to /dev/full fails as on a full disk.
  fs::create_symlink("/dev/full", in() / "result.ASS");
  expectFailure(runHeader(header("[ARM] 3\n")), "error while writing output file result.ASS");
  fs::create_symlink("/dev/full", in() / "result.DEN");
  const ProgramResult r = runHeader(header("[ARM] 1\n"));
  EXPECT_EQ(r.out, kProgress + failureText("error while writing output file result.DEN"));
  EXPECT_EQ(r.status, 1);
}

TEST_F(Driver, ModeTwoWithoutBiomass) {
  writeSurvey(kDataDensity);
  const fs::path out = base() / "elsewhere";
  fs::create_directory(out);
  const ProgramResult r =
      runHeader(header("[ARM] 2\n[BIO] n\n[PAO] " + quoted(out.string()) + "\n"));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(onlyClosingLine(r.err)) << r.err;
  EXPECT_EQ(r.out, kProgress);
  EXPECT_EQ(namesIn(out),
            (std::set<std::string>{"result.SIM", "result.DEN", "result.NSP", "result.ASS"}));
}

TEST_F(Driver, OutputFileThatCannotBeCreated) {
  // A directory of the file's name cannot be created as a file; the run
  // fails there, and the files it had begun are removed again: a failed run
  // leaves no half-written result.
  const struct {
    const char* extension;
    const char* message;
    std::set<std::string> left;
  } cases[] = {
      {".SIM", "error while opening .SIM output file", {}},
      {".DEN", "error while opening .DEN output file", {}},
      {".BIO", "error while opening .BIO output file", {}},
      {".NSP", "error while opening .NSP output file", {}},
  };
  writeSurvey();
  for (const auto& c : cases) {
    const fs::path out = in() / "out";
    fs::remove_all(out);
    fs::create_directories(out / (std::string("result") + c.extension));
    const ProgramResult r = runHeader(header("[ARM] 2\n[PAO] 'out'\n"));
    EXPECT_EQ(r.out, failureText(c.message)) << c.extension;
    EXPECT_EQ(r.status, 1);
    std::set<std::string> expected = c.left;
    expected.insert(std::string("result") + c.extension);
    EXPECT_EQ(namesIn(out), expected) << c.extension;
  }
  // The report file comes after the summary pass and its progress lines.
  const fs::path out = in() / "out";
  fs::remove_all(out);
  fs::create_directories(out / "result.ASS");
  const ProgramResult r = runHeader(header("[ARM] 2\n[PAO] 'out'\n"));
  EXPECT_EQ(r.out, kProgress + failureText("error while opening .ASS output file"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(namesIn(out), std::set<std::string>{"result.ASS"});
  // Without biomass no .BIO is attempted.
  fs::remove_all(out);
  fs::create_directories(out / "result.BIO");
  writeSurvey(kDataDensity);
  const ProgramResult noBio = runHeader(header("[ARM] 1\n[BIO] n\n[PAO] 'out'\n"));
  EXPECT_EQ(noBio.out, kProgress);
  EXPECT_EQ(noBio.status, 0);
}

}  // namespace
