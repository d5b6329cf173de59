#pragma once
// Every distribution of a run, a surface class's in the summary tables as
// an ecotope's in the report, is made of this many pseudo-samples per
// target surface: the draws, the estimate of a run's cost and the Monte
// Carlo error of a chance probability all count on it.

#include <cstdint>

namespace eco {

inline constexpr int32_t kPseudoSamples = 2000;

}  // namespace eco
