// Never a false success: closed standard descriptors, all-or-nothing output
// files, runaway and overflow warnings, through the real program.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

using namespace ecotest;

const char* const kDuneSpecies = "1 'Festuca rubra'\n2 'Ammophila arenaria'\n3 Carex\n";
const char* const kDuneEcotopes = "10 'Dune grassland'\n";
const char* const kDuneStations =
    "10 101 REF 1.0\n10 102 REF 1.0\n10 103 REF 2.0\n10 201 ASS 1.5\n";
const char* const kData =
    "10 101 1 5.0 0.5\n10 101 2 3.0 0.2\n10 102 1 4.0 0.4\n10 102 3 1.0 0.1\n"
    "10 103 2 6.0 0.6\n10 201 1 2.0 0.3\n10 201 3 1.0 0.1\n";

const std::vector<std::string> kOutputs = {"r.SIM", "r.DEN", "r.BIO", "r.NSP", "r.ASS"};

struct Survey {
  std::string species = kDuneSpecies, ecotopes = kDuneEcotopes, stations = kDuneStations,
              data = kData;
  std::string header = "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 2\n[EOF]\n";
};

void writeSurvey(const ScratchDir& dir, const Survey& s) {
  writeFile(dir.run() / "s.SPE", s.species);
  writeFile(dir.run() / "s.ETP", s.ecotopes);
  writeFile(dir.run() / "s.STA", s.stations);
  writeFile(dir.run() / "s.DAT", s.data);
  writeFile(dir.run() / "case.hdr", s.header);
}

std::map<std::string, std::string> outputsIn(const ScratchDir& dir) {
  std::map<std::string, std::string> files;
  for (const std::string& name : kOutputs) {
    // Only regular files: a link to a device (/dev/full) would never end.
    if (fs::is_regular_file(fs::symlink_status(dir.run() / name))) {
      files[name] = readFile(dir.run() / name);
    }
  }
  return files;
}

// Nothing but the survey, the header, the outputs and what the test made.
void expectNoTemporaryFiles(const ScratchDir& dir) {
  for (const std::string& name : namesIn(dir.run())) {
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
  }
}

TEST(Reliability, ClosedStandardOutputNeverLandsInATable) {
  ScratchDir clean("rel"), closed("rel");
  writeSurvey(clean, {});
  writeSurvey(closed, {});
  const ProgramResult a = clean.runProgram({"case.hdr"});
  ASSERT_EQ(a.status, 0);
  for (const char* how : {">&-", "<&- >&-", ">&- 2>&-"}) {
    const ProgramResult b = closed.runProgram({"case.hdr"}, "", how);
    EXPECT_EQ(b.status, 0) << how;
    EXPECT_EQ(outputsIn(closed), outputsIn(clean)) << how;
  }
}

// A run that fails in any pass leaves every earlier output file exactly as
// it was and no temporary file behind.
TEST(Reliability, AFailedRunLeavesEarlierResultsAlone) {
  struct Case {
    const char* what;
    std::string header;
    std::string blocker;  // an output name made a directory
    std::string message;  // on standard output
  };
  const std::vector<Case> cases = {
      {"summary pass, last table", "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 2\n[EOF]\n", "r.NSP",
       failureText("error while opening .NSP output file")},
      {"report pass", "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 2\n[EOF]\n", "r.ASS",
       failureText("error while opening .ASS output file")},
      {"report only", "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 3\n[EOF]\n", "r.ASS",
       failureText("error while opening .ASS output file")},
  };
  for (const Case& c : cases) {
    ScratchDir dir("rel");
    Survey s;
    s.header = c.header;
    writeSurvey(dir, s);
    for (const std::string& name : kOutputs) {
      if (name != c.blocker) writeFile(dir.run() / name, "earlier result of " + name + "\r\n");
    }
    fs::create_directory(dir.run() / c.blocker);
    const auto before = outputsIn(dir);
    const ProgramResult r = dir.runProgram({"case.hdr"});
    EXPECT_EQ(r.status, 1) << c.what;
    EXPECT_EQ(r.out.substr(r.out.size() - c.message.size()), c.message) << c.what;
    EXPECT_EQ(outputsIn(dir), before) << c.what;
    expectNoTemporaryFiles(dir);
  }
}

TEST(Reliability, AFullDiskIsAFailureAndKeepsEarlierResults) {
  // The report written in place to a full device, and the tables cut off
  // by a file-size limit (the signal that would kill the run is ignored,
  // so the write itself fails).
  struct Case {
    const char* what;
    std::string prefix;
    bool reportOnFullDevice;
    std::string failedName;
  };
  const std::vector<Case> cases = {
      {"report on /dev/full", "", true, "r.ASS"},
      {"file size limit", "trap '' XFSZ; ulimit -f 1;", false, ""},
  };
  for (const Case& c : cases) {
    ScratchDir dir("rel");
    Survey s;
    // Enough stations that a table exceeds one block of 512 bytes.
    for (int j = 0; j < 12; ++j) s.stations += "10 " + std::to_string(300 + j) + " REF 1.0\n";
    writeSurvey(dir, s);
    for (const std::string& name : kOutputs) {
      writeFile(dir.run() / name, "earlier result of " + name + "\r\n");
    }
    if (c.reportOnFullDevice) {
      fs::remove(dir.run() / "r.ASS");
      fs::create_symlink("/dev/full", dir.run() / "r.ASS");
    }
    const auto before = outputsIn(dir);
    const ProgramResult r = dir.runProgram({"case.hdr"}, c.prefix);
    EXPECT_EQ(r.status, 1) << c.what;
    EXPECT_NE(r.out.find("error while writing output file " + c.failedName), std::string::npos)
        << c.what << ": " << r.out;
    EXPECT_EQ(r.err.find("done:"), std::string::npos) << c.what;
    auto after = outputsIn(dir);
    if (c.reportOnFullDevice) {
      after.erase("r.ASS");
      auto expected = before;
      expected.erase("r.ASS");
      EXPECT_EQ(after, expected) << c.what;
    } else {
      EXPECT_EQ(after, before) << c.what;
    }
    expectNoTemporaryFiles(dir);
  }
}

TEST(Reliability, ASuccessfulRunReplacesEarlierResultsWhole) {
  ScratchDir fresh("rel"), old("rel");
  writeSurvey(fresh, {});
  writeSurvey(old, {});
  for (const std::string& name : kOutputs) {
    writeFile(old.run() / name, std::string(100000, 'x'));  // longer than the new content
  }
  ASSERT_EQ(fresh.runProgram({"case.hdr"}).status, 0);
  const ProgramResult r = old.runProgram({"case.hdr"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(outputsIn(old), outputsIn(fresh));
  EXPECT_EQ(withoutElapsed(r.err),
            "done: wrote r.SIM, r.DEN, r.BIO, r.NSP, r.ASS in .; 1 of 1 ecotopes in the tables; "
            "1 of 1 ecotopes in the report; elapsed <time> s\n");
  expectNoTemporaryFiles(old);
}

TEST(Reliability, AnInterruptedRunLeavesNoTemporaryFile) {
  ScratchDir dir("rel");
  Survey s;
  // A run of many minutes: every pseudo-sample makes all its draws.
  s.header = "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 3\n[MST] 200000000\n[EOF]\n";
  s.stations = "10 101 REF 1.0\n10 102 REF 1.0\n10 103 REF 2.0\n10 201 ASS 1e9\n";
  writeSurvey(dir, s);
  const ProgramResult r = dir.runProgram({"case.hdr"}, "timeout -s INT 2");
  EXPECT_NE(r.status, 0);
  EXPECT_FALSE(fs::exists(dir.run() / "r.ASS"));
  expectNoTemporaryFiles(dir);
}

// Warnings come before the draws, so a run stopped after a moment has
// already given them.
TEST(Reliability, RunawayAndOverflowWarnings) {
  struct Case {
    const char* what;
    std::string header, stations, data;
    std::vector<std::string> expected;  // lines that standard error must hold
  };
  const std::string h3 = "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 3\n[MST] 2147483647\n[EOF]\n";
  std::vector<Case> cases = {
      {"assessment surface a billion times the reference",
       h3,
       "10 101 REF 1.0\n10 102 REF 1.0\n10 103 REF 1.0\n10 201 ASS 1e9\n",
       kData,
       // A 32-bit sum of unit surfaces never gets past 2^24.
       {"warning: report: about 8.6e+12 station draws expected, which may take hours; mostly "
        "ecotope 10 (Dune grassland): its summed surface stops growing in 32 bits at about "
        "1.67772e+07 (reference surfaces up to 1), so every pseudo-sample makes all 2 x [MST] "
        "= 4294967294 draws"}},
      {"summed surface stops growing",
       h3,
       "10 101 REF 1e-12\n10 102 REF 1e-12\n10 103 REF 1e-12\n10 201 ASS 1.0\n",
       kData,
       {"warning: report: about 8.6e+12 station draws expected, which may take hours; mostly "
        "ecotope 10 (Dune grassland): its summed surface stops growing in 32 bits at about "
        "3.05176e-05 (reference surfaces up to 1e-12), so every pseudo-sample makes all 2 x "
        "[MST] = 4294967294 draws"}},
      {"overflowing surfaces and densities",
       "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 3\n[MST] 4\n[EOF]\n",
       "10 101 REF 1e38\n10 102 REF 1e38\n10 103 REF 1e38\n10 104 REF 1e38\n10 201 ASS 1e38\n",
       "10 101 1 3e38 1\n10 101 2 3e38 1\n10 201 1 1 1\n",
       {"warning: ecotope 10 (Dune grassland): the total reference surface overflowed to "
        "infinity; its results are not meaningful (check the units of the station and data "
        "files)",
        "warning: ecotope 10 (Dune grassland): the reference density total overflowed to "
        "infinity; its results are not meaningful (check the units of the station and data "
        "files)"}},
  };
  // The summary tables of 10,001 reference stations: 2000 pseudo-samples
  // for each of 10,001 targets of up to 10,001 stations.
  std::string many;
  for (int j = 1; j <= 10001; ++j) many += "10 " + std::to_string(j) + " REF 1.0\n";
  cases.push_back({"many reference stations",
                   "[PAI] '.'\n[INP] s\n[OUT] r\n[ARM] 1\n[MST] 20000\n[EOF]\n",
                   many,
                   "10 1 1 1 1\n",
                   {"warning: summary tables: about 1.0e+11 station draws expected, which may "
                    "take hours; mostly ecotope 10 (Dune grassland): 10001 reference stations "
                    "give targets of up to 10001 stations ([MST] 20000 allows 40000 draws per "
                    "pseudo-sample)"}});
  for (const Case& c : cases) {
    ScratchDir dir("rel");
    Survey s;
    s.header = c.header;
    s.stations = c.stations;
    s.data = c.data;
    writeSurvey(dir, s);
    const ProgramResult r = dir.runProgram({"case.hdr"}, "timeout -s INT 2");
    for (const std::string& line : c.expected) {
      EXPECT_NE(r.err.find(line + "\n"), std::string::npos) << c.what << "\n" << r.err;
    }
    expectNoTemporaryFiles(dir);
  }
}

TEST(Reliability, AnOrdinaryRunHasNoRunawayWarning) {
  ScratchDir dir("rel");
  writeSurvey(dir, {});
  const ProgramResult r = dir.runProgram({"case.hdr"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err.find("warning"), std::string::npos) << r.err;
}

}  // namespace
