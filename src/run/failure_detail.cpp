#include "run/failure_detail.h"

#include "platform/files.h"
#include "records/diagnostics.h"
#include "records/file_problem.h"

namespace eco {
namespace {

int64_t lineOf(const std::map<std::string, int64_t>& lines, const std::string& keyword) {
  const auto found = lines.find(keyword);
  return found == lines.end() ? 0 : found->second;
}

std::string here() { return platform::currentDirectory(); }

}  // namespace

std::string headerOpenFailure(const std::string& name) {
  // Without a name the usage line that follows says what is missing.
  if (name.empty()) return {};
  return failureLine(name, 0, 0,
                     "the header file cannot be opened: " + whyNotReadable(name) +
                         "; name an existing header file as the first argument");
}

std::string noInputPathFailure(const std::string& headerName,
                               const std::map<std::string, int64_t>& lines) {
  const int64_t line = lineOf(lines, "[PAI]");
  if (line == 0) {
    return failureLine(headerName, 0, 0,
                       "no [PAI] names the input directory: add a line such as [PAI] '.' (the "
                       "directory of the input files)");
  }
  return failureLine(headerName, line, 0,
                     "[PAI] gives no input directory (an unquoted value ends at a slash, and "
                     "'dummy' means none): enclose the path in apostrophes, e.g. "
                     "[PAI] '/data/in'");
}

std::string directoryFailure(const std::string& headerName,
                             const std::map<std::string, int64_t>& lines, const std::string& path,
                             bool output) {
  const std::string keyword = output ? "[PAO]" : "[PAI]";
  std::string text = std::string("the ") + (output ? "output" : "input") + " directory " +
                     shownValue(path) + " (" + keyword +
                     ") cannot be entered: " + whyNotEnterable(path) + "; ";
  if (platform::isAbsoluteName(path)) {
    text += "check " + keyword;
  } else {
    text += "a relative path is taken from " + here() + (output ? " (the input directory)" : "") +
            "; check " + keyword;
  }
  return failureLine(headerName, lineOf(lines, keyword), 0, text);
}

std::string outputFailure(const std::string& message, const RunSettings& settings) {
  const std::string opening = "error while opening ";
  const std::string writing = "error while writing output file ";
  std::string name;
  const std::string ending = " output file";
  if (message.rfind(opening, 0) == 0 && message.size() > opening.size() + ending.size() &&
      message.compare(message.size() - ending.size(), ending.size(), ending) == 0) {
    // ".SIM", ".ASS", ".tables.csv", ...
    name = trimmed(settings.outputName) +
           message.substr(opening.size(), message.size() - opening.size() - ending.size());
    // [OUT] may name a folder too; the program creates none.
    const std::filesystem::path folder = std::filesystem::path(name).parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::exists(folder, ec)) {
      return failureLine(name, 0, 0,
                         "the output file cannot be created in " + here() + ": its folder " +
                             shownValue(folder.string()) +
                             " does not exist, and the program creates no folder; create it, or "
                             "choose another [OUT] or [PAO]");
    }
    return failureLine(name, 0, 0,
                       "the output file cannot be created in " + here() + ": " +
                           whyNotCreatable(name) +
                           "; remove what is in the way, or choose another [OUT] or [PAO]");
  }
  if (message.rfind(writing, 0) == 0) {
    name = message.substr(writing.size());
    return failureLine(name, 0, 0,
                       "writing failed in " + here() +
                           ": the disk is full or the file system refused the data; free some "
                           "space or choose another [PAO]");
  }
  return {};
}

}  // namespace eco
