// A failed read is never the end of a file: the header file and each of the
// four input files, made to fail part-way by a preloaded read(2) (see
// read_fail_shim.cpp), through /proc/self/mem (whose first read fails), or
// replaced by /dev/zero (a line without end), end the run with a failure,
// exit status 1 and no output file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/program_run.h"

namespace {

using namespace ecotest;

const fs::path kClean = fs::path(ECO_SLIPS_DIR) / "clean" / "input";

// The clean slip survey in the scratch directory's run(), with `file`
// (case.hdr, survey.SPE, ...) grown by `padding` blank lines or comment
// lines before its records, so that a read fails in the middle of it.
void writeSurvey(const ScratchDir& dir, const std::string& file, std::size_t padding) {
  for (const auto& entry : fs::directory_iterator(kClean)) {
    const std::string name = entry.path().filename().string();
    std::string text = readFile(entry.path());
    if (name == file) {
      const std::string pad = name == "case.hdr" ? "# padding\n" : "\n";
      std::string lines;
      for (std::size_t i = 0; i < padding; ++i) lines += pad;
      text = lines + text;
    }
    writeFile(dir.run() / name, text);
  }
}

// The line a read that fails after `bytes` bytes cannot complete.
int64_t failingLine(const fs::path& file, std::size_t bytes) {
  const std::string text = readFile(file).substr(0, bytes);
  return 1 + static_cast<int64_t>(std::count(text.begin(), text.end(), '\n'));
}

std::string withShim(const std::string& file, std::size_t after) {
  // An instrumented program wants its sanitizer runtime first among the
  // preloaded libraries; the stand-in only needs to come before libc.
  return "ASAN_OPTIONS=verify_asan_link_order=0:${ASAN_OPTIONS} LD_PRELOAD=" +
         shellQuoted(ECO_READ_FAIL_SHIM) + " ECO_FAIL_READ_NAME=" + shellQuoted(file) +
         " ECO_FAIL_READ_AFTER=" + std::to_string(after);
}

struct InputFile {
  const char* name;
  int unit;
  const char* kind;
};
constexpr InputFile kInputFiles[] = {{"survey.SPE", 11, "species"},
                                     {"survey.ETP", 14, "ecotope"},
                                     {"survey.STA", 12, "station"},
                                     {"survey.DAT", 13, "data"}};

std::set<std::string> kInputNames() {
  return {"case.hdr", "survey.SPE", "survey.ETP", "survey.STA", "survey.DAT"};
}

TEST(ReadFailure, TheShimLeavesOtherFilesAlone) {
  ScratchDir dir("readfail");
  writeSurvey(dir, "survey.DAT", 9000);
  // The failing name matches no file of the run: a normal run.
  const ProgramResult r = dir.runProgram({"case.hdr"}, withShim("nothing.DAT", 100));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, readFile(fs::path(ECO_SLIPS_DIR) / "clean" / "expected" / "console.txt"));
}

TEST(ReadFailure, InputFilePartWay) {
  constexpr std::size_t kAfter = 8191;
  for (const InputFile& f : kInputFiles) {
    ScratchDir dir("readfail");
    writeSurvey(dir, f.name, 9000);
    const int64_t line = failingLine(dir.run() / f.name, kAfter);
    const ProgramResult r = dir.runProgram({"case.hdr"}, withShim(f.name, kAfter));
    EXPECT_EQ(r.status, 1) << f.name;
    EXPECT_EQ(r.out, "read error, unit " + std::to_string(f.unit) + ", file " + f.name + ", line " +
                         std::to_string(line) + "\n");
    EXPECT_EQ(r.err, "error: " + std::string(f.name) + ", line " + std::to_string(line) +
                         ": the file could not be read (an input/output error of the disk or "
                         "the network share): copy it to a sound local disk and run again\n");
    EXPECT_EQ(namesIn(dir.run()), kInputNames()) << f.name;
  }
}

TEST(ReadFailure, InputFileThatFailsAtOnce) {
  if (!fs::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc here";
  for (const InputFile& f : kInputFiles) {
    ScratchDir dir("readfail");
    writeSurvey(dir, "", 0);
    fs::remove(dir.run() / f.name);
    // Reading /proc/self/mem from its start fails: nothing is mapped there.
    fs::create_symlink("/proc/self/mem", dir.run() / f.name);
    const ProgramResult r = dir.runProgram({"case.hdr"});
    EXPECT_EQ(r.status, 1) << f.name;
    EXPECT_EQ(r.out,
              "read error, unit " + std::to_string(f.unit) + ", file " + f.name + ", line 1\n");
    EXPECT_EQ(
        r.err.rfind("error: " + std::string(f.name) + ", line 1: the file could not be read", 0),
        0u)
        << r.err;
  }
}

TEST(ReadFailure, InputFileWithoutLineEnds) {
  if (!fs::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero here";
  for (const InputFile& f : {kInputFiles[0], kInputFiles[3]}) {
    ScratchDir dir("readfail");
    writeSurvey(dir, "", 0);
    fs::remove(dir.run() / f.name);
    fs::create_symlink("/dev/zero", dir.run() / f.name);
    const ProgramResult r = dir.runProgram({"case.hdr"});
    EXPECT_EQ(r.status, 1) << f.name;
    EXPECT_EQ(r.out,
              "line too long, unit " + std::to_string(f.unit) + ", file " + f.name + ", line 1\n");
    EXPECT_EQ(r.err, "error: " + std::string(f.name) +
                         ", line 1: the line is longer than 16 MiB, so this is not a file of "
                         "records (a device or a binary file?): check [INP] and the file\n");
  }
}

TEST(ReadFailure, HeaderFile) {
  constexpr std::size_t kAfter = 8191;
  {
    ScratchDir dir("readfail");
    writeSurvey(dir, "case.hdr", 1000);
    const int64_t line = failingLine(dir.run() / "case.hdr", kAfter);
    const ProgramResult r = dir.runProgram({"case.hdr"}, withShim("case.hdr", kAfter));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, failureText("error in reading header file"));
    EXPECT_EQ(r.err, "error: case.hdr, line " + std::to_string(line) +
                         ": the header file could not be read (an input/output error of the "
                         "disk or the network share): copy it to a sound local disk and run "
                         "again\n");
    EXPECT_EQ(namesIn(dir.run()), kInputNames());
  }
  if (fs::exists("/proc/self/mem")) {
    ScratchDir dir("readfail");
    writeSurvey(dir, "", 0);
    fs::create_symlink("/proc/self/mem", dir.run() / "mem.hdr");
    const ProgramResult r = dir.runProgram({"mem.hdr"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, failureText("error in reading header file"));
  }
  if (fs::exists("/dev/zero")) {
    ScratchDir dir("readfail");
    const ProgramResult r = dir.runProgram({"/dev/zero"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "line too long, unit 10, file /dev/zero, line 1\n");
    EXPECT_EQ(r.err,
              "error: /dev/zero, line 1: the line is longer than 16 MiB, so this is not a "
              "header file (a device or a binary file?): give the name of the header "
              "file\n");
  }
}

}  // namespace
