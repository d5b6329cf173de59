#include "run/about.h"

#include <filesystem>
#include <string>

#include "numeric/extended.h"
#include "platform/files.h"
#include "resample/kernel_path.h"
#include "run/command_line.h"

namespace eco {
namespace {

const char* systemName() {
#if defined(_WIN32)
  return "Windows";
#elif defined(__APPLE__)
  return "macOS";
#elif defined(__linux__)
  return "Linux";
#else
  return "unknown system";
#endif
}

const char* processorName() {
#if defined(__x86_64__) || defined(_M_X64)
  return "x86-64";
#elif defined(__aarch64__) || defined(_M_ARM64)
  return "arm64";
#elif defined(__i386__) || defined(_M_IX86)
  return "x86";
#else
  return "other processor";
#endif
}

std::string compilerName() {
#if defined(__clang__)
  return std::string("clang ") + __clang_version__;
#elif defined(__GNUC__)
  return std::string("g++ ") + __VERSION__;
#elif defined(_MSC_VER)
  return "MSVC " + std::to_string(_MSC_VER);
#else
  return "unknown compiler";
#endif
}

}  // namespace

std::string versionText() {
  return std::string("ecoassess ") + kVersion + "\n" + "system: " + systemName() + " " +
         processorName() + "\n" + "compiler: " + compilerName() + "\n" +
         "vector path: " + kernelPathName(runKernelPath()) + "\n" +
         "extended precision: " + extendedKind() + "\n";
}

std::string guideLocationFor(const std::string& executable) {
  if (executable.empty()) return "docs/guide.md";
  const std::filesystem::path dir = platform::pathOf(executable).parent_path();
  for (const char* relative : {"docs/guide.md", "../share/doc/ecoassess/guide.md"}) {
    const std::filesystem::path candidate = (dir / relative).lexically_normal();
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate, ec)) return platform::nameOf(candidate);
  }
  return "docs/guide.md";
}

std::string guideLocation() { return guideLocationFor(platform::executableName()); }

}  // namespace eco
