#include "output/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace eco {
namespace {

struct Pending {
  std::string finalName;
  std::string tempName;  // empty: written in place
};

struct Registry {
  std::vector<Pending> pending;
  std::vector<std::string> committed;
};

Registry& registry() {
  static Registry r;
  return r;
}

// The temporary names again, as plain character arrays that a signal
// handler may read: an interrupted run (Ctrl-C, a kill, a time limit)
// leaves no temporary file behind either.
constexpr int kSignalSlots = 64;
constexpr std::size_t kPathRoom = 4096;
char signalNames[kSignalSlots][kPathRoom];
volatile sig_atomic_t signalCount = 0;

void syncSignalNames() {
  Registry& r = registry();
  signalCount = 0;
  int n = 0;
  for (const Pending& p : r.pending) {
    if (p.tempName.empty() || p.tempName.size() >= kPathRoom || n == kSignalSlots) continue;
    p.tempName.copy(signalNames[n], p.tempName.size());
    signalNames[n][p.tempName.size()] = '\0';
    ++n;
  }
  signalCount = n;
}

extern "C" void removeOnSignal(int sig) {
  for (int i = 0; i < signalCount; ++i) ::unlink(signalNames[i]);
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

void installSignalCleanup() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal the caller chose to ignore stays ignored.
    if (::signal(sig, removeOnSignal) == SIG_IGN) ::signal(sig, SIG_IGN);
  }
}

// ".<name>.<pid>.tmp" in the directory of the final name: a rename within
// one directory is atomic and cannot cross file systems.
std::string temporaryName(const std::string& finalName) {
  const std::filesystem::path p(finalName);
  const std::string leaf = "." + p.filename().string() + "." + std::to_string(::getpid()) + ".tmp";
  return (p.parent_path() / leaf).string();
}

}  // namespace

bool openOutputFile(const std::string& finalName, std::ofstream& out) {
  struct stat st {};
  const bool exists = ::lstat(finalName.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return false;
  if (exists && !S_ISREG(st.st_mode)) {
    // A link or a device: written in place, as a plain create would.
    out.open(finalName, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!out.is_open()) return false;
    registry().pending.push_back({finalName, ""});
    return true;
  }
  // A regular file that may not be written fails here, as the plain create
  // would have; so does a directory where no file can be made.
  if (exists && ::access(finalName.c_str(), W_OK) != 0) return false;
  const std::string temp = temporaryName(finalName);
  std::remove(temp.c_str());
  out.open(temp, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!out.is_open()) return false;
  registry().pending.push_back({finalName, temp});
  installSignalCleanup();
  syncSignalNames();
  return true;
}

bool commitOutputFiles(std::string& failedName) {
  Registry& r = registry();
  r.committed.clear();
  for (std::size_t i = 0; i < r.pending.size(); ++i) {
    const Pending& p = r.pending[i];
    if (!p.tempName.empty() && std::rename(p.tempName.c_str(), p.finalName.c_str()) != 0) {
      failedName = p.finalName;
      r.pending.erase(r.pending.begin(), r.pending.begin() + static_cast<std::ptrdiff_t>(i));
      discardOutputFiles();
      return false;
    }
    r.committed.push_back(p.finalName);
  }
  r.pending.clear();
  syncSignalNames();
  return true;
}

void discardOutputFiles() {
  Registry& r = registry();
  for (const Pending& p : r.pending) {
    if (!p.tempName.empty()) std::remove(p.tempName.c_str());
  }
  r.pending.clear();
  syncSignalNames();
}

const std::vector<std::string>& committedOutputFiles() { return registry().committed; }

}  // namespace eco
