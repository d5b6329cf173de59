#include "output/output_files.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/interrupt.h"

namespace eco {
namespace {

// How far the commit has gone with one file. Each stage is set before the
// step it names, so that undoing a stage whose step did not happen yet
// changes nothing.
enum Stage : int {
  kWritten = 0,  // only the temporary file is the run's
  kAside = 1,    // the earlier result is moving to the aside name
  kPlaced = 2,   // the new file is moving to the final name
  kDone = 3,     // committed; only the aside copy is left to remove
};

OutputFiles processFiles;
OutputFiles* registered = &processFiles;

// The names again, as plain character arrays that an interrupt handler may
// read: an interrupted run (Ctrl-C, a kill, a time limit, a closed console
// window) leaves no temporary file behind and, during a commit, puts the
// earlier results back.
constexpr int kSignalSlots = 64;
constexpr std::size_t kPathRoom = 4096;
struct SignalSlot {
  char temp[kPathRoom];
  char final[kPathRoom];
  char aside[kPathRoom];
  volatile std::sig_atomic_t stage;
  volatile std::sig_atomic_t hadEarlier;
};
SignalSlot signalSlots[kSignalSlots];
volatile std::sig_atomic_t signalCount = 0;
// Index in signalSlots of each pending file, or -1 (a name too long).
std::vector<int> slotOf;

bool copyName(const std::string& name, char (&to)[kPathRoom]) {
  if (name.size() >= kPathRoom) return false;
  name.copy(to, name.size());
  to[name.size()] = '\0';
  return true;
}

void syncSignalSlots(const OutputFiles& files) {
  if (&files != registered) return;
  signalCount = 0;
  slotOf.assign(files.pending.size(), -1);
  int n = 0;
  for (std::size_t i = 0; i < files.pending.size() && n < kSignalSlots; ++i) {
    const PendingOutput& p = files.pending[i];
    if (p.tempName.empty()) continue;
    SignalSlot& s = signalSlots[n];
    if (!copyName(p.tempName, s.temp) || !copyName(p.finalName, s.final) ||
        !copyName(p.asideName, s.aside)) {
      continue;
    }
    s.stage = kWritten;
    s.hadEarlier = 0;
    slotOf[i] = n++;
  }
  signalCount = n;
}

// Where the commit stands with file i, for the interrupt handler too.
struct CommitState {
  std::vector<Stage> stage;
  std::vector<bool> hadEarlier;
};

void setStage(const OutputFiles& files, CommitState& state, std::size_t i, Stage stage) {
  state.stage[i] = stage;
  if (&files != registered || i >= slotOf.size() || slotOf[i] < 0) return;
  SignalSlot& s = signalSlots[slotOf[i]];
  s.hadEarlier = state.hadEarlier[i] ? 1 : 0;
  s.stage = stage;
}

// Undoes one slot by name only (signal-safe: rename and unlink).
void undoSlot(const SignalSlot& s) {
  if (s.stage == kDone) {
    if (s.hadEarlier != 0) platform::removeFile(s.aside);
    return;
  }
  platform::removeFile(s.temp);
  if (s.stage >= kAside && s.hadEarlier != 0) platform::moveFile(s.aside, s.final);
  if (s.stage >= kPlaced && s.hadEarlier == 0) platform::removeFile(s.final);
}

// ".<name>.<pid>.<what>" in the directory of the final name: a rename within
// one directory is atomic and cannot cross file systems.
std::string besideName(const std::string& finalName, const char* what) {
  const std::filesystem::path p = platform::pathOf(finalName);
  const std::string leaf = "." + platform::nameOf(p.filename()) + "." +
                           std::to_string(platform::processId()) + "." + what;
  return platform::nameOf(p.parent_path() / platform::pathOf(leaf));
}

std::string folderOf(const std::string& finalName) {
  const std::filesystem::path parent = platform::pathOf(finalName).parent_path();
  return parent.empty() ? std::string(".") : platform::nameOf(parent);
}

std::string reasonOf(int error) {
  return error == 0 ? std::string("the system refused it") : std::generic_category().message(error);
}

// Why `p` cannot be put in place now; empty when nothing stands in the way.
std::string obstacle(const PendingOutput& p) {
  if (platform::fileKind(p.tempName) != platform::FileKind::regular) {
    return "its new content, written to " + p.tempName + ", was removed during the run";
  }
  switch (platform::fileKind(p.finalName)) {
    case platform::FileKind::directory:
      return "a folder of that name appeared during the run";
    case platform::FileKind::regular:
      if (platform::accessError(p.finalName, platform::Access::write) != 0) {
        return "the file of that name was made read-only during the run";
      }
      break;
    default:
      break;
  }
  if (const int e = platform::accessError(folderOf(p.finalName), platform::Access::write)) {
    return "its folder can no longer be written (" + reasonOf(e) + ")";
  }
  return {};
}

void fail(OutputFiles& files, const std::string& name, const std::string& cause,
          std::string& failedName) {
  failedName = name;
  files.failure.name = name;
  files.failure.cause = cause;
}

// Puts back the earlier results of the files up to `end` and removes the
// run's own; names what could not be put back.
void rollBack(OutputFiles& files, CommitState& state, std::size_t end) {
  for (std::size_t i = 0; i < end; ++i) {
    const PendingOutput& p = files.pending[i];
    if (p.tempName.empty()) continue;
    bool restored = true;
    if (state.stage[i] >= kAside && state.hadEarlier[i] &&
        platform::fileKind(p.asideName) != platform::FileKind::missing) {
      restored = platform::replaceFile(p.asideName, p.finalName);
    } else if (state.stage[i] >= kPlaced && !state.hadEarlier[i]) {
      restored = platform::fileKind(p.finalName) != platform::FileKind::regular ||
                 platform::removeFile(p.finalName.c_str());
    }
    if (!restored) {
      files.failure.replaced.push_back(
          state.hadEarlier[i] ? p.finalName + " (its earlier result is kept as " + p.asideName + ")"
                              : p.finalName);
    }
    setStage(files, state, i, kWritten);
  }
}

}  // namespace

void registerOutputFiles(OutputFiles* files) {
  registered = files != nullptr ? files : &processFiles;
  syncSignalSlots(*registered);
}

OutputFiles& registeredOutputFiles() { return *registered; }

void removeTemporaryFiles() {
  for (int i = 0; i < signalCount; ++i) undoSlot(signalSlots[i]);
}

bool openOutputFile(OutputFiles& files, const std::string& finalName, std::ofstream& out) {
  const platform::FileKind kind = platform::fileKind(finalName);
  if (kind == platform::FileKind::directory) return false;
  if (kind == platform::FileKind::other) {
    // A link or a device: written in place, as a plain create would.
    out.open(platform::pathOf(finalName), std::ios::out | std::ios::trunc | std::ios::binary);
    if (!out.is_open()) return false;
    files.pending.push_back({finalName, "", ""});
    return true;
  }
  // A regular file that may not be written fails here, as the plain create
  // would have; so does a directory where no file can be made.
  if (kind == platform::FileKind::regular &&
      platform::accessError(finalName, platform::Access::write) != 0) {
    return false;
  }
  const std::string temp = besideName(finalName, "tmp");
  platform::removeFile(temp.c_str());
  out.open(platform::pathOf(temp), std::ios::out | std::ios::trunc | std::ios::binary);
  if (!out.is_open()) return false;
  files.pending.push_back({finalName, temp, besideName(finalName, "old")});
  platform::installInterruptHandler(removeTemporaryFiles);
  syncSignalSlots(files);
  return true;
}

bool commitOutputFiles(OutputFiles& files, std::string& failedName) {
  files.committed.clear();
  files.failure = {};
  const std::size_t n = files.pending.size();
  // Every final name is looked at again before the first rename: what
  // appeared during the run fails the commit while nothing is replaced.
  for (const PendingOutput& p : files.pending) {
    if (p.tempName.empty()) continue;
    const std::string why = obstacle(p);
    if (!why.empty()) {
      fail(files, p.finalName, why, failedName);
      discardOutputFiles(files);
      return false;
    }
  }
  CommitState state{std::vector<Stage>(n, kWritten), std::vector<bool>(n, false)};
  for (std::size_t i = 0; i < n; ++i) {
    const PendingOutput& p = files.pending[i];
    if (p.tempName.empty()) continue;
    int error = 0;
    // The earlier result steps aside first, so that it can be put back.
    if (platform::fileKind(p.finalName) != platform::FileKind::missing) {
      platform::removeFile(p.asideName.c_str());
      state.hadEarlier[i] = true;
      setStage(files, state, i, kAside);
      if (!platform::replaceFile(p.finalName, p.asideName, &error)) {
        fail(files, p.finalName,
             "its earlier result could not be moved aside (" + reasonOf(error) + ")", failedName);
        setStage(files, state, i, kWritten);
        rollBack(files, state, i);
        discardOutputFiles(files);
        return false;
      }
    }
    setStage(files, state, i, kPlaced);
    if (!platform::replaceFile(p.tempName, p.finalName, &error)) {
      fail(files, p.finalName,
           "the new file could not be renamed into place (" + reasonOf(error) + ")", failedName);
      // Its own rename did not happen: only the earlier result comes back.
      setStage(files, state, i, state.hadEarlier[i] ? kAside : kWritten);
      rollBack(files, state, i + 1);
      discardOutputFiles(files);
      return false;
    }
  }
  // Committed: the earlier results go.
  for (std::size_t i = 0; i < n; ++i) {
    if (!files.pending[i].tempName.empty()) setStage(files, state, i, kDone);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const PendingOutput& p = files.pending[i];
    if (state.hadEarlier[i]) platform::removeFile(p.asideName.c_str());
    files.committed.push_back(p.finalName);
  }
  files.pending.clear();
  syncSignalSlots(files);
  return true;
}

void discardOutputFiles(OutputFiles& files) {
  for (const PendingOutput& p : files.pending) {
    if (!p.tempName.empty()) platform::removeFile(p.tempName.c_str());
  }
  files.pending.clear();
  syncSignalSlots(files);
}

std::string commitFailureText(const CommitFailure& failure) {
  std::string text = "the output file could not be put in place in " +
                     platform::currentDirectory() + ": " + failure.cause;
  if (failure.replaced.empty()) {
    return text + "; no earlier result was replaced: remove what is in the way and run again";
  }
  text += "; these files could not be put back as they were before the run: ";
  for (std::size_t i = 0; i < failure.replaced.size(); ++i) {
    text += (i == 0 ? "" : ", ") + failure.replaced[i];
  }
  return text + "; remove what is in the way and run again";
}

}  // namespace eco
