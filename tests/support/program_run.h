#pragma once
// Running the real program: the one runner of every test that starts it,
// with its arguments, environment, working folder and standard input, and
// its exit status, standard output and standard error captured.

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ecotest {

namespace fs = std::filesystem;

// The program under test: $ECO_PROGRAM, else the one this test was built
// with.
inline std::string programPath() {
  if (const char* p = std::getenv("ECO_PROGRAM"); p != nullptr && *p != '\0') return p;
#ifdef ECO_PROGRAM
  return ECO_PROGRAM;
#else
  return {};
#endif
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

// The words of `text` (arguments written as one string).
inline std::vector<std::string> wordsOf(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

struct ProgramResult {
  int status = -1;  // -1: ended by a signal
  std::string out, err;
};

// One run of a program. Standard output and error go to `out` and `err`
// (then read back into the result); `redirections`, when given, replace
// those and standard input.
struct ProgramCall {
  fs::path folder;  // where it runs
  std::vector<std::string> args;
  std::vector<std::pair<std::string, std::string>> env;
  std::string program = programPath();
  fs::path out, err;
  std::string input = "/dev/null";  // the file read as standard input
  std::string prefix;               // shell words before it: "ulimit -f 4;", "timeout 2"
  std::string redirections;
};

inline ProgramResult runProgram(const ProgramCall& c) {
  std::string command = "cd " + shellQuoted(c.folder.string()) + " && " + c.prefix;
  if (!c.env.empty()) command += " env";
  for (const auto& [name, value] : c.env) command += " " + name + "=" + shellQuoted(value);
  command += " " + shellQuoted(c.program);
  for (const std::string& a : c.args) command += " " + shellQuoted(a);
  command += c.redirections.empty() ? " >" + shellQuoted(c.out.string()) + " 2>" +
                                          shellQuoted(c.err.string()) + " <" + shellQuoted(c.input)
                                    : " " + c.redirections;
  const int rc = std::system(command.c_str());
  ProgramResult r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = readFile(c.out);
  r.err = readFile(c.err);
  return r;
}

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

  // Runs the program in run(); standard output and error are captured
  // outside run() unless `redirections` says otherwise.
  ProgramResult runProgram(const std::vector<std::string>& args, const std::string& prefix = "",
                           const std::string& redirections = "") const {
    ProgramCall c;
    c.folder = run();
    c.args = args;
    c.out = root / "stdout.txt";
    c.err = root / "stderr.txt";
    c.prefix = prefix;
    c.redirections = redirections;
    return ecotest::runProgram(c);
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
