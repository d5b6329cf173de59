// The system layer on this system: names in any script (and, on Linux, any
// bytes), what a name is, access, putting a file in place, the current
// folder, and the removal of temporary files when the run is interrupted.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "output/output_files.h"
#include "platform/files.h"
#include "platform/interrupt.h"

namespace {

namespace fs = std::filesystem;
namespace pf = eco::platform;

struct Scratch {
  fs::path root;
  fs::path saved = fs::current_path();
  explicit Scratch(const std::string& tag) {
    root = fs::temp_directory_path() /
           ("ecoassess_platform_" + tag + "_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    fs::current_path(root);
  }
  ~Scratch() {
    fs::current_path(saved);
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

void write(const std::string& name, const std::string& text) {
  std::ofstream out(pf::pathOf(name), std::ios::binary);
  out << text;
}

std::string read(const std::string& name) {
  std::ifstream in(pf::pathOf(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> namesHere() {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(".")) names.insert(pf::nameOf(e.path().filename()));
  return names;
}

// Names reach the file system byte for byte and come back the same.
TEST(Platform, NamesInAnyScript) {
  Scratch s("names");
  const std::vector<std::string> names = {
      "plain.hdr",
      "Überwachung 2024.hdr",
      "водоём.STA",
      "河口.DAT",
      "e\xcc\x81tang.SPE",
      "latin1-\xe9t\xe9.ETP",  // not UTF-8: Linux names are bytes
  };
  for (const std::string& n : names) {
    write(n, n);
    EXPECT_EQ(pf::nameOf(pf::pathOf(n)), n);
    EXPECT_EQ(pf::fileKind(n), pf::FileKind::regular) << n;
    EXPECT_EQ(read(n), n);
  }
  EXPECT_EQ(namesHere(), std::set<std::string>(names.begin(), names.end()));
  ASSERT_TRUE(fs::create_directory(pf::pathOf("Ergebnisse ü")));
  EXPECT_TRUE(pf::setCurrentDirectory("Ergebnisse ü"));
  EXPECT_EQ(pf::currentDirectory(), pf::nameOf(s.root) + "/Ergebnisse ü");
  EXPECT_EQ(pf::absoluteName("../x/./y.hdr"), pf::nameOf(s.root) + "/x/y.hdr");
  EXPECT_FALSE(pf::setCurrentDirectory("nowhere"));
  EXPECT_EQ(pf::currentDirectory(), pf::nameOf(s.root) + "/Ergebnisse ü");
}

TEST(Platform, KindsAndAccess) {
  Scratch s("kinds");
  write("file", "x");
  fs::create_directory("folder");
  fs::create_symlink("file", "link");
  fs::create_symlink("folder", "folderlink");
  struct Case {
    std::string name;
    pf::FileKind kind;
    int read, write, enter;
  };
  const std::vector<Case> cases = {
      {"file", pf::FileKind::regular, 0, 0, EACCES},
      {"folder", pf::FileKind::directory, 0, 0, 0},
      {"link", pf::FileKind::other, 0, 0, EACCES},
      {"folderlink", pf::FileKind::other, 0, 0, 0},
      {"missing", pf::FileKind::missing, ENOENT, ENOENT, ENOENT},
      {"file/below", pf::FileKind::missing, ENOTDIR, ENOTDIR, ENOTDIR},
      {"/dev/null", pf::FileKind::other, 0, 0, EACCES},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pf::fileKind(c.name), c.kind) << c.name;
    EXPECT_EQ(pf::accessError(c.name, pf::Access::read), c.read) << c.name;
    EXPECT_EQ(pf::accessError(c.name, pf::Access::write), c.write) << c.name;
    EXPECT_EQ(pf::accessError(c.name, pf::Access::enter), c.enter) << c.name;
  }
  EXPECT_TRUE(pf::isAbsoluteName("/data/in"));
  EXPECT_FALSE(pf::isAbsoluteName("data/in"));
  EXPECT_TRUE(pf::namesAreCaseSensitive());
}

TEST(Platform, ReplaceAndRemove) {
  Scratch s("replace");
  struct Case {
    bool targetExists;
  };
  for (const Case c : {Case{false}, Case{true}}) {
    write("new.tmp", "new");
    if (c.targetExists) write("result.ASS", "old");
    EXPECT_TRUE(pf::replaceFile("new.tmp", "result.ASS"));
    EXPECT_EQ(read("result.ASS"), "new");
    EXPECT_EQ(pf::fileKind("new.tmp"), pf::FileKind::missing);
  }
  EXPECT_FALSE(pf::replaceFile("absent.tmp", "result.ASS"));
  EXPECT_EQ(read("result.ASS"), "new");
  EXPECT_TRUE(pf::removeFile("result.ASS"));
  EXPECT_FALSE(pf::removeFile("result.ASS"));
  EXPECT_TRUE(namesHere().empty());
}

// An interrupted run (here in a child process, interrupted as the system
// does it) leaves the earlier result of the same name and nothing else,
// whether a name is new or old, ASCII or not.
TEST(Platform, InterruptRemovesTemporaryFiles) {
  Scratch s("interrupt");
  write("kept.ASS", "earlier result\r\n");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::ofstream a, b, c;
    if (!eco::openOutputFile("kept.ASS", a) || !eco::openOutputFile("new.SIM", b) ||
        !eco::openOutputFile("Ergebnis ü.DEN", c)) {
      ::_exit(3);
    }
    a << "half";
    b << "half";
    c << "half";
    a.flush();
    b.flush();
    c.flush();
    if (namesHere().size() != 4) ::_exit(4);
    pf::deliverInterrupt();
    ::_exit(5);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
  EXPECT_EQ(WTERMSIG(status), SIGINT);
  EXPECT_EQ(namesHere(), std::set<std::string>{"kept.ASS"});
  EXPECT_EQ(read("kept.ASS"), "earlier result\r\n");
}

// The cleanup itself, called as the handler calls it: by name only, and
// again after a commit (nothing left to remove).
TEST(Platform, RemoveTemporaryFilesByName) {
  Scratch s("cleanup");
  {
    std::ofstream a;
    ASSERT_TRUE(eco::openOutputFile("a.SIM", a));
    a << "x";
  }
  EXPECT_EQ(namesHere().size(), 1u);
  eco::removeTemporaryFiles();
  EXPECT_TRUE(namesHere().empty());
  eco::discardOutputFiles();
  {
    std::ofstream b;
    ASSERT_TRUE(eco::openOutputFile("b.SIM", b));
    b << "y";
  }
  std::string failed;
  ASSERT_TRUE(eco::commitOutputFiles(failed));
  eco::removeTemporaryFiles();
  EXPECT_EQ(namesHere(), std::set<std::string>{"b.SIM"});
  EXPECT_EQ(read("b.SIM"), "y");
}

}  // namespace
