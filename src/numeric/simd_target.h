#pragma once
// The kernel paths of the species loops and the station draws: which exist
// in this build, which the processor can run, which is in use, and the
// compiler attributes that build the x86 ones. Everything that differs
// between processors and compilers for these kernels is here.
//
// The vector paths (AVX-512, AVX2) exist only in x86-64 builds by g++ or
// clang, whose function attributes compile a function for an instruction
// set the rest of the program does not assume, and whose runtime check tells
// whether the processor has it. Every other build has the portable path
// alone; it gives the same bits as the vector paths.
//
// The path is chosen once, before any parallel work: the best the machine
// has, unless the environment variable ECO_KERNEL (portable, avx2, avx512)
// or selectKernelPath() asks for another one. A path the machine lacks is
// never taken.

#if (defined(__x86_64__) || defined(_M_X64)) && (defined(__GNUC__) || defined(__clang__))
#define ECO_X86_KERNELS 1
// A function compiled for AVX2, or for the AVX-512 subsets the kernels use.
#define ECO_TARGET_AVX2 [[gnu::target("avx2")]]
#define ECO_TARGET_AVX512 [[gnu::target("avx2,avx512f,avx512dq,avx512vl,avx512bw")]]
// Helpers of a kernel are inlined into it, so that they are compiled for its
// instruction set and its registers stay registers.
#define ECO_KERNEL_INLINE [[gnu::always_inline]] inline
#define ECO_KERNEL_FLATTEN [[gnu::flatten]]
#else
#define ECO_X86_KERNELS 0
#endif

namespace eco {

enum class KernelPath { portable, avx2, avx512 };

// Whether this build has the path and the processor can run it.
bool kernelPathAvailable(KernelPath path);
const char* kernelPathName(KernelPath path);
// "portable", "avx2" or "avx512"; false for anything else.
bool parseKernelPath(const char* name, KernelPath& path);

KernelPath activeKernelPath();
// Uses the given path from now on; false (and no change) when the machine
// lacks it. Not to be called while draws are running.
bool selectKernelPath(KernelPath path);

// The one of three things (kernels, costs) that belongs to a path.
template <class T>
constexpr T byPath(KernelPath path, T portable, T avx2, T avx512) {
  switch (path) {
    case KernelPath::avx512:
      return avx512;
    case KernelPath::avx2:
      return avx2;
    case KernelPath::portable:
      break;
  }
  return portable;
}

}  // namespace eco
