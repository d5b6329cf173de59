#pragma once
// The results of a run as plain records: the one place where values leave
// the statistics. The summary pass fills one EcotopeClasses per ecotope, the
// report pass one EcotopeAssessment per reported ecotope; every writer (the
// fixed-format report and tables, the CSV files, the HTML report) reads
// these records and nothing else of the statistics.
//
// Names are kept as stored (50 characters, blank padded): the fixed-format
// writers need the padding, the others trim it. A value that does not exist
// is a NaN unless a flag says the field is absent.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "numeric/quantile.h"
#include "results/grade.h"
#include "results/pseudo_samples.h"

namespace eco {

// The percentiles at the proportions of kProportions (0.01 .. 0.99), the
// only ones the system uses.
using Percentiles = std::array<float, kProportions.size()>;

// The four measures. The summary tables go similarity, density, biomass,
// species; the report goes similarity, species, density, biomass.
enum class Measure { similarity, density, biomass, species };

inline constexpr std::array<Measure, 4> kTableOrder = {Measure::similarity, Measure::density,
                                                       Measure::biomass, Measure::species};
inline constexpr std::array<Measure, 4> kReportOrder = {Measure::similarity, Measure::species,
                                                        Measure::density, Measure::biomass};

// "similarity", "density", "biomass", "species".
inline const char* measureName(Measure m) {
  switch (m) {
    case Measure::similarity:
      return "similarity";
    case Measure::density:
      return "density";
    case Measure::biomass:
      return "biomass";
    case Measure::species:
      break;
  }
  return "species";
}
// Position of a measure in ClassRow::q.
inline std::size_t tableIndex(Measure m) { return static_cast<std::size_t>(m); }

// --- Summary pass --------------------------------------------------------

// One surface class c of one ecotope: a row of each summary table.
struct ClassRow {
  int32_t cls = 0;                 // 1..n
  float surface = 0;               // c x the mean reference station surface
  std::array<Percentiles, 4> q{};  // per measure at tableIndex(); biomass NaN without biomass
};

struct EcotopeClasses {
  int32_t position = 0;  // 0-based position in the ecotope file
  int32_t etcode = 0;
  std::string etname;    // 50 characters
  bool biomass = false;  // the data carry biomass: the biomass table exists
  std::vector<ClassRow> rows;
};

// --- Report pass ---------------------------------------------------------

// One species of a list of the report.
struct ListedSpecies {
  int32_t specode = 0;
  std::string name;  // 50 characters
  // Absent in the list of new species, which holds names only.
  bool hasValues = false;
  float value = 0, plow = 0, phigh = 0;
  // The back-transformed mean values of the two samples: density and
  // biomass lists only.
  bool hasSampleValues = false;
  float assValue = 0, refValue = 0;
};

struct MeasureAssessment {
  Measure measure = Measure::similarity;
  Grade grade = Grade::good;
  Percentiles percentiles{};
  float observed = 0;
  bool hasReference = false;  // the similarity has no reference value
  float reference = 0;
  float plow = 0, phigh = 0;  // chance probabilities of the observed value
  // Their Monte Carlo standard errors over the kPseudoSamples draws.
  float seLow = 0, seHigh = 0;
  // similarity: the contributing species; species count: every new species
  // (the report prints the first 20); density and biomass: the largest
  // increases and decreases.
  std::vector<ListedSpecies> contributors, newSpecies, increases, decreases;
};

struct EcotopeAssessment {
  int32_t position = 0;
  int32_t etcode = 0;
  std::string etname;                       // 50 characters
  float refSurface = 0, assSurface = 0;     // total surfaces of the two samples
  bool surfaceWarning = false;              // the reference surfaces are very unequal
  std::vector<MeasureAssessment> measures;  // report order; no biomass without biomass
};

// --- A whole run ---------------------------------------------------------

// What the HTML report shows: both passes, kept until the run ends.
struct RunResults {
  bool summaryRan = false, reportRan = false;
  std::vector<EcotopeClasses> classes;
  std::vector<EcotopeAssessment> assessments;
};

}  // namespace eco
