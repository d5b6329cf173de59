#pragma once
// The command line: the header file's name first, options after it.
//
//   ecoassess [OPTIONS] HEADERFILE [OPTIONS]
//   ecoassess --help | -h | --version
//
// Options (--threads N, --csv, --html, --strict) may come before and after
// the header file, in any order; a value follows as the next argument or
// after "=". The first argument that is not an option is the header file,
// whatever it looks like ("-x.hdr"). After it, an argument that starts with
// "-" and is not a known option, or a known option without its value, is a
// usage error; any other further argument is ignored.

#include <string>
#include <vector>

namespace eco {

// The version, set once in the build (CMakeLists.txt, project VERSION).
inline constexpr const char* kVersion = ECO_VERSION;

struct CommandLine {
  enum class Action { run, help, version, usageError };
  Action action = Action::run;
  bool headerGiven = false;
  std::string headerFile;
  int threads = 0;  // 0: one per hardware thread
  bool csv = false;
  bool html = false;
  bool strict = false;  // any warning about the input ends the run
  std::string error;    // the usage error, without "ecoassess: "
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

// "usage: ecoassess HEADERFILE [--threads N] [--csv] [--html] [--strict]"
std::string usageLine();
// What --help prints: usage, options and the header keywords.
std::string helpText();
// What --version prints: the version, the system, the compiler and the
// vector path this processor gets.
std::string versionText();

}  // namespace eco
