#include "resample/kernel_path.h"

#include <gtest/gtest.h>

namespace eco {
namespace {

constexpr KernelPath kPaths[] = {KernelPath::scalar, KernelPath::portable, KernelPath::avx2,
                                 KernelPath::avx512, KernelPath::sve};

// ECO_KERNEL takes these names, and nothing else.
TEST(KernelPaths, NamesReadBack) {
  for (KernelPath p : kPaths) {
    KernelPath read = KernelPath::portable;
    ASSERT_TRUE(parseKernelPath(kernelPathName(p), read)) << kernelPathName(p);
    EXPECT_EQ(read, p);
  }
  for (const char* name : {"", "AVX2", "sse2", "avx512 ", "portable2", "neon", "SVE"}) {
    KernelPath read = KernelPath::avx2;
    EXPECT_FALSE(parseKernelPath(name, read)) << name;
    EXPECT_EQ(read, KernelPath::avx2) << name;
  }
}

// The path a run takes is one the machine has; the x86 paths exist only on
// x86-64, the SVE path only on arm64.
TEST(KernelPaths, RunTakesAnAvailablePath) {
  EXPECT_TRUE(kernelPathAvailable(KernelPath::portable));
#if !ECO_X86_KERNELS
  EXPECT_FALSE(kernelPathAvailable(KernelPath::avx2));
  EXPECT_FALSE(kernelPathAvailable(KernelPath::avx512));
#endif
#if !ECO_SVE_KERNELS
  EXPECT_FALSE(kernelPathAvailable(KernelPath::sve));
#endif
  EXPECT_TRUE(kernelPathAvailable(runKernelPath()));
}

}  // namespace
}  // namespace eco
