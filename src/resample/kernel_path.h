#pragma once
// The kernel paths of the draws: which exist in this build, which the
// processor can run, which a run takes, and the compiler attributes that
// build the x86 ones. Everything that differs between processors and
// compilers for the kernels is here.
//
// The portable path is the vector unit every processor of the build's
// architecture has (resample/vector128.h: SSE2 on x86-64, NEON on arm64),
// or scalar code where there is none. The scalar path is that scalar code
// on any build (what other architectures run; for tests and comparison).
// The AVX-512 and AVX2 paths exist only in x86-64 builds by g++ or clang,
// whose function attributes compile a function for an instruction set the
// rest of the program does not assume, and whose runtime check tells
// whether the processor has it. Every path gives the same bits.
//
// A run takes one path, chosen once: the best the machine has, unless the
// environment variable ECO_KERNEL (scalar, portable, avx2, avx512, sve) names another
// one the machine has. The path is handed to the draw setup
// (resample/draw_setup.h), which carries it to every draw.

#if (defined(__x86_64__) || defined(_M_X64)) && (defined(__GNUC__) || defined(__clang__))
#define ECO_X86_KERNELS 1
// A function compiled for AVX2 with FMA (every processor with AVX2 from
// Intel and AMD has both; the runtime check asks for both), or for the
// AVX-512 subsets the kernels use. The compiler never forms an FMA of its
// own (-ffp-contract=off); only the kernels' intrinsics use them.
#define ECO_TARGET_AVX2 [[gnu::target("avx2,fma")]]
#define ECO_TARGET_AVX512 [[gnu::target("avx2,fma,avx512f,avx512dq,avx512vl,avx512bw")]]
// Helpers of a kernel are inlined into it, so that they are compiled for its
// instruction set and its registers stay registers.
#define ECO_KERNEL_INLINE [[gnu::always_inline]] inline
#define ECO_KERNEL_FLATTEN [[gnu::flatten]]
#else
#define ECO_X86_KERNELS 0
#endif

// The SVE path: arm64 Linux builds by g++ (functions compiled for SVE by
// their target attribute), chosen at run time where the processor has SVE
// with vectors wider than NEON's.
#if defined(__aarch64__) && defined(__linux__) && defined(__GNUC__) && !defined(__clang__)
#define ECO_SVE_KERNELS 1
#define ECO_TARGET_SVE [[gnu::target("+sve")]]
#else
#define ECO_SVE_KERNELS 0
#endif

// Unrolls the loop that follows (a count known at compile time, such as
// the vectors of a block) where the compiler takes the request; others
// decide for themselves.
#if defined(__GNUC__) || defined(__clang__)
#define ECO_UNROLL _Pragma("GCC unroll 16")
#else
#define ECO_UNROLL
#endif

// A function called where a rare case strikes, kept out of the loop that
// calls it (and of its registers).
#if defined(__GNUC__) || defined(__clang__)
#define ECO_RARE [[gnu::noinline, gnu::cold]]
#elif defined(_MSC_VER)
#define ECO_RARE __declspec(noinline)
#else
#define ECO_RARE
#endif

namespace eco {

// The same pointer, which the compiler may no longer take for the one it
// was given. g++ for x86-64 forms the address of each list sum once (a lea
// per sum) and stores through it, where the indexed address that loads the
// sum could store it as well; a copy it cannot see through keeps the
// stores indexed (taken once, before the loop). Others address well.
template <class T>
inline T* storesIndexed(T* p) {
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
  __asm__("" : "+r"(p));
#endif
  return p;
}

enum class KernelPath { portable, avx2, avx512, scalar, sve };
inline constexpr KernelPath kKernelPaths[] = {KernelPath::scalar, KernelPath::portable,
                                              KernelPath::avx2, KernelPath::avx512,
                                              KernelPath::sve};

// Whether this build has the path and the processor can run it.
bool kernelPathAvailable(KernelPath path);
const char* kernelPathName(KernelPath path);
// "scalar", "portable", "avx2", "avx512" or "sve"; false for anything else.
bool parseKernelPath(const char* name, KernelPath& path);

// The path a run takes: ECO_KERNEL's when the machine has it, otherwise
// the best the machine has. Read once; the same for the whole process.
KernelPath runKernelPath();

}  // namespace eco
