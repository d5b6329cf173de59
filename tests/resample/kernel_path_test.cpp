#include "resample/kernel_path.h"

#include <gtest/gtest.h>

namespace eco {
namespace {

constexpr KernelPath kPaths[] = {KernelPath::portable, KernelPath::avx2, KernelPath::avx512};

// ECO_KERNEL takes these names, and nothing else.
TEST(KernelPaths, NamesReadBack) {
  for (KernelPath p : kPaths) {
    KernelPath read = KernelPath::portable;
    ASSERT_TRUE(parseKernelPath(kernelPathName(p), read)) << kernelPathName(p);
    EXPECT_EQ(read, p);
  }
  for (const char* name : {"", "AVX2", "sse2", "avx512 ", "portable2", "neon"}) {
    KernelPath read = KernelPath::avx2;
    EXPECT_FALSE(parseKernelPath(name, read)) << name;
    EXPECT_EQ(read, KernelPath::avx2) << name;
  }
}

// The path a run takes is one the machine has; off x86-64 only the portable
// path exists.
TEST(KernelPaths, RunTakesAnAvailablePath) {
  EXPECT_TRUE(kernelPathAvailable(KernelPath::portable));
#if !ECO_X86_KERNELS
  EXPECT_FALSE(kernelPathAvailable(KernelPath::avx2));
  EXPECT_FALSE(kernelPathAvailable(KernelPath::avx512));
#endif
  EXPECT_TRUE(kernelPathAvailable(runKernelPath()));
}

}  // namespace
}  // namespace eco
