#include "input/open_failure.h"

#include <array>
#include <string_view>

#include "platform/files.h"
#include "records/diagnostics.h"
#include "records/file_problem.h"

namespace eco {

std::string inputOpenFailure(const std::string& baseName, const std::string& message) {
  struct File {
    std::string_view kind, extension;
  };
  constexpr std::array<File, 4> files = {
      {{"species", ".SPE"}, {"station", ".STA"}, {"data", ".DAT"}, {"ecotope", ".ETP"}}};
  for (const File& f : files) {
    if (message != "error while opening " + std::string(f.kind) + " file") continue;
    const std::string name = baseName + std::string(f.extension);
    const std::string here = platform::currentDirectory();
    return failureLine(
        name, 0, 0,
        "the " + std::string(f.kind) + " file cannot be opened in " + here + ": " +
            whyNotReadable(name) + "; check [INP] " + shownValue(baseName) +
            " and [PAI] in the header file (" +
            (platform::namesAreCaseSensitive() ? "the names are case-sensitive; " : "") +
            "a relative [PAI] is taken from the folder the program was started in, "
            "not from the header file's folder)");
  }
  return {};
}

}  // namespace eco
