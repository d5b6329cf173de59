// Whole runs: the program against the literal evaluation (the program with
// its statistics answered literally, tests/support/literal_entry.cpp), on
// the golden inputs and on generated surveys of every mode, with 1, 2 and 7
// threads and each kernel path the machine has. Standard output and every
// output file must be the same, byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "long_tests.h"
#include "resample/kernel_path.h"
#include "support/program_run.h"
#include "survey_gen.h"

namespace fs = std::filesystem;

namespace eco {
namespace {

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs `program` in a copy of `input`; returns the folder.
fs::path runIn(const fs::path& input, const fs::path& work, const std::string& program,
               const std::string& env, const std::string& args) {
  fs::remove_all(work);
  fs::create_directories(work);
  fs::copy(input, work, fs::copy_options::recursive);
  ecotest::ProgramCall c;
  c.folder = work;
  c.program = program;
  c.args = ecotest::wordsOf("case.hdr " + args);
  if (const std::size_t eq = env.find('='); eq != std::string::npos) {
    c.env = {{env.substr(0, eq), env.substr(eq + 1)}};
  }
  c.out = work / "stdout.txt";
  c.err = work / "stderr.txt";
  ecotest::runProgram(c);
  return work;
}

// Every file of the folder but the inputs and standard error (which holds
// the run's elapsed time).
std::set<std::string> outputsOf(const fs::path& dir, const fs::path& input) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name == "stderr.txt" || fs::exists(input / name)) continue;
    names.insert(name);
  }
  return names;
}

void compareRuns(const fs::path& input, const std::string& what) {
  const fs::path base =
      fs::temp_directory_path() / ("eco_whole_" + std::to_string(::getpid()) + "_" + what);
  const fs::path want = runIn(input, base / "literal", ECO_LITERAL_PROGRAM, "", "");
  const std::set<std::string> names = outputsOf(want, input);
  ASSERT_TRUE(names.count("stdout.txt"));
  // Every path with 1, 2 and 7 threads in the long run; in the default run
  // each path with one of them in turn (the statistics tests cover every
  // pairing in-process).
  int turn = 0;
  for (KernelPath path : test::kAllPaths) {
    if (!kernelPathAvailable(path)) {
      std::printf("skipped: this machine has no %s\n", kernelPathName(path));
      continue;
    }
    for (int threads : {1, 2, 7}) {
      if (!test::longTests() && turn++ % 4 != 0) continue;
      SCOPED_TRACE(what + ", " + kernelPathName(path) + ", " + std::to_string(threads) +
                   " threads");
      const fs::path got = runIn(input, base / "program", ECO_PROGRAM,
                                 std::string("ECO_KERNEL=") + kernelPathName(path),
                                 "--threads " + std::to_string(threads));
      EXPECT_EQ(outputsOf(got, input), names);
      for (const std::string& name : names) {
        EXPECT_TRUE(slurp(got / name) == slurp(want / name)) << name << " differs";
      }
    }
  }
  fs::remove_all(base);
}

TEST(WholeRun, GoldenInputs) {
  const char* data = std::getenv("ECO_TEST_DATA");
  ASSERT_NE(data, nullptr);
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(data) / "golden")) {
    const fs::path input = entry.path() / "input";
    if (!fs::is_directory(input)) continue;
    compareRuns(input, entry.path().filename().string());
    ++cases;
  }
  EXPECT_GE(cases, 6);
}

fs::path generated(const test::SurveyShape& shape, const std::string& name) {
  const fs::path dir =
      fs::temp_directory_path() / ("eco_gen_" + std::to_string(::getpid()) + "_" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  test::writeSurvey(dir.string(), "survey", shape);
  return dir;
}

test::SurveyShape small(uint64_t seed, int mode, bool biomass) {
  test::SurveyShape s;
  s.seed = seed;
  s.ecotopes = 3;
  s.reference = 8;
  s.assessment = 2;
  s.taxa = 30;
  s.taxaPerGrab = 8;
  s.mode = mode;
  s.biomass = biomass;
  s.maxstat = 20;
  s.maxspec = 40;
  s.listLength = 4;
  return s;
}

TEST(WholeRun, GeneratedSurveysOfEveryMode) {
  test::SurveyShape one = small(301, 1, true);
  one.surfaces = {0.1f, 0.015f};
  one.azoic = 0.2;
  test::SurveyShape two = small(302, 2, false);
  two.surfaces = {0.001f, 1.0f};
  two.decimals = 1;
  test::SurveyShape three = small(303, 3, true);
  three.surfaces = {0.1f, 0.3f};
  three.repeatRecords = true;
  int n = 0;
  for (const test::SurveyShape& s : {one, two, three}) {
    const std::string name = "mode" + std::to_string(s.mode);
    const fs::path dir = generated(s, name);
    compareRuns(dir, name);
    fs::remove_all(dir);
    ++n;
  }
  EXPECT_EQ(n, 3);
}

// Benchmark-sized surveys in the long run only.
TEST(WholeRun, LargerGeneratedSurveys) {
  if (!test::longTests()) GTEST_SKIP() << "long test (ECO_LONG_TESTS=1)";
  for (uint64_t seed = 310; seed < 313; ++seed) {
    test::SurveyShape s = small(seed, 2, seed % 2 == 0);
    s.reference = 40;
    s.taxa = 120;
    s.taxaPerGrab = 30;
    s.maxstat = 0;
    s.maxspec = 0;
    s.listLength = -1;
    s.surfaces = {0.1f, 0.015f, 0.5f};
    const std::string name = "large" + std::to_string(seed);
    const fs::path dir = generated(s, name);
    compareRuns(dir, name);
    fs::remove_all(dir);
  }
}

}  // namespace
}  // namespace eco
