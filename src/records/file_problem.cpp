#include "records/file_problem.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/files.h"

namespace fs = std::filesystem;

namespace eco {
namespace {

std::string systemReason(int error) {
  switch (error) {
    case ENOENT:
      return "it does not exist";
    case EACCES:
    case EPERM:
      return "permission is denied";
    case ENOTDIR:
      return "a part of the path is not a directory";
    case ENAMETOOLONG:
      return "the name is too long";
    case ELOOP:
      return "it is a loop of symbolic links";
    case EROFS:
      return "the file system is read-only";
    default:
      return std::strerror(error);
  }
}

}  // namespace

std::string whyNotReadable(const std::string& path) {
  if (path.empty()) return "no name is given";
  std::error_code ec;
  const fs::file_status st = fs::status(platform::pathOf(path), ec);
  if (ec) return systemReason(ec.value());
  if (fs::is_directory(st)) return "it is a directory";
  if (const int e = platform::accessError(path, platform::Access::read)) return systemReason(e);
  return "it cannot be read";
}

std::string whyNotEnterable(const std::string& path) {
  if (path.empty()) return "no path is given";
  std::error_code ec;
  const fs::file_status st = fs::status(platform::pathOf(path), ec);
  if (ec) return systemReason(ec.value());
  if (!fs::is_directory(st)) return "it is not a directory";
  if (const int e = platform::accessError(path, platform::Access::enter)) return systemReason(e);
  return "it cannot be entered";
}

std::string whyNotCreatable(const std::string& path) {
  std::error_code ec;
  const fs::file_status st = fs::status(platform::pathOf(path), ec);
  if (!ec && fs::is_directory(st)) return "a directory of that name is in the way";
  if (const int e = ec ? 0 : platform::accessError(path, platform::Access::write)) {
    return e == EACCES ? "the file exists and is read-only" : systemReason(e);
  }
  const fs::path parent = platform::pathOf(path).parent_path();
  const std::string dir = parent.empty() ? std::string(".") : platform::nameOf(parent);
  if (const int e = platform::accessError(dir, platform::Access::write)) {
    return e == EACCES ? "the directory is not writable" : systemReason(e);
  }
  return "it cannot be created";
}

std::string absolutePath(const std::string& path) { return platform::absoluteName(path); }

}  // namespace eco
