#pragma once
// Why a file or directory cannot be used, in words for the located detail
// of a failure ("it does not exist", "permission is denied").

#include <string>

namespace eco {

// A file that cannot be opened for reading.
std::string whyNotReadable(const std::string& path);
// A directory that cannot be made the current directory.
std::string whyNotEnterable(const std::string& path);
// A file that cannot be created or overwritten.
std::string whyNotCreatable(const std::string& path);
// `path` made absolute from the current directory, for messages; the path
// itself when that fails.
std::string absolutePath(const std::string& path);

}  // namespace eco
