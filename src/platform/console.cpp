#include "platform/console.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h comes first.
#include <shellapi.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "platform/files.h"

namespace eco::platform {

#ifdef _WIN32

namespace {

bool isConsole(DWORD which) {
  DWORD mode = 0;
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != 0;
}

UINT savedOutputCodePage = 0;

void restoreCodePage() {
  if (savedOutputCodePage != 0) SetConsoleOutputCP(savedOutputCodePage);
}

}  // namespace

void prepareStandardStreams() {
  const struct {
    FILE* file;
    const wchar_t* mode;
  } streams[] = {{stdin, L"rb"}, {stdout, L"wb"}, {stderr, L"wb"}};
  for (const auto& s : streams) {
    const int fd = _fileno(s.file);
    if (fd < 0 || _get_osfhandle(fd) == -1 || _get_osfhandle(fd) == -2) {
      // Writes to a missing handle would fail and leave the stream failed.
      if (_wfreopen(L"NUL", s.mode, s.file) == nullptr) continue;
    }
    _setmode(_fileno(s.file), _O_BINARY);
  }
  if (isConsole(STD_OUTPUT_HANDLE) || isConsole(STD_ERROR_HANDLE)) {
    const UINT cp = GetConsoleOutputCP();
    if (cp != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
      savedOutputCodePage = cp;
      std::atexit(restoreCodePage);
    }
  }
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  std::vector<std::string> args;
  int n = 0;
  wchar_t** w = CommandLineToArgvW(GetCommandLineW(), &n);
  if (w == nullptr) {
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
  }
  for (int i = 1; i < n; ++i) args.push_back(nameOf(std::filesystem::path(w[i])));
  LocalFree(w);
  return args;
}

bool progressLineAvailable() {
  const HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (h == nullptr || h == INVALID_HANDLE_VALUE || !GetConsoleMode(h, &mode)) return false;
  if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
  return SetConsoleMode(h, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool consoleMadeForProgram() {
  if (!isConsole(STD_INPUT_HANDLE) || !isConsole(STD_OUTPUT_HANDLE) ||
      !isConsole(STD_ERROR_HANDLE)) {
    return false;
  }
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
}

void waitForKey() {
  std::fputs("press a key to close this window", stderr);
  std::fflush(stderr);
  _getch();
}

#else

void prepareStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
      if (opened != fd && opened >= 0) ::close(opened);
    }
  }
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return args;
}

bool progressLineAvailable() { return ::isatty(2) == 1; }

bool consoleMadeForProgram() { return false; }

void waitForKey() {}

#endif

}  // namespace eco::platform
