#include "fuzz_check.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace eco::fuzz {
namespace {

std::string& currentInput() {
  static std::string name;
  return name;
}

std::string& failureContext() {
  static std::string context;
  return context;
}

bool& insideFlag() {
  static bool flag = false;
  return flag;
}

}  // namespace

void fail(std::string_view what) {
  // stdio, not the C++ streams: a target may have redirected those.
  std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
  if (!currentInput().empty()) std::fprintf(stderr, "input: %s\n", currentInput().c_str());
  if (!failureContext().empty()) {
    std::fprintf(stderr, "---- context ----\n%s\n----\n", failureContext().c_str());
  }
  std::fflush(stderr);
  std::abort();
}

void setFailureContext(std::string context) { failureContext() = std::move(context); }
void setCurrentInput(std::string name) { currentInput() = std::move(name); }

void enter() { insideFlag() = true; }
void leave() { insideFlag() = false; }
bool inside() { return insideFlag(); }

}  // namespace eco::fuzz
