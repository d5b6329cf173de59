#include "stats/comparison.h"

#include <array>
#include <cmath>

#include "numeric/evaluation.h"
#include "numeric/quantile.h"

namespace eco {

Chances chanceProbability(float obs, std::span<const float> dist) {
  float count = 0.0f;
  for (float v : dist) {
    if (v > obs) count = count + 1.0f;
  }
  Chances c;
  c.phigh = count / static_cast<float>(dist.size());
  c.plow = 1.0f - c.phigh;
  return c;
}

std::vector<int32_t> newSpecies(std::span<const float> refprof, std::span<const float> assprof) {
  std::vector<int32_t> found;
  for (std::size_t s = 0; s < refprof.size() && s < assprof.size(); ++s) {
    if (refprof[s] == 0.0f && assprof[s] > 0.0f) found.push_back(static_cast<int32_t>(s));
  }
  return found;
}

PowerFactors powerFactors(const float* q) {
  // Positions in the standard list: 2 the 0.025 quantile, 5 the 0.25,
  // 6 the median, 7 the 0.75 and 10 the 0.975 quantile.
  const float q2 = q[1], q5 = q[4], M = q[5], q7 = q[6], q10 = q[9];
  // Fourth roots correctly rounded in extended precision; only A, B, F1
  // and U are rounded to 32 bits.
  auto root = [](float x) { return fourthRoot(x); };
  const float A = static_cast<float>(root(M));
  const float B = static_cast<float>(root(q7) - A);
  const Extended lowroot = root(q2) - B;
  const float F1 = static_cast<float>(M / ((lowroot * lowroot) * (lowroot * lowroot)));
  const float U = static_cast<float>(root(q10) + A);
  const Extended uproot = U - root(q5);
  const Extended F2 = ((uproot * uproot) * (uproot * uproot)) / M;
  return {F1, F2, Extended(0.5) * (F2 + F1)};
}

Grade gradeFor(Extended R) {
  // Strict comparisons: a NaN fails them all.
  if (R < Extended(2)) return Grade::good;
  if (R < Extended(5)) return Grade::moderate;
  if (R < Extended(10)) return Grade::low;
  return Grade::veryPoor;
}

Grade powerGrade(std::span<const float> dist) {
  constexpr auto n = static_cast<int32_t>(kProportions.size());
  std::array<float, kProportions.size()> q{}, xlo{}, xhi{};
  int32_t nmv = 0;
  EQTIL(static_cast<int32_t>(dist.size()), dist.data(), n, kProportions.data(), q.data(),
        xlo.data(), xhi.data(), nmv);
  return gradeFor(powerFactors(q.data()).R);
}

}  // namespace eco
