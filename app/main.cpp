#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "run/driver.h"

namespace {

// A closed standard descriptor would be taken by the first file the run
// opens, and console lines would end up inside an output file: open each
// closed one on /dev/null first.
void ensureStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
      if (opened != fd && opened >= 0) ::close(opened);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  ensureStandardDescriptors();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return eco::runMain(args);
}
