// What differs with the way the program was installed or started: the
// header file's folder entered for a start from Explorer, where the guide
// is found, what --version says.

#include "run/explorer_start.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "run/about.h"
#include "run/command_line.h"

namespace {

namespace fs = std::filesystem;

struct Folder {
  fs::path root, saved = fs::current_path();
  explicit Folder(const std::string& tag) {
    root = fs::temp_directory_path() / ("ecoassess_start_" + tag);
    fs::remove_all(root);
    fs::create_directories(root);
    fs::current_path(root);
  }
  ~Folder() {
    fs::current_path(saved);
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

TEST(ExplorerStart, EntersTheHeaderFolder) {
  Folder f("header");
  fs::create_directories(eco::platform::pathOf("Sümpfe 2024/run"));
  const std::string root = eco::platform::nameOf(f.root);
  struct Case {
    std::string header, name, folder;
  };
  const std::vector<Case> cases = {
      {root + "/Sümpfe 2024/marsh.hdr", "marsh.hdr", root + "/Sümpfe 2024"},
      {"Sümpfe 2024/run/a.hdr", "a.hdr", root + "/Sümpfe 2024/run"},
      {"plain.hdr", "plain.hdr", root},
      {"absent/x.hdr", "absent/x.hdr", root},
      {"Sümpfe 2024/", "Sümpfe 2024/", root},
  };
  for (const Case& c : cases) {
    fs::current_path(f.root);
    EXPECT_EQ(eco::enterHeaderFolder(c.header), c.name) << c.header;
    EXPECT_EQ(eco::platform::currentDirectory(), c.folder) << c.header;
  }
  // Not started from Explorer here: the command line stays as it is.
  eco::CommandLine cl = eco::parseCommandLine({"Sümpfe 2024/run/a.hdr"});
  fs::current_path(f.root);
  EXPECT_FALSE(eco::beginExplorerStart(cl));
  EXPECT_EQ(cl.headerFile, "Sümpfe 2024/run/a.hdr");
  EXPECT_EQ(eco::platform::currentDirectory(), root);
}

TEST(About, GuideBesideTheProgram) {
  Folder f("guide");
  const std::string root = eco::platform::nameOf(f.root);
  for (const char* d : {"win/docs", "prefix/bin", "prefix/share/doc/ecoassess", "bare"}) {
    fs::create_directories(d);
  }
  std::ofstream("win/docs/guide.md") << "guide";
  std::ofstream("prefix/share/doc/ecoassess/guide.md") << "guide";
  struct Case {
    std::string executable, guide;
  };
  const std::vector<Case> cases = {
      {root + "/win/ecoassess.exe", root + "/win/docs/guide.md"},
      {root + "/prefix/bin/ecoassess", root + "/prefix/share/doc/ecoassess/guide.md"},
      {root + "/bare/ecoassess", "docs/guide.md"},
      {"", "docs/guide.md"},
  };
  for (const Case& c : cases) EXPECT_EQ(eco::guideLocationFor(c.executable), c.guide);
}

TEST(About, VersionNamesSystemCompilerAndVectorPath) {
  const std::string v = eco::versionText();
  const std::vector<std::string> starts = {
      std::string("ecoassess ") + eco::kVersion + "\n",
      "system: ", "compiler: ", "vector path: ", "extended precision: "};
  std::size_t at = 0;
  for (const std::string& s : starts) {
    ASSERT_EQ(v.compare(at, s.size(), s), 0) << v;
    at = v.find('\n', at) + 1;
  }
  EXPECT_EQ(at, v.size());
#if defined(__linux__) && defined(__x86_64__)
  EXPECT_NE(v.find("system: Linux x86-64\n"), std::string::npos);
  EXPECT_TRUE(v.find("vector path: portable\n") != std::string::npos ||
              v.find("vector path: avx2\n") != std::string::npos ||
              v.find("vector path: avx512\n") != std::string::npos);
#endif
}

}  // namespace
