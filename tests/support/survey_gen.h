#pragma once
// Seeded surveys written as the program's input files (header, species,
// ecotope, station and data file), for the exactness tests and the
// benchmarks. The same shape and seed give the same files on any machine:
// the random numbers come from a fixed generator, not from <random>.
//
// Counts are negative binomial (a gamma-Poisson mixture) over taxa whose
// mean abundances are lognormal, so that most taxa are rare; each ecotope
// scales the abundances by its own lognormal factors. A density is the
// count divided by the grab's surface, written with `decimals` decimals;
// a biomass is the count times a lognormal individual mass of the taxon.

#include <cstdint>
#include <string>
#include <vector>

namespace eco::test {

struct SurveyShape {
  uint64_t seed = 1;
  int ecotopes = 1;
  int reference = 10;  // reference stations per ecotope
  int assessment = 3;  // assessment stations per ecotope
  int taxa = 50;
  double taxaPerGrab = 10;               // mean number of taxa in a grab of mean surface
  double aggregation = 0.5;              // negative binomial size: small is patchy
  double abundanceSpread = 1.5;          // sd of the log mean abundances
  double ecotopeShare = 1.0;             // share of the taxa that live in each ecotope
  std::vector<float> surfaces = {0.1f};  // each grab takes one of them at random
  double azoic = 0.0;                    // share of stations without fauna
  int decimals = 2;                      // decimals of the densities (and biomasses)
  bool biomass = true;
  int mode = 2;
  int maxstat = 0;  // 0: the header does not state it (the default applies)
  int maxspec = 0;  // 0: the header does not state it
  int maxet = 0;
  int listLength = -1;         // -1: not stated
  bool repeatRecords = false;  // some reference records repeated with another value
};

// Writes dir/<base>.SPE, .ETP, .STA, .DAT and dir/case.hdr (input and output
// in dir). Returns the number of data records.
int64_t writeSurvey(const std::string& dir, const std::string& base, const SurveyShape& shape);

}  // namespace eco::test
