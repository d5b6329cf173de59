#include "resample/path_kernels.h"

#include <cassert>

namespace eco {
namespace {

// The dense lane costs were measured on the benchmark surveys; only the
// speed depends on them.
const PathKernels kScalarPath{KernelPath::scalar, &kScalarSpeciesKernels, &drawStationsScalar, 0.15,
                              0.10};
const PathKernels kPortablePath{KernelPath::portable, &kPortableSpeciesKernels,
                                &drawStationsPortable, 0.10, 0.04};
const PathKernels kAvx2Path{KernelPath::avx2, &kAvx2SpeciesKernels, &drawStationsAvx2, 0.06, 0.02};
const PathKernels kAvx512Path{KernelPath::avx512, &kAvx512SpeciesKernels, &drawStationsAvx512, 0.04,
                              0.015};
// SVE: the rows in vectors of 256 bits or more, the rest as on NEON; its
// costs are AVX2's (not measured on SVE hardware).
const PathKernels kSvePath{KernelPath::sve, &kSveSpeciesKernels, &drawStationsPortable, 0.06, 0.02};

}  // namespace

const PathKernels& pathKernels(KernelPath path) {
  assert(kernelPathAvailable(path));
  switch (path) {
    case KernelPath::avx512:
      return kAvx512Path;
    case KernelPath::avx2:
      return kAvx2Path;
    case KernelPath::scalar:
      return kScalarPath;
    case KernelPath::sve:
      return kSvePath;
    case KernelPath::portable:
      break;
  }
  return kPortablePath;
}

}  // namespace eco
