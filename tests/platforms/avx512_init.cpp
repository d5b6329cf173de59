// The first and only process of the emulated machine that runs the kernel
// tests on an AVX-512 processor (tests/platforms/avx512.sh): it opens the
// serial console, says whether the processor and the system let programs
// use AVX-512, runs each test program of /tests.txt (a program and its
// arguments per line), writes how each ended and powers the machine off.
// Everything it writes goes to the serial console, which the script reads.
#include <cpuid.h>
#include <fcntl.h>
#include <immintrin.h>
#include <sys/mount.h>
#include <sys/reboot.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

[[gnu::target("xsave")]] unsigned long long xcr0() { return _xgetbv(0); }

// Whether the processor has the AVX-512 subsets the kernels use and the
// system saves their registers; says what it found.
bool avx512Usable() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  __cpuid_count(1, 0, a, b, c, d);
  const bool osxsave = (c >> 27) & 1;
  unsigned long long saved = 0;
  if (osxsave) saved = xcr0();
  __cpuid_count(7, 0, a, b, c, d);
  std::printf("avx512-init: cpuid 7 ebx %08x, osxsave %d, xcr0 %llx\n", b, osxsave, saved);
  __builtin_cpu_init();
  return __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx512f") &&
         __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") &&
         __builtin_cpu_supports("avx512bw");
}

// Runs one line of /tests.txt; its exit status, or 128 + the signal.
int run(const std::string& line) {
  std::istringstream words(line);
  std::vector<std::string> args;
  for (std::string w; words >> w;) args.push_back(w);
  if (args.empty()) return 0;
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) < 0) return 126;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int main() {
  mount("devtmpfs", "/dev", "devtmpfs", 0, nullptr);
  mount("proc", "/proc", "proc", 0, nullptr);
  // The exactness tests write their surveys to temporary files.
  mkdir("/tmp", 0777);
  mount("tmpfs", "/tmp", "tmpfs", 0, nullptr);
  const int console = open("/dev/ttyS0", O_RDWR);
  if (console >= 0) {
    dup2(console, 0);
    dup2(console, 1);
    dup2(console, 2);
  }
  int failed = 0;
  if (!avx512Usable()) {
    std::printf("avx512-init: AVX-512 is not usable on this machine\n");
    failed = 1;
  } else {
    std::ifstream tests("/tests.txt");
    for (std::string line; std::getline(tests, line);) {
      std::printf("avx512-init: running %s\n", line.c_str());
      std::fflush(stdout);
      const int status = run(line);
      std::printf("avx512-init: exit %d: %s\n", status, line.c_str());
      if (status != 0) failed = 1;
    }
  }
  std::printf("avx512-init: %s\n", failed ? "FAILED" : "all passed");
  std::fflush(stdout);
  tcdrain(1);
  sleep(1);
  sync();
  reboot(RB_POWER_OFF);
  return 0;
}
