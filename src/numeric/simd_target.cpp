#include "numeric/simd_target.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace eco {
namespace {

KernelPath bestKernelPath() {
  if (kernelPathAvailable(KernelPath::avx512)) return KernelPath::avx512;
  if (kernelPathAvailable(KernelPath::avx2)) return KernelPath::avx2;
  return KernelPath::portable;
}

KernelPath initialKernelPath() {
  KernelPath path = bestKernelPath();
  const char* asked = std::getenv("ECO_KERNEL");
  KernelPath wanted;
  if (asked != nullptr && parseKernelPath(asked, wanted) && kernelPathAvailable(wanted)) {
    path = wanted;
  }
  return path;
}

std::atomic<int>& activeKernelSlot() {
  static std::atomic<int> slot{static_cast<int>(initialKernelPath())};
  return slot;
}

}  // namespace

bool kernelPathAvailable(KernelPath path) {
  switch (path) {
    case KernelPath::portable:
      return true;
#if ECO_X86_KERNELS
    case KernelPath::avx2:
      return __builtin_cpu_supports("avx2");
    case KernelPath::avx512:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
             __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") &&
             __builtin_cpu_supports("avx512bw");
#else
    case KernelPath::avx2:
    case KernelPath::avx512:
      break;
#endif
  }
  return false;
}

const char* kernelPathName(KernelPath path) { return byPath(path, "portable", "avx2", "avx512"); }

bool parseKernelPath(const char* name, KernelPath& path) {
  for (KernelPath p : {KernelPath::portable, KernelPath::avx2, KernelPath::avx512}) {
    if (std::strcmp(name, kernelPathName(p)) == 0) {
      path = p;
      return true;
    }
  }
  return false;
}

KernelPath activeKernelPath() {
  return static_cast<KernelPath>(activeKernelSlot().load(std::memory_order_relaxed));
}

bool selectKernelPath(KernelPath path) {
  if (!kernelPathAvailable(path)) return false;
  activeKernelSlot().store(static_cast<int>(path), std::memory_order_relaxed);
  return true;
}

}  // namespace eco
