#pragma once
// Small result records for the tests of the exports.

#include <cmath>
#include <limits>
#include <string>

#include "results/records.h"

namespace eco::samples {

inline constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

inline std::string name50(const std::string& n) { return n + std::string(50 - n.size(), ' '); }

inline Percentiles rising(float start, float step) {
  Percentiles q{};
  for (std::size_t i = 0; i < q.size(); ++i) q[i] = start + step * static_cast<float>(i);
  return q;
}

// Two classes per ecotope; the second ecotope's first class has no values.
inline EcotopeClasses classes(int32_t position, int32_t etcode, const std::string& name,
                              bool biomass, bool missingClass = false) {
  EcotopeClasses e;
  e.position = position;
  e.etcode = etcode;
  e.etname = name50(name);
  e.biomass = biomass;
  for (int32_t c = 1; c <= 2; ++c) {
    ClassRow r;
    r.cls = c;
    r.surface = 0.25f * static_cast<float>(c);
    r.q[tableIndex(Measure::similarity)] = rising(0.5f, 0.04f);
    r.q[tableIndex(Measure::density)] = rising(100.0f * static_cast<float>(c), 10.0f);
    r.q[tableIndex(Measure::biomass)] = biomass ? rising(1.5f, 0.25f) : Percentiles{};
    if (!biomass) r.q[tableIndex(Measure::biomass)].fill(kNaN);
    r.q[tableIndex(Measure::species)] = rising(3.0f, 1.0f);
    if (missingClass && c == 1) {
      for (Percentiles& q : r.q) q.fill(kNaN);
    }
    e.rows.push_back(r);
  }
  return e;
}

inline ListedSpecies listed(int32_t code, const std::string& name, float value, float plow,
                            bool sample) {
  ListedSpecies s;
  s.specode = code;
  s.name = name50(name);
  s.hasValues = true;
  s.value = value;
  s.plow = plow;
  s.phigh = 1.0f - plow;
  s.hasSampleValues = sample;
  s.assValue = sample ? 4.0f : 0.0f;
  s.refValue = sample ? 2.5f : 0.0f;
  return s;
}

inline ListedSpecies named(int32_t code, const std::string& name) {
  ListedSpecies s;
  s.specode = code;
  s.name = name50(name);
  return s;
}

inline MeasureAssessment measure(Measure m, float observed, bool reference) {
  MeasureAssessment a;
  a.measure = m;
  a.grade = Grade::moderate;
  a.percentiles = rising(1.0f, 0.5f);
  a.observed = observed;
  a.hasReference = reference;
  a.reference = reference ? 7.0f : 0.0f;
  a.plow = 0.9995f;
  a.phigh = 0.0005f;
  a.seLow = 0.0125f;
  a.seHigh = 0.25f;
  return a;
}

inline EcotopeAssessment assessment(int32_t position, int32_t etcode, const std::string& name,
                                    bool biomass) {
  EcotopeAssessment e;
  e.position = position;
  e.etcode = etcode;
  e.etname = name50(name);
  e.refSurface = 0.75f;
  e.assSurface = 0.5f;
  e.surfaceWarning = true;
  MeasureAssessment sim = measure(Measure::similarity, 0.625f, false);
  sim.contributors = {listed(11, "Festuca rubra", 0.125f, 0.75f, false)};
  e.measures.push_back(sim);
  MeasureAssessment nsp = measure(Measure::species, 5.0f, true);
  nsp.newSpecies = {named(12, "Carex, \"sand\" sedge"), named(13, "O'Brien's moss")};
  e.measures.push_back(nsp);
  MeasureAssessment den = measure(Measure::density, 42.5f, true);
  den.increases = {listed(11, "Festuca rubra", 1.5f, 1.0f, true)};
  den.decreases = {listed(14, "Ammophila arenaria", -2.0f, 0.0f, true)};
  e.measures.push_back(den);
  if (biomass) {
    MeasureAssessment bio = measure(Measure::biomass, 3.25f, true);
    bio.increases = {listed(11, "Festuca rubra", 0.5f, 0.5f, true)};
    e.measures.push_back(bio);
  }
  return e;
}

}  // namespace eco::samples
