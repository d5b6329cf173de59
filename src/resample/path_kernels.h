#pragma once
// Everything the draws take from the kernel path, chosen in one place: the
// species loops, the station draws, and the path's cost of a dense lane in
// the layout's cost model (resample/layout.h).

#include "resample/kernel_path.h"
#include "resample/station_draws.h"
#include "resample/sum_kernels.h"

namespace eco {

struct PathKernels {
  KernelPath path = KernelPath::portable;
  const SpeciesKernels* species = nullptr;
  StationDrawKernel stations = nullptr;
  double denseLaneCost = 0.0;  // against 1 for a group of list entries
  double floatLaneCost = 0.0;  // the same where the values are floats
};

// The kernels of a path; a path the machine lacks must not be asked for
// (kernelPathAvailable).
const PathKernels& pathKernels(KernelPath path);

}  // namespace eco
