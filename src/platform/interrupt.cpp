#include "platform/interrupt.h"

#include <atomic>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>

#include <thread>
#else
#include <csignal>
#endif

namespace eco::platform {
namespace {

void (*removeAll)() = nullptr;
std::atomic<bool> requested{false};

}  // namespace

void interruptionPoint() {
  if (requested.load()) {
    requested.store(false);
    throw Interrupted{};
  }
}

#ifdef _WIN32

namespace {

// The exit status of a program ended by Ctrl-C (STATUS_CONTROL_C_EXIT).
constexpr UINT kInterruptedStatus = 0xC000013A;
HANDLE mainDone = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      break;
    default:
      return FALSE;
  }
  requested.store(true);
  // Windows ends a process five seconds after its window was closed; a
  // Ctrl-C may wait for the current computation to finish.
  const DWORD wait = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? 30000 : 4000;
  if (WaitForSingleObject(mainDone, wait) != WAIT_OBJECT_0 && removeAll != nullptr) removeAll();
  ExitProcess(kInterruptedStatus);
}

}  // namespace

void installInterruptHandler(void (*removeFiles)()) {
  if (removeAll != nullptr) return;
  removeAll = removeFiles;
  mainDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void endInterrupted() {
  if (mainDone != nullptr) SetEvent(mainDone);
  ExitProcess(kInterruptedStatus);
}

void deliverInterrupt() {
  std::thread([] { onConsoleEvent(CTRL_C_EVENT); }).detach();
}

#else

namespace {

extern "C" void onSignal(int sig) {
  if (removeAll != nullptr) removeAll();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

void installInterruptHandler(void (*removeFiles)()) {
  if (removeAll != nullptr) return;
  removeAll = removeFiles;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    if (std::signal(sig, onSignal) == SIG_IGN) std::signal(sig, SIG_IGN);
  }
}

void endInterrupted() { std::_Exit(130); }

void deliverInterrupt() { std::raise(SIGINT); }

#endif

}  // namespace eco::platform
