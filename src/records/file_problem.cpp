#include "records/file_problem.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

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
  const fs::file_status st = fs::status(path, ec);
  if (ec) return systemReason(ec.value());
  if (fs::is_directory(st)) return "it is a directory";
  if (::access(path.c_str(), R_OK) != 0) return systemReason(errno);
  return "it cannot be read";
}

std::string whyNotEnterable(const std::string& path) {
  if (path.empty()) return "no path is given";
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (ec) return systemReason(ec.value());
  if (!fs::is_directory(st)) return "it is not a directory";
  if (::access(path.c_str(), X_OK) != 0) return systemReason(errno);
  return "it cannot be entered";
}

std::string whyNotCreatable(const std::string& path) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (!ec && fs::is_directory(st)) return "a directory of that name is in the way";
  if (!ec && ::access(path.c_str(), W_OK) != 0) {
    return errno == EACCES ? "the file exists and is read-only" : systemReason(errno);
  }
  const fs::path parent = fs::path(path).parent_path();
  const std::string dir = parent.empty() ? std::string(".") : parent.string();
  if (::access(dir.c_str(), W_OK) != 0) {
    return errno == EACCES ? "the directory is not writable" : systemReason(errno);
  }
  return "it cannot be created";
}

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  const fs::path p = fs::absolute(path, ec);
  if (ec) return path;
  return p.lexically_normal().string();
}

}  // namespace eco
