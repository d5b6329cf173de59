#include "resample/draw_targets.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/evaluation.h"

namespace eco {

float summaryTarget(int32_t k, float meansurf) {
  return static_cast<float>((Extended(k) - 0.5) * meansurf);
}

float reportTarget(const StationGroup& reference, const StationGroup& assessment) {
  return static_cast<float>(assessment.sumsurf - Extended(0.5) * reference.meansurf);
}

float stallingSum(float surface) {
  if (!(surface > 0.0f) || !std::isfinite(surface)) return std::numeric_limits<float>::infinity();
  // A sum growing from 0 reaches the first power of two at which adding
  // the surface rounds back to it, and stays there.
  for (float p = std::ldexp(1.0f, std::ilogb(surface) + 20); std::isfinite(p); p *= 2.0f) {
    if (p + surface == p) return p;
  }
  return std::numeric_limits<float>::infinity();
}

float largestSurface(const StationGroup& group) {
  float m = 0.0f;
  for (float x : group.surf) m = std::max(m, x);
  return m;
}

double expectedDraws(float target, float meansurf, float largestSurface, int32_t maxstat) {
  const double cap = 2.0 * std::max(maxstat, 0);
  if (!(target > 0.0f)) return 0.0;
  if (target > stallingSum(largestSurface)) return cap;
  if (!(meansurf > 0.0f) || !std::isfinite(meansurf)) return cap;
  return std::min(cap, static_cast<double>(target) / meansurf + 1.0);
}

double summaryDraws(const StationGroup& reference, int32_t maxstat) {
  const float big = largestSurface(reference);
  double draws = 0;
  for (int32_t k = 1; k <= reference.nstat(); ++k) {
    draws += expectedDraws(summaryTarget(k, reference.meansurf), reference.meansurf, big, maxstat);
  }
  return draws;
}

double reportDraws(const StationGroup& reference, const StationGroup& assessment, int32_t maxstat) {
  return expectedDraws(reportTarget(reference, assessment), reference.meansurf,
                       largestSurface(reference), maxstat);
}

}  // namespace eco
