// Writes one of the benchmark surveys (input files and case.hdr) into a
// directory:
//   make_survey DIR dense|sparse|ladder N|big|small M [SEED]
//   dense   10 ecotopes x 60 reference stations, 300 species, about 100
//           per grab (about 160 living in each ecotope), grabs of 0.5 and 1
//   sparse  3 ecotopes x 300 reference grabs of 0.1 and 0.015 m2, 480 taxa,
//           about 40 per grab
//   ladder  one ecotope of N reference grabs (0.1 and 0.015 m2), 200 taxa,
//           about 40 per grab
//   big     one ecotope of 20,000 reference stations over 20,000 species,
//           about one record each, and one small assessment station; mode 3
//   small   3 ecotopes x 25 reference grabs of 0.1, 0.015 and 2.5 m2, 60
//           taxa, about 12 per grab, three decimals, a tenth of the stations
//           without fauna, some records repeated; mode M (1, 2 or 3): the
//           platform test's surveys, quick even under an emulator
// All with biomass, mode 2 and the default capacities unless said (big:
// no biomass, [MSP] and [MST] 20000).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "survey_gen.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_survey DIR dense|sparse|ladder N|big|small M [SEED]\n");
    return 2;
  }
  const std::string dir = argv[1], kind = argv[2];
  int next = 3;
  eco::test::SurveyShape s;
  s.biomass = true;
  s.mode = 2;
  s.assessment = 5;
  if (kind == "dense") {
    s.ecotopes = 10;
    s.reference = 60;
    s.taxa = 300;
    s.ecotopeShare = 0.55;
    s.taxaPerGrab = 100;
    s.aggregation = 1.0;
    s.abundanceSpread = 1.0;
    s.surfaces = {0.5f, 1.0f};
  } else if (kind == "sparse") {
    s.ecotopes = 3;
    s.reference = 300;
    s.taxa = 480;
    s.ecotopeShare = 0.9;
    s.taxaPerGrab = 40;
    s.surfaces = {0.1f, 0.015f};
  } else if (kind == "ladder" && argc > 3) {
    s.ecotopes = 1;
    s.reference = std::atoi(argv[3]);
    next = 4;
    s.taxa = 200;
    s.taxaPerGrab = 40;
    s.surfaces = {0.1f, 0.015f};
  } else if (kind == "big") {
    s.ecotopes = 1;
    s.reference = 20000;
    s.assessment = 1;
    s.taxa = 20000;
    s.taxaPerGrab = 1;
    s.abundanceSpread = 0.0;
    s.aggregation = 5.0;
    s.mode = 3;
    s.biomass = false;
    s.maxspec = 20000;
    s.maxstat = 20000;
    s.surfaces = {0.1f};
  } else if (kind == "small" && argc > 3) {
    s.ecotopes = 3;
    s.reference = 25;
    s.assessment = 3;
    s.taxa = 60;
    s.taxaPerGrab = 12;
    s.surfaces = {0.1f, 0.015f, 2.5f};
    s.decimals = 3;
    s.azoic = 0.1;
    s.repeatRecords = true;
    s.mode = std::atoi(argv[3]);
    next = 4;
  } else {
    std::fprintf(stderr, "make_survey: unknown survey '%s'\n", kind.c_str());
    return 2;
  }
  s.seed = argc > next ? std::strtoull(argv[next], nullptr, 10) : 20240611u;
  std::filesystem::create_directories(dir);
  const long long records = eco::test::writeSurvey(dir, "survey", s);
  std::printf("%s: %lld records\n", dir.c_str(), records);
  return 0;
}
