#pragma once
// The exactness tests over millions of inputs run only when asked: configure
// with -DECO_LONG_TESTS=ON, or set ECO_LONG_TESTS=1 in the environment of
// the test run.
#include <cstdlib>
#include <cstring>

#include "resample/kernel_path.h"

namespace eco::test {

inline bool longTests() {
  const char* v = std::getenv("ECO_LONG_TESTS");
  if (v != nullptr) return *v != '\0' && std::strcmp(v, "0") != 0;
#ifdef ECO_LONG_TESTS_DEFAULT
  return ECO_LONG_TESTS_DEFAULT != 0;
#else
  return false;
#endif
}

// The number of inputs of a randomised test: `normal` in the default run,
// `long_` in the long one.
inline long inputs(long normal, long long_) { return longTests() ? long_ : normal; }

inline constexpr KernelPath kAllPaths[] = {KernelPath::scalar, KernelPath::portable,
                                           KernelPath::avx2, KernelPath::avx512, KernelPath::sve};

}  // namespace eco::test
