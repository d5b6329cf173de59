#include "stats/class_tables.h"

#include <cmath>

#include "numeric/evaluation.h"
#include "numeric/machine.h"

namespace eco {

int32_t surfaceClass(float S, float meansurf, int32_t maxClass) {
  // In float, S / meansurf + 0.5 would put pseudo-samples of ordinary
  // decimal surfaces (3 x 0.1 against 0.1) into the wrong class.
  const Extended x = std::trunc(static_cast<Extended>(S) / meansurf + 0.5L);
  if (!(x <= static_cast<Extended>(maxClass))) return 0;  // above the table (or NaN)
  const int32_t c = static_cast<int32_t>(x);
  return c < 1 ? 1 : c;
}

int64_t fillClassTables(const DrawSetup& setup, float meansurf, bool biomass, UniformGenerator& g,
                        ClassTables& tables, const std::function<void(int32_t)>& progress) {
  const std::size_t n = static_cast<std::size_t>(setup.n);
  tables.simclass.assign(n, {});
  tables.densclass.assign(n, {});
  tables.nspclass.assign(n, {});
  tables.biomclass.assign(biomass ? n : 0, {});
  int64_t fellShort = 0;
  PseudoSample ps;
  for (int32_t k = 1; k <= setup.n; ++k) {
    progress(k);
    const float target = static_cast<float>((static_cast<Extended>(k) - 0.5L) * meansurf);
    for (int it = 0; it < kPseudoSamples; ++it) {
      drawPseudoSample(setup, target, g, ps);
      if (ps.fellShort) ++fellShort;
      const int32_t c = surfaceClass(ps.S, meansurf, setup.n);
      if (c == 0) continue;
      const std::size_t row = static_cast<std::size_t>(c - 1);
      tables.simclass[row].push_back(ps.similarity);
      tables.densclass[row].push_back(ps.D);
      tables.nspclass[row].push_back(ps.N);
      if (biomass) tables.biomclass[row].push_back(ps.B);
    }
  }
  return fellShort;
}

std::vector<float> classValues(const std::vector<float>& values) {
  std::vector<float> v = values;
  if (v.size() < kClassSlots) v.resize(kClassSlots, AMACH(6));
  return v;
}

}  // namespace eco
