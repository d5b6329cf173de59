// The command line: help, version, options before and after the header file, usage
// errors; and the console of a run on a terminal and off it.
#include "run/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

using namespace ecotest;
using eco::CommandLine;

TEST(CommandLine, Parsing) {
  using A = CommandLine::Action;
  struct Case {
    std::vector<std::string> args;
    A action;
    std::string header;
    int threads;
    bool csv, html;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{}, A::run, "", 0, false, false, ""},
      {{"--help"}, A::help, "", 0, false, false, ""},
      {{"-h"}, A::help, "", 0, false, false, ""},
      {{"--version"}, A::version, "", 0, false, false, ""},
      {{"run.hdr"}, A::run, "run.hdr", 0, false, false, ""},
      {{"run.hdr", "--threads", "4"}, A::run, "run.hdr", 4, false, false, ""},
      {{"run.hdr", "--threads=3", "--csv"}, A::run, "run.hdr", 3, true, false, ""},
      {{"run.hdr", "--html", "--csv", "--threads", "2"}, A::run, "run.hdr", 2, true, true, ""},
      {{"run.hdr", "extra", "words"}, A::run, "run.hdr", 0, false, false, ""},
      // Options before the header file too; the first argument that is no
      // option is the header file, whatever it looks like.
      {{"--threads", "4"}, A::run, "", 4, false, false, ""},
      {{"--csv", "--threads=2", "run.hdr", "--html"}, A::run, "run.hdr", 2, true, true, ""},
      {{"-x.hdr"}, A::run, "-x.hdr", 0, false, false, ""},
      {{"--html", "-x.hdr", "more"}, A::run, "-x.hdr", 0, false, true, ""},
      {{"--threads", "run.hdr"},
       A::usageError,
       "",
       0,
       false,
       false,
       "option --threads needs a whole number of at least 1, not 'run.hdr'"},
      {{"run.hdr", "--bogus"},
       A::usageError,
       "run.hdr",
       0,
       false,
       false,
       "unknown option '--bogus'"},
      {{"run.hdr", "-h"}, A::usageError, "run.hdr", 0, false, false, "unknown option '-h'"},
      {{"run.hdr", "-other.hdr"},
       A::usageError,
       "run.hdr",
       0,
       false,
       false,
       "unknown option '-other.hdr'"},
      {{"run.hdr", "--threads"},
       A::usageError,
       "run.hdr",
       0,
       false,
       false,
       "option --threads needs a number of threads"},
      {{"run.hdr", "--threads="},
       A::usageError,
       "run.hdr",
       0,
       false,
       false,
       "option --threads needs a number of threads"},
      {{"run.hdr", "--threads", "0"},
       A::usageError,
       "run.hdr",
       0,
       false,
       false,
       "option --threads needs a whole number of at least 1, not '0'"},
      {{"run.hdr", "--threads=2x"},
       A::usageError,
       "run.hdr",
       0,
       false,
       false,
       "option --threads needs a whole number of at least 1, not '2x'"},
  };
  for (const Case& c : cases) {
    const CommandLine cl = eco::parseCommandLine(c.args);
    std::string label;
    for (const auto& a : c.args) label += a + " ";
    EXPECT_EQ(cl.action, c.action) << label;
    EXPECT_EQ(cl.headerFile, c.header) << label;
    EXPECT_EQ(cl.threads, c.threads) << label;
    EXPECT_EQ(cl.csv, c.csv) << label;
    EXPECT_EQ(cl.html, c.html) << label;
    EXPECT_EQ(cl.error, c.error) << label;
  }
}

TEST(CommandLine, ThroughTheProgram) {
  const std::string usage =
      "usage: ecoassess HEADERFILE [--threads N] [--csv] [--html] [--strict]\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const std::vector<Case> cases = {
      {{"--version"}, 0, eco::versionText(), ""},
      {{}, 1, failureText("error in opening header file"), usage},
      {{"case.hdr", "--nope"}, 2, "", "ecoassess: unknown option '--nope'\n" + usage},
      {{"case.hdr", "--threads"},
       2,
       "",
       "ecoassess: option --threads needs a number of threads\n" + usage},
      // Options are checked before anything is read: the header file
      // does not even exist here.
      {{"absent.hdr", "--threads=zero"},
       2,
       "",
       "ecoassess: option --threads needs a whole number of at least 1, not 'zero'\n" + usage},
      {{"--threads", "4"}, 1, failureText("error in opening header file"), usage},
  };
  for (const Case& c : cases) {
    ScratchDir dir("cl");
    const ProgramResult r = dir.runProgram(c.args);
    std::string label;
    for (const auto& a : c.args) label += a + " ";
    EXPECT_EQ(r.status, c.status) << label;
    EXPECT_EQ(r.out, c.out) << label;
    EXPECT_EQ(r.err, c.err) << label;
  }
  for (const char* help : {"--help", "-h"}) {
    ScratchDir dir("cl");
    const ProgramResult r = dir.runProgram({help});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(usage, 0), 0u) << r.out;
    for (const char* keyword : {"[PAI]", "[PAO]", "[INP]", "[OUT]", "[BIO]", "[MST]", "[ARM]",
                                "[LLN]", "[EOF]", "--threads", "--csv", "--html"}) {
      EXPECT_NE(r.out.find(keyword), std::string::npos) << keyword;
    }
    EXPECT_EQ(r.err, "");
  }
}

const char* const kHeader = "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 2\n[EOF]\n";

void writeSmallSurvey(const ScratchDir& dir) {
  writeFile(dir.run() / "s.SPE", "1 'Festuca rubra'\n2 Carex\n");
  writeFile(dir.run() / "s.ETP", "10 'Dune grassland'\n20 Heath\n");
  writeFile(dir.run() / "s.STA",
            "10 101 REF 1.0\n10 102 REF 1.0\n10 103 REF 2.0\n10 201 ASS 1.5\n20 301 REF 1\n");
  writeFile(dir.run() / "s.DAT",
            "10 101 1 5.0 0.5\n10 102 2 4.0 0.4\n10 103 1 6.0 0.6\n"
            "10 201 1 2.0 0.3\n20 301 2 1 1\n");
  writeFile(dir.run() / "case.hdr", kHeader);
}

// Off a terminal: no control characters on standard error, and the
// closing line names the files, the ecotopes of each pass and the time.
TEST(Console, RedirectedStandardErrorHoldsPlainLines) {
  ScratchDir dir("cl");
  writeSmallSurvey(dir);
  const ProgramResult r = dir.runProgram({"case.hdr", "--threads", "2", "ignored"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.err.find('\r'), std::string::npos);
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
  const std::size_t last = r.err.rfind('\n', r.err.size() - 2);
  EXPECT_EQ(withoutElapsed(r.err.substr(last == std::string::npos ? 0 : last + 1)),
            "done: wrote r.SIM, r.DEN, r.BIO, r.NSP, r.ASS in .; 2 of 2 ecotopes in the tables; "
            "1 of 2 ecotopes in the report; 1 warning; elapsed <time> s\n");
}

// On a terminal (a pseudo-terminal made by script(1)): the status line
// rewrites itself with carriage returns, is erased at the end, and the
// progress lines of standard output arrive whole, on lines of their own.
TEST(Console, StatusLineOnATerminal) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "script(1) is not installed (package bsdutils)";
  }
  ScratchDir dir("cl");
  writeSmallSurvey(dir);
  const std::string inner = shellQuoted(programPath()) + " case.hdr";
  shellIn(dir.run(), "script -qfec " + shellQuoted(inner) + " " +
                         shellQuoted((dir.root / "typescript").string()) + " >/dev/null 2>&1");
  const std::string screen = readFile(dir.root / "typescript");
  EXPECT_NE(screen.find("\r\x1b[K"), std::string::npos) << screen;
  EXPECT_NE(screen.find("summary tables: ecotope 1 of 2"), std::string::npos) << screen;
  EXPECT_NE(screen.find("report: ecotope 1 of 1"), std::string::npos) << screen;
  // Every progress line of standard output arrives whole on a line of its
  // own (the terminal shows a line end as carriage return and line feed).
  for (const char* line : {"           1           1\r\n", "           1           3\r\n",
                           "           2           1\r\n"}) {
    EXPECT_NE(screen.find(line), std::string::npos) << screen;
  }
  // The status line is erased before the closing line.
  const std::size_t done = screen.find("done: wrote");
  ASSERT_NE(done, std::string::npos) << screen;
  EXPECT_EQ(screen.substr(done - 4, 4), "\r\x1b[K") << screen;
}

}  // namespace
