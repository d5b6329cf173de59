#pragma once
// The located detail of an input file that cannot be opened.

#include <string>

namespace eco {

// `baseName` is [INP]; `message` the failure message of openInputFiles
// ("error while opening species file"), which names the file that failed.
std::string inputOpenFailure(const std::string& baseName, const std::string& message);

}  // namespace eco
