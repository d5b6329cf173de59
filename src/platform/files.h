#pragma once
// Files and folders by name. Names are UTF-8 inside the program; on Windows
// they reach the system through its wide-character calls, so a name in any
// script works whatever the code page, and elsewhere the bytes are passed
// on unchanged.

#include <cstdint>
#include <filesystem>
#include <string>

namespace eco::platform {

// The name as a path, and back (UTF-8 both ways).
std::filesystem::path pathOf(const std::string& name);
std::string nameOf(const std::filesystem::path& path);

enum class FileKind { missing, regular, directory, other };
// What `name` is, without following a symbolic link (a link is `other`).
// A name that cannot be looked at counts as missing.
FileKind fileKind(const std::string& name);

enum class Access { read, write, enter };
// 0 when this process may use `name` that way, else the reason as an errno
// value (ENOENT, EACCES, ...). On Windows only existence and the read-only
// attribute can be told beforehand.
int accessError(const std::string& name, Access how);

// Puts `from` in place of `to`, replacing an existing file of that name.
// On failure `error` (when given) gets the reason as an errno value.
bool replaceFile(const std::string& from, const std::string& to, int* error = nullptr);
// The same by name only: safe inside a signal handler (no allocation).
bool moveFile(const char* from, const char* to);
// Removes a file. Safe inside a signal handler (no allocation on POSIX).
bool removeFile(const char* name);

bool setCurrentDirectory(const std::string& name);
// "." when it cannot be told.
std::string currentDirectory();
// `name` made absolute from the current directory and normalised; the name
// itself when that fails.
std::string absoluteName(const std::string& name);
bool isAbsoluteName(const std::string& name);

// This process's id (for temporary names).
int64_t processId();
// The program's own file, or an empty string.
std::string executableName();

// Whether two names that differ only in letter case name different files
// (Linux: yes; Windows and macOS, as usually set up: no).
bool namesAreCaseSensitive();

}  // namespace eco::platform
