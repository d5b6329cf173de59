// A preloaded stand-in for read(2) that makes the reads of one file fail
// part-way, as a failing disk or network share does: every byte before
// ECO_FAIL_READ_AFTER is read normally, the read that would go past it
// returns what is left before it, and the next one fails with EIO. The file
// is the one whose name (last path component) is ECO_FAIL_READ_NAME.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using ReadFunction = ssize_t (*)(int, void*, size_t);

bool isNamed(int fd, const char* name) {
  char link[64];
  char target[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, target, sizeof target - 1);
  if (n <= 0) return false;
  target[n] = '\0';
  const char* base = std::strrchr(target, '/');
  return std::strcmp(base == nullptr ? target : base + 1, name) == 0;
}

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  static const ReadFunction real = reinterpret_cast<ReadFunction>(::dlsym(RTLD_NEXT, "read"));
  const char* name = std::getenv("ECO_FAIL_READ_NAME");
  if (name != nullptr && isNamed(fd, name)) {
    const char* after = std::getenv("ECO_FAIL_READ_AFTER");
    const off_t limit = after == nullptr ? 0 : static_cast<off_t>(std::atoll(after));
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (at >= limit) {
      errno = EIO;
      return -1;
    }
    if (at + static_cast<off_t>(count) > limit) count = static_cast<size_t>(limit - at);
  }
  return real(fd, buffer, count);
}
