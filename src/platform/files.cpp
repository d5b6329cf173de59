#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace eco::platform {

fs::path pathOf(const std::string& name) {
  return fs::path(std::u8string(name.begin(), name.end()));
}

std::string nameOf(const fs::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

FileKind fileKind(const std::string& name) {
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(pathOf(name), ec);
  if (ec || !fs::exists(st)) return FileKind::missing;
  if (fs::is_regular_file(st)) return FileKind::regular;
  if (fs::is_directory(st)) return FileKind::directory;
  return FileKind::other;
}

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& name) {
  if (name.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), w.data(), n);
  return w;
}

}  // namespace

int accessError(const std::string& name, Access how) {
  const std::wstring w = wide(name);
  const DWORD attributes = GetFileAttributesW(w.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD e = GetLastError();
    if (e == ERROR_ACCESS_DENIED) return EACCES;
    if (e == ERROR_FILENAME_EXCED_RANGE) return ENAMETOOLONG;
    if (e == ERROR_DIRECTORY) return ENOTDIR;
    return ENOENT;
  }
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (how == Access::write && !folder && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return EACCES;
  }
  if (how == Access::enter && !folder) return ENOTDIR;
  return 0;
}

namespace {

int errnoOf(DWORD e) {
  switch (e) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    default:
      return EIO;
  }
}

}  // namespace

bool replaceFile(const std::string& from, const std::string& to, int* error) {
  if (MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
    return true;
  }
  if (error != nullptr) *error = errnoOf(GetLastError());
  return false;
}

// Runs on the console handler's thread too: fixed buffers, no allocation.
bool moveFile(const char* from, const char* to) {
  wchar_t f[4096], t[4096];
  return MultiByteToWideChar(CP_UTF8, 0, from, -1, f, 4096) > 0 &&
         MultiByteToWideChar(CP_UTF8, 0, to, -1, t, 4096) > 0 &&
         MoveFileExW(f, t, MOVEFILE_REPLACE_EXISTING) != 0;
}

bool removeFile(const char* name) {
  wchar_t w[4096];
  const int n = MultiByteToWideChar(CP_UTF8, 0, name, -1, w, 4096);
  return n > 0 && DeleteFileW(w) != 0;
}

int64_t processId() { return static_cast<int64_t>(GetCurrentProcessId()); }

std::string executableName() {
  std::wstring w(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, w.data(), static_cast<DWORD>(w.size()));
  if (n == 0 || n >= w.size()) return {};
  w.resize(n);
  return nameOf(fs::path(w));
}

bool namesAreCaseSensitive() { return false; }

#else

int accessError(const std::string& name, Access how) {
  const int mode = how == Access::read ? R_OK : how == Access::write ? W_OK : X_OK;
  return ::access(name.c_str(), mode) == 0 ? 0 : errno;
}

bool replaceFile(const std::string& from, const std::string& to, int* error) {
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  if (error != nullptr) *error = errno;
  return false;
}

bool moveFile(const char* from, const char* to) { return ::rename(from, to) == 0; }

bool removeFile(const char* name) { return ::unlink(name) == 0; }

int64_t processId() { return static_cast<int64_t>(::getpid()); }

std::string executableName() {
  std::error_code ec;
  const fs::path p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : nameOf(p);
}

bool namesAreCaseSensitive() {
#ifdef __APPLE__
  return false;
#else
  return true;
#endif
}

#endif

bool setCurrentDirectory(const std::string& name) {
  std::error_code ec;
  fs::current_path(pathOf(name), ec);
  return !ec;
}

std::string currentDirectory() {
  std::error_code ec;
  const fs::path p = fs::current_path(ec);
  return ec ? std::string(".") : nameOf(p);
}

std::string absoluteName(const std::string& name) {
  std::error_code ec;
  const fs::path p = fs::absolute(pathOf(name), ec);
  if (ec) return name;
  return nameOf(p.lexically_normal());
}

bool isAbsoluteName(const std::string& name) { return pathOf(name).is_absolute(); }

}  // namespace eco::platform
