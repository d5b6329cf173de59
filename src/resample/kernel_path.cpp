#include "resample/kernel_path.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#if ECO_SVE_KERNELS
#include <arm_sve.h>
#include <asm/hwcap.h>
#include <sys/auxv.h>
#endif

namespace eco {
namespace {

#if ECO_SVE_KERNELS
// The bytes of an SVE vector: 16 (as NEON's) to 256.
ECO_TARGET_SVE uint64_t sveVectorBytes() { return svcntb(); }
#endif

KernelPath bestKernelPath() {
  if (kernelPathAvailable(KernelPath::avx512)) return KernelPath::avx512;
  if (kernelPathAvailable(KernelPath::avx2)) return KernelPath::avx2;
#if ECO_SVE_KERNELS
  // SVE vectors as wide as NEON's bring nothing but predicates.
  if (kernelPathAvailable(KernelPath::sve) && sveVectorBytes() > 16) return KernelPath::sve;
#endif
  return KernelPath::portable;
}

KernelPath chosenKernelPath() {
  const char* asked = std::getenv("ECO_KERNEL");
  KernelPath wanted;
  if (asked != nullptr && parseKernelPath(asked, wanted) && kernelPathAvailable(wanted)) {
    return wanted;
  }
  return bestKernelPath();
}

}  // namespace

bool kernelPathAvailable(KernelPath path) {
  switch (path) {
    case KernelPath::scalar:
    case KernelPath::portable:
      return true;
#if ECO_X86_KERNELS
    case KernelPath::avx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case KernelPath::avx512:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
             __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw");
#else
    case KernelPath::avx2:
    case KernelPath::avx512:
      break;
#endif
    case KernelPath::sve:
#if ECO_SVE_KERNELS
      return (getauxval(AT_HWCAP) & HWCAP_SVE) != 0;
#else
      break;
#endif
  }
  return false;
}

const char* kernelPathName(KernelPath path) {
  constexpr const char* kNames[] = {"portable", "avx2", "avx512", "scalar", "sve"};
  return kNames[static_cast<int>(path)];
}

bool parseKernelPath(const char* name, KernelPath& path) {
  for (KernelPath p : kKernelPaths) {
    if (std::strcmp(name, kernelPathName(p)) == 0) {
      path = p;
      return true;
    }
  }
  return false;
}

KernelPath runKernelPath() {
  // Thread-safe initialisation; nothing changes it afterwards.
  static const KernelPath path = chosenKernelPath();
  return path;
}

}  // namespace eco
