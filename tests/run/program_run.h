#pragma once
// Running the real program in a scratch directory of its own, for the
// end-to-end tests of the command line, the console and the output files.

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ecotest {

namespace fs = std::filesystem;

inline std::string programPath() {
  if (const char* p = std::getenv("ECO_PROGRAM"); p != nullptr && *p != '\0') return p;
  return ECO_PROGRAM;
}

inline std::string shellQuoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& p, std::string_view text) {
  std::ofstream out(p, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline std::set<std::string> namesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

struct ProgramResult {
  int status = -1;
  std::string out, err;
};

// A scratch directory removed at the end of the test.
struct ScratchDir {
  fs::path root;
  explicit ScratchDir(std::string_view tag) {
    static std::atomic<int> counter{0};
    root =
        fs::temp_directory_path() / ("ecoassess_" + std::string(tag) + "_" +
                                     std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(root);
    fs::create_directories(root / "run");
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  fs::path run() const { return root / "run"; }

  // Runs `prefix program args redirections` with a shell in run(); the
  // prefix may set limits or wrap the program (e.g. "ulimit -f 4;").
  // Standard output and error are captured outside run() unless
  // `redirections` says otherwise.
  ProgramResult runProgram(const std::vector<std::string>& args, const std::string& prefix = "",
                           const std::string& redirections = "") const {
    std::string command =
        "cd " + shellQuoted(run().string()) + " && " + prefix + " " + shellQuoted(programPath());
    for (const std::string& a : args) command += " " + shellQuoted(a);
    command += redirections.empty()
                   ? " >" + shellQuoted((root / "stdout.txt").string()) + " 2>" +
                         shellQuoted((root / "stderr.txt").string()) + " </dev/null"
                   : " " + redirections;
    const int rc = std::system(command.c_str());
    ProgramResult r;
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = readFile(root / "stdout.txt");
    r.err = readFile(root / "stderr.txt");
    return r;
  }
};

// Runs a shell command in the scratch directory's run(); its exit status.
inline int shellIn(const fs::path& dir, const std::string& command) {
  const int rc = std::system(("cd " + shellQuoted(dir.string()) + " && " + command).c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// The closing line's elapsed time, the one thing that differs between runs.
inline std::string withoutElapsed(std::string text) {
  const std::string key = "elapsed ";
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    const std::size_t end = text.find(" s", at + key.size());
    if (end != std::string::npos) text.replace(at + key.size(), end - at - key.size(), "<time>");
  }
  return text;
}

// A blank-padded 150-character failure message as the console shows it.
inline std::string failureText(std::string_view message) {
  std::string item(message);
  item.resize(150, ' ');
  return " " + item.substr(0, 79) + "\n " + item.substr(79) + "\n";
}

}  // namespace ecotest
