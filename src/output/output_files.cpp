#include "output/output_files.h"

#include <csignal>
#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "platform/interrupt.h"

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

// The temporary names again, as plain character arrays that an interrupt
// handler may read: an interrupted run (Ctrl-C, a kill, a time limit, a
// closed console window) leaves no temporary file behind either.
constexpr int kSignalSlots = 64;
constexpr std::size_t kPathRoom = 4096;
char signalNames[kSignalSlots][kPathRoom];
volatile std::sig_atomic_t signalCount = 0;

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

}  // namespace

void removeTemporaryFiles() {
  for (int i = 0; i < signalCount; ++i) platform::removeFile(signalNames[i]);
}

namespace {

// ".<name>.<pid>.tmp" in the directory of the final name: a rename within
// one directory is atomic and cannot cross file systems.
std::string temporaryName(const std::string& finalName) {
  const std::filesystem::path p = platform::pathOf(finalName);
  const std::string leaf =
      "." + platform::nameOf(p.filename()) + "." + std::to_string(platform::processId()) + ".tmp";
  return platform::nameOf(p.parent_path() / platform::pathOf(leaf));
}

}  // namespace

bool openOutputFile(const std::string& finalName, std::ofstream& out) {
  const platform::FileKind kind = platform::fileKind(finalName);
  if (kind == platform::FileKind::directory) return false;
  if (kind == platform::FileKind::other) {
    // A link or a device: written in place, as a plain create would.
    out.open(platform::pathOf(finalName), std::ios::out | std::ios::trunc | std::ios::binary);
    if (!out.is_open()) return false;
    registry().pending.push_back({finalName, ""});
    return true;
  }
  // A regular file that may not be written fails here, as the plain create
  // would have; so does a directory where no file can be made.
  if (kind == platform::FileKind::regular &&
      platform::accessError(finalName, platform::Access::write) != 0) {
    return false;
  }
  const std::string temp = temporaryName(finalName);
  platform::removeFile(temp.c_str());
  out.open(platform::pathOf(temp), std::ios::out | std::ios::trunc | std::ios::binary);
  if (!out.is_open()) return false;
  registry().pending.push_back({finalName, temp});
  platform::installInterruptHandler(removeTemporaryFiles);
  syncSignalNames();
  return true;
}

bool commitOutputFiles(std::string& failedName) {
  Registry& r = registry();
  r.committed.clear();
  for (std::size_t i = 0; i < r.pending.size(); ++i) {
    const Pending& p = r.pending[i];
    if (!p.tempName.empty() && !platform::replaceFile(p.tempName, p.finalName)) {
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
    if (!p.tempName.empty()) platform::removeFile(p.tempName.c_str());
  }
  r.pending.clear();
  syncSignalNames();
}

const std::vector<std::string>& committedOutputFiles() { return registry().committed; }

}  // namespace eco
