// Runs a fuzz target without libFuzzer: every file named on the command
// line, and every file below every directory named there, is handed to the
// target once, in sorted order. An input that breaks an invariant aborts
// with its name; so does a target that ends the process itself.
//
//   fuzz_replay_run DIR_OR_FILE...

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_check.h"

namespace fs = std::filesystem;

namespace {

void exitedInside() {
  if (!eco::fuzz::inside()) return;
  std::fprintf(stderr, "the process ended inside the fuzz target instead of returning\n");
  std::fflush(stderr);
  std::_Exit(98);
}

std::vector<fs::path> inputsOf(const fs::path& arg) {
  std::vector<fs::path> files;
  if (fs::is_directory(arg)) {
    for (const auto& entry : fs::recursive_directory_iterator(arg)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
  } else {
    files.push_back(arg);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DIR_OR_FILE...\n", argv[0]);
    return 2;
  }
  std::atexit(exitedInside);
  int64_t count = 0;
  for (int i = 1; i < argc; ++i) {
    if (!fs::exists(argv[i])) {
      std::fprintf(stderr, "%s: no such file or directory\n", argv[i]);
      return 2;
    }
    for (const fs::path& file : inputsOf(argv[i])) {
      std::ifstream in(file, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
      eco::fuzz::setCurrentInput(file.string());
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      ++count;
    }
  }
  eco::fuzz::setCurrentInput({});
  if (count == 0) {
    std::fprintf(stderr, "no input found: a replay that runs nothing proves nothing\n");
    return 1;
  }
  std::printf("replayed %lld inputs\n", static_cast<long long>(count));
  return 0;
}
