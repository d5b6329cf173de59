#pragma once
// What the fuzz targets share: the libFuzzer entry point, the check that
// turns a broken invariant into a crash the fuzzer keeps, and the name of
// the input being run (set by the replay main, printed with a failure).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace eco::fuzz {

// Prints "invariant broken: <what>" with the current input's name and any
// context the target registered, then aborts (libFuzzer saves the input).
[[noreturn]] void fail(std::string_view what);

// Extra text printed by fail(), e.g. the console output of the run; the
// target sets it and clears it when the input is done.
void setFailureContext(std::string context);

// The replay main names the file it runs; libFuzzer leaves it empty.
void setCurrentInput(std::string name);

// A target runs its input between enter() and leave(): a process exit in
// between (the program ending itself instead of returning) is a failure
// the replay main reports instead of passing silently.
void enter();
void leave();
bool inside();

}  // namespace eco::fuzz

#define ECO_FUZZ_CHECK(cond, what)        \
  do {                                    \
    if (!(cond)) ::eco::fuzz::fail(what); \
  } while (false)
