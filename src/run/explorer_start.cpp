#include "run/explorer_start.h"

#include <filesystem>

#include "platform/console.h"
#include "platform/files.h"

namespace eco {

std::string enterHeaderFolder(const std::string& headerFile) {
  const std::filesystem::path p = platform::pathOf(headerFile);
  if (!p.has_parent_path() || !p.has_filename()) return headerFile;
  if (!platform::setCurrentDirectory(platform::nameOf(p.parent_path()))) return headerFile;
  return platform::nameOf(p.filename());
}

bool beginExplorerStart(CommandLine& cl) {
  if (!platform::consoleMadeForProgram()) return false;
  if (cl.action == CommandLine::Action::run && cl.headerGiven) {
    cl.headerFile = enterHeaderFolder(cl.headerFile);
  }
  return true;
}

void endExplorerStart(bool explorer) {
  if (explorer) platform::waitForKey();
}

}  // namespace eco
