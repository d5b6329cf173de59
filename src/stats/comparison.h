#pragma once
// Observed value against its reference distribution.

#include <cstdint>
#include <span>
#include <vector>

#include "numeric/extended.h"
#include "results/grade.h"

namespace eco {

struct Chances {
  float plow = 0.0f;   // share of pseudo-samples not higher than observed
  float phigh = 0.0f;  // share strictly higher
};

// A not-a-number value in dist is never higher than obs.
Chances chanceProbability(float obs, std::span<const float> dist);

// Species absent from the reference and present in the assessment sample,
// in species order (0-based indices).
std::vector<int32_t> newSpecies(std::span<const float> refprof, std::span<const float> assprof);

// The power grade of a distribution (one quantile call).
Grade powerGrade(std::span<const float> dist);
// The spread of a distribution from its quantiles at the 11 standard
// proportions: the downward factor F1, the upward factor F2 and their mean R.
struct PowerFactors {
  float F1 = 0;
  Extended F2 = 0;
  Extended R = 0;
};
PowerFactors powerFactors(const float* q);
// The grade of R, tested against 2, 5 and 10 with strict comparisons.
Grade gradeFor(Extended R);

}  // namespace eco
