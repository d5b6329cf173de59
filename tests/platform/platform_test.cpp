// The system layer on this system: names in any script (and, on Linux, any
// bytes), what a name is, access, putting a file in place, the current
// folder, and the removal of temporary files when the run is interrupted.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

// Renames fail or are interrupted on demand: the n-th rename from now
// (counting from 1) fails with EIO when its bit is set in renameFailures,
// or raises SIGINT first when n is interruptAtRename.
namespace {
unsigned renameCount = 0;
unsigned renameFailures = 0;
unsigned interruptAtRename = 0;
}  // namespace

extern "C" int rename(const char* from, const char* to) noexcept {
  const unsigned n = ++renameCount;
  if (n == interruptAtRename) ::raise(SIGINT);
  if (n < 32 && (renameFailures >> n & 1u) != 0) {
    errno = EIO;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 0));
}

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
    if (!eco::openOutputFile(eco::registeredOutputFiles(), "kept.ASS", a) ||
        !eco::openOutputFile(eco::registeredOutputFiles(), "new.SIM", b) ||
        !eco::openOutputFile(eco::registeredOutputFiles(), "Ergebnis ü.DEN", c)) {
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
    ASSERT_TRUE(eco::openOutputFile(eco::registeredOutputFiles(), "a.SIM", a));
    a << "x";
  }
  EXPECT_EQ(namesHere().size(), 1u);
  eco::removeTemporaryFiles();
  EXPECT_TRUE(namesHere().empty());
  eco::discardOutputFiles(eco::registeredOutputFiles());
  {
    std::ofstream b;
    ASSERT_TRUE(eco::openOutputFile(eco::registeredOutputFiles(), "b.SIM", b));
    b << "y";
  }
  std::string failed;
  ASSERT_TRUE(eco::commitOutputFiles(eco::registeredOutputFiles(), failed));
  eco::removeTemporaryFiles();
  EXPECT_EQ(namesHere(), std::set<std::string>{"b.SIM"});
  EXPECT_EQ(read("b.SIM"), "y");
}

}  // namespace

namespace commit {

// Three outputs of a run, two of them with an earlier result.
const std::vector<std::string> kNames = {"r.SIM", "r.DEN", "r.ASS"};
const std::set<std::string> kEarlier = {"r.SIM", "r.ASS"};

void writeEarlier() {
  for (const std::string& n : kEarlier) write(n, "earlier " + n);
}

bool openAll(eco::OutputFiles& files) {
  for (const std::string& n : kNames) {
    std::ofstream out;
    if (!eco::openOutputFile(files, n, out)) return false;
    out << "new " << n;
  }
  return true;
}

// The folder holds the earlier results and nothing of the run.
void expectAsBefore(const std::string& what) {
  EXPECT_EQ(namesHere(), kEarlier) << what;
  for (const std::string& n : kEarlier) EXPECT_EQ(read(n), "earlier " + n) << what;
}

}  // namespace commit

// A commit that cannot be completed leaves the folder as it was before the
// run, and says why: something in the way before the first rename, or a
// rename that fails part-way (every rename in turn).
TEST(OutputFiles, FailedCommitPutsTheEarlierResultsBack) {
  using namespace commit;
  struct Case {
    std::string what;
    void (*meanwhile)();  // between the opens and the commit
    unsigned failures;    // bits of the renames that fail
    std::string failed, cause;
    std::vector<std::string> replaced;
  };
  const std::vector<Case> cases = {
      {"a folder appears under a final name",
       [] { fs::create_directory("r.DEN"); },
       0,
       "r.DEN",
       "a folder of that name appeared during the run",
       {}},
      {"a temporary file is removed",
       [] { fs::remove(".r.ASS." + std::to_string(::getpid()) + ".tmp"); },
       0,
       "r.ASS",
       "its new content, written to .r.ASS.",
       {}},
      {"first earlier result cannot move aside",
       [] {},
       1u << 1,
       "r.SIM",
       "its earlier result could not be moved aside (Input/output error)",
       {}},
      {"new file without an earlier one cannot be placed",
       [] {},
       1u << 3,
       "r.DEN",
       "the new file could not be renamed into place (Input/output error)",
       {}},
      {"last earlier result cannot move aside",
       [] {},
       1u << 4,
       "r.ASS",
       "its earlier result could not be moved aside",
       {}},
      {"last new file cannot be placed",
       [] {},
       1u << 5,
       "r.ASS",
       "the new file could not be renamed into place",
       {}},
      {"an earlier result cannot be put back either",
       [] {},
       1u << 5 | 1u << 6,
       "r.ASS",
       "the new file could not be renamed into place",
       {"r.SIM (its earlier result is kept as .r.SIM." + std::to_string(::getpid()) + ".old)"}},
  };
  for (const Case& c : cases) {
    Scratch s("commit");
    writeEarlier();
    eco::OutputFiles files;
    ASSERT_TRUE(openAll(files)) << c.what;
    c.meanwhile();
    renameCount = 0;
    renameFailures = c.failures;
    std::string failed;
    const bool committed = eco::commitOutputFiles(files, failed);
    renameFailures = 0;
    EXPECT_FALSE(committed) << c.what;
    EXPECT_EQ(failed, c.failed) << c.what;
    EXPECT_EQ(files.failure.name, c.failed) << c.what;
    EXPECT_EQ(files.failure.cause.rfind(c.cause, 0), 0u) << c.what << ": " << files.failure.cause;
    EXPECT_EQ(files.failure.replaced, c.replaced) << c.what;
    EXPECT_TRUE(files.pending.empty()) << c.what;
    if (!c.replaced.empty()) {
      // What could not be put back is where the detail says.
      EXPECT_EQ(read("r.SIM"), "new r.SIM");
      EXPECT_EQ(read(".r.SIM." + std::to_string(::getpid()) + ".old"), "earlier r.SIM");
      EXPECT_EQ(read("r.ASS"), "earlier r.ASS");
      continue;
    }
    if (fs::is_directory("r.DEN")) fs::remove("r.DEN");
    expectAsBefore(c.what);
  }
  // The detail tells every file that could not be put back.
  const std::string text = eco::commitFailureText({"r.ASS", "it failed", {"r.SIM", "r.ASS (x)"}});
  EXPECT_NE(text.find(": it failed; these files could not be put back as they were before the "
                      "run: r.SIM, r.ASS (x); "),
            std::string::npos)
      << text;
}

// An interruption at any rename of the commit (here in a child process, as
// the system delivers it) leaves the earlier results and nothing else; one
// after the last rename leaves the new results and nothing else.
TEST(OutputFiles, InterruptedCommitPutsTheEarlierResultsBack) {
  using namespace commit;
  for (unsigned at = 1; at <= 6; ++at) {
    Scratch s("interrupted_commit");
    writeEarlier();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      eco::OutputFiles files;
      eco::registerOutputFiles(&files);
      if (!openAll(files)) ::_exit(3);
      renameCount = 0;
      interruptAtRename = at;
      std::string failed;
      if (!eco::commitOutputFiles(files, failed)) ::_exit(4);
      // Five renames: the commit is complete before the sixth.
      ::rename("r.SIM", "r.SIM");
      ::_exit(5);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "rename " << at << ": exit status " << WEXITSTATUS(status);
    if (at <= 5) {
      expectAsBefore("interrupted at rename " + std::to_string(at));
    } else {
      EXPECT_EQ(namesHere(), std::set<std::string>(kNames.begin(), kNames.end()));
      for (const std::string& n : kNames) EXPECT_EQ(read(n), "new " + n);
    }
  }
}

// A signal the caller of the program ignores (nohup ignores SIGHUP) stays
// ignored once the handler is installed; the others end the run as the
// system would, after the handler.
TEST(Platform, IgnoredSignalsStayIgnored) {
  // Each case in a fresh process: the handler is installed once a process.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    int signal;
    bool ignored;
  };
  for (const Case c : {Case{SIGHUP, true}, Case{SIGHUP, false}, Case{SIGINT, true},
                       Case{SIGTERM, true}, Case{SIGTERM, false}}) {
    EXPECT_EXIT(
        {
          if (c.ignored) std::signal(c.signal, SIG_IGN);
          pf::installInterruptHandler([] { ::_exit(6); });
          ::raise(c.signal);
          ::_exit(5);
        },
        ::testing::ExitedWithCode(c.ignored ? 5 : 6), "")
        << "signal " << c.signal << (c.ignored ? ", ignored" : "");
  }
}

// An existing output file the user may not write is refused at the open,
// as a plain create would refuse it, though its folder may be written.
// Root may write any file: as root the check runs in a child process as
// the unprivileged user nobody.
TEST(OutputFiles, ReadOnlyFileIsRefused) {
  Scratch s("read_only");
  fs::permissions(".", fs::perms::all);
  struct Case {
    std::string name;
    fs::perms perms;
    bool opens;
  };
  const std::vector<Case> cases = {
      {"read_only.SIM", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
       false},
      {"writable.SIM", fs::perms::all, true},
  };
  for (const Case& c : cases) {
    write(c.name, "earlier");
    fs::permissions(c.name, c.perms);
  }
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(77);
    int code = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
      std::ofstream out;
      if (eco::openOutputFile(eco::registeredOutputFiles(), cases[i].name, out) != cases[i].opens)
        code |= 1 << i;
    }
    eco::discardOutputFiles(eco::registeredOutputFiles());
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot become an unprivileged user";
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(WEXITSTATUS(status) >> i & 1, 0) << cases[i].name;
  }
  EXPECT_EQ(read("read_only.SIM"), "earlier");
}
