// The program's resampling against the literal evaluation, bit for bit:
// generated surveys of many kinds, every kernel path the machine has, 1, 2
// and 7 threads. Every class table value, every distribution value, the
// lists and the generator's state after each ecotope must be the same.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "input/input_files.h"
#include "literal_stats.h"
#include "long_tests.h"
#include "numeric/evaluation.h"
#include "resample/draws.h"
#include "resample/kernel_path.h"
#include "stats/class_tables.h"
#include "stats/distributions.h"
#include "stats/profile.h"
#include "stats/similarity.h"
#include "survey_builder.h"
#include "survey_gen.h"

namespace fs = std::filesystem;

namespace eco {
namespace {

using test::kAllPaths;

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

::testing::AssertionResult sameValues(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size()) {
    return ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size();
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!sameBits(a[i], b[i])) {
      return ::testing::AssertionFailure() << "value " << i << ": " << a[i] << " and " << b[i];
    }
  }
  return ::testing::AssertionSuccess();
}

struct Run {
  int32_t maxstat;
  int64_t listLength;
};

// One ecotope's summary pass both ways, for every path and thread count.
void checkSummary(const SurveyTables& t, int e, const Run& run, const std::string& what) {
  const StationGroup& ref = t.stations.ecotope[static_cast<std::size_t>(e)].group[kReference];
  const bool biomass = t.samples.biomass;
  EcotopeProfile lp;
  literal::buildReferenceProfile(t, e, lp);
  const DrawSetup ls = literal::makeDrawSetup(t, e, lp.refprof, false, false, run.maxstat);
  UniformGenerator lg;
  ClassTables want;
  std::vector<int32_t> wantProgress;
  const int64_t wantShort = literal::fillClassTables(ls, ref.meansurf, biomass, lg, want,
                                                     [&](int32_t k) { wantProgress.push_back(k); });

  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) continue;
    for (int threads : {1, 2, 7}) {
      SCOPED_TRACE(what + ", ecotope " + std::to_string(e) + ", " + kernelPathName(path) + ", " +
                   std::to_string(threads) + " threads");
      EcotopeProfile p;
      buildReferenceProfile(t, e, p);
      ASSERT_TRUE(sameValues(p.refprof, lp.refprof));
      const DrawSetup s = makeDrawSetup(t, e, p.refprof, false, false, run.maxstat, path);
      UniformGenerator g;
      ClassTables got;
      std::vector<int32_t> progress;
      const int64_t fellShort = fillClassTables(
          s, ref.meansurf, biomass, g, got, [&](int32_t k) { progress.push_back(k); }, threads);
      EXPECT_EQ(fellShort, wantShort);
      EXPECT_EQ(progress, wantProgress);
      EXPECT_EQ(g.s1, lg.s1);
      EXPECT_EQ(g.s2, lg.s2);
      ASSERT_EQ(got.simclass.size(), want.simclass.size());
      ASSERT_EQ(got.biomclass.size(), want.biomclass.size());
      for (std::size_t c = 0; c < got.simclass.size(); ++c) {
        ASSERT_TRUE(sameValues(got.simclass[c], want.simclass[c])) << "class " << c + 1;
        ASSERT_TRUE(sameValues(got.densclass[c], want.densclass[c])) << "class " << c + 1;
        ASSERT_TRUE(sameValues(got.nspclass[c], want.nspclass[c])) << "class " << c + 1;
        if (biomass) {
          ASSERT_TRUE(sameValues(got.biomclass[c], want.biomclass[c])) << "class " << c + 1;
        }
      }
    }
  }
}

void sameList(const ContributorList& a, const ContributorList& b) {
  for (auto [x, y] : {std::pair{&a.positive, &b.positive}, std::pair{&a.negative, &b.negative}}) {
    ASSERT_EQ(x->size(), y->size());
    for (std::size_t r = 0; r < x->size(); ++r) {
      EXPECT_EQ((*x)[r].species, (*y)[r].species);
      EXPECT_TRUE(sameBits((*x)[r].value, (*y)[r].value));
      EXPECT_TRUE(sameBits((*x)[r].plow, (*y)[r].plow));
      EXPECT_TRUE(sameBits((*x)[r].phigh, (*y)[r].phigh));
    }
  }
}

// One ecotope's report pass both ways.
void checkReport(const SurveyTables& t, int e, const Run& run, const std::string& what) {
  if (!literal::eligibleForReport(t.stations, e)) return;
  const bool biomass = t.samples.biomass;
  const std::size_t nspec = static_cast<std::size_t>(t.species.nspec());
  EcotopeProfile lp;
  literal::buildEcotopeProfile(t, e, lp);
  std::vector<float> contribobs(nspec), ddiffobs(nspec), bdiffobs(biomass ? nspec : 0);
  literal::brayCurtis(lp.assprof, lp.refprof, contribobs);
  for (std::size_t s = 0; s < nspec; ++s) {
    ddiffobs[s] = diffPow4(lp.assprof[s], lp.refprof[s]);
    if (biomass) bdiffobs[s] = diffPow4(lp.assbprof[s], lp.refbprof[s]);
  }
  const DrawSetup ls = literal::makeDrawSetup(t, e, lp.refprof, true, true, run.maxstat);
  UniformGenerator lg;
  RefDistributions want;
  const int64_t wantShort = literal::fillRefDistributions(ls, lp, biomass, lg, want);
  ContributorList wantLists[3];
  literal::selectContributors(contribobs, want.contribdist, run.listLength, wantLists[0]);
  literal::selectContributors(ddiffobs, want.ddiffdist, run.listLength, wantLists[1]);
  if (biomass) literal::selectContributors(bdiffobs, want.bdiffdist, run.listLength, wantLists[2]);

  for (KernelPath path : kAllPaths) {
    if (!kernelPathAvailable(path)) continue;
    for (int threads : {1, 2, 7}) {
      SCOPED_TRACE(what + ", report of ecotope " + std::to_string(e) + ", " + kernelPathName(path) +
                   ", " + std::to_string(threads) + " threads");
      EcotopeProfile p;
      buildEcotopeProfile(t, e, p);
      ASSERT_TRUE(sameValues(p.refprof, lp.refprof));
      ASSERT_TRUE(sameValues(p.assprof, lp.assprof));
      ASSERT_TRUE(sameValues(p.refbprof, lp.refbprof));
      ASSERT_TRUE(sameValues(
          {p.nspref, p.nspass, p.totdensref, p.totdensass, p.totbiomref, p.totbiomass, p.asstarget},
          {lp.nspref, lp.nspass, lp.totdensref, lp.totdensass, lp.totbiomref, lp.totbiomass,
           lp.asstarget}));
      const DrawSetup s = makeDrawSetup(t, e, p.refprof, true, true, run.maxstat, path);
      UniformGenerator g;
      RefDistributions got;
      const ObservedLists observed{contribobs, ddiffobs, bdiffobs, run.listLength};
      EXPECT_EQ(fillRefDistributions(s, p, biomass, observed, g, got, threads), wantShort);
      EXPECT_EQ(g.s1, lg.s1);
      EXPECT_EQ(g.s2, lg.s2);
      ASSERT_TRUE(sameValues(got.simdist, want.simdist));
      ASSERT_TRUE(sameValues(got.densdist, want.densdist));
      ASSERT_TRUE(sameValues(got.nspdist, want.nspdist));
      ASSERT_TRUE(sameValues(got.biomdist, want.biomdist));
      // Every kept row is the literal row of its species.
      for (auto [rows, full] : {std::pair{&got.contribdist, &want.contribdist},
                                std::pair{&got.ddiffdist, &want.ddiffdist},
                                std::pair{&got.bdiffdist, &want.bdiffdist}}) {
        for (int32_t sp : rows->species) {
          const float* a = rows->valuesOf(sp);
          const float* b = full->valuesOf(sp);
          ASSERT_NE(b, nullptr);
          ASSERT_TRUE(sameValues(std::vector<float>(a, a + kPseudoSamples),
                                 std::vector<float>(b, b + kPseudoSamples)))
              << "species " << sp;
        }
      }
      ContributorList lists[3];
      selectContributors(contribobs, got.contribdist, run.listLength, lists[0]);
      selectContributors(ddiffobs, got.ddiffdist, run.listLength, lists[1]);
      if (biomass) selectContributors(bdiffobs, got.bdiffdist, run.listLength, lists[2]);
      for (int l = 0; l < 3; ++l) sameList(lists[l], wantLists[l]);
    }
  }
}

void checkSurvey(const SurveyTables& t, const Run& run, const std::string& what) {
  for (int e = 0; e < t.ecotopes.net(); ++e) {
    if (literal::eligibleForSummary(t.stations, e)) checkSummary(t, e, run, what);
    checkReport(t, e, run, what);
  }
}

// A generated survey read through the program's readers.
SurveyTables readGenerated(const test::SurveyShape& shape) {
  const fs::path dir = fs::temp_directory_path() / ("eco_exact_" + std::to_string(::getpid()) +
                                                    "_" + std::to_string(shape.seed));
  fs::create_directories(dir);
  test::writeSurvey(dir.string(), "survey", shape);
  ReadOptions options;
  options.maxet = 50;
  options.maxspec = 5000;
  options.maxstat = 5000;
  options.biomassPresent = shape.biomass;
  SurveyTables t;
  InputStatus status;
  const bool ok = readSurvey((dir / "survey").string(), options, t, status);
  fs::remove_all(dir);
  EXPECT_TRUE(ok) << status.message;
  return t;
}

test::SurveyShape shape(uint64_t seed) {
  test::SurveyShape s;
  s.seed = seed;
  s.ecotopes = 2;
  s.reference = 9;
  s.assessment = 3;
  s.taxa = 40;
  s.taxaPerGrab = 10;
  return s;
}

TEST(Exactness, BenthicGrabsWithBiomassRepeatsAndAzoicStations) {
  test::SurveyShape s = shape(101);
  s.surfaces = {0.1f, 0.015f};
  s.azoic = 0.15;
  s.repeatRecords = true;
  checkSurvey(readGenerated(s), {30, 10}, "benthic");
}

TEST(Exactness, SurfacesAThousandfoldApartWithoutBiomass) {
  test::SurveyShape s = shape(102);
  s.biomass = false;
  s.surfaces = {0.001f, 1.0f, 0.02f};
  s.decimals = 3;
  checkSurvey(readGenerated(s), {30, 4}, "thousandfold");
}

// One decimal on small counts over surfaces 0.1 and 0.3: sums land on
// float midpoints in double precision again and again.
TEST(Exactness, DecimalDensitiesOnFloatMidpoints) {
  test::SurveyShape s = shape(103);
  s.surfaces = {0.1f, 0.3f, 0.7f};
  s.decimals = 1;
  s.taxaPerGrab = 30;
  s.aggregation = 3.0;
  checkSurvey(readGenerated(s), {30, 10}, "midpoints");
}

// Counts on surfaces that are powers of two: every product is a float, and
// the draws add floats (decimal densities do not).
TEST(Exactness, CountsOnSurfacesThatArePowersOfTwo) {
  test::SurveyShape s = shape(104);
  s.surfaces = {1.0f, 0.5f, 0.25f};
  s.decimals = 0;
  s.taxaPerGrab = 30;
  test::SurveyShape decimal = s;
  decimal.surfaces = {1.0f, 0.1f};
  for (const auto& [shape, floats] : {std::pair{s, true}, std::pair{decimal, false}}) {
    const SurveyTables t = readGenerated(shape);
    for (int e = 0; e < t.ecotopes.net(); ++e) {
      EcotopeProfile p;
      buildReferenceProfile(t, e, p);
      EXPECT_EQ(makeDrawSetup(t, e, p.refprof, false, false, 30).floatSums, floats);
    }
    if (floats) checkSurvey(t, {30, 10}, "powers of two");
  }
}

// Few random numbers per pseudo-sample and one large station: draws fall
// short of their targets and classes stay empty.
TEST(Exactness, PseudoSamplesThatRunOutOfRandomNumbers) {
  const SurveyTables t = test::makeSurvey(3,
                                          {{kReference, 1, {1, 0, 3.3f}, {0.1f, 0, 1}},
                                           {kReference, 1, {0, 2.2f, 0}, {0, 0.7f, 0}},
                                           {kReference, 25, {0.5f, 0.5f, 0}, {1, 1, 0}},
                                           {kAssessment, 4, {1, 1, 1}, {1, 1, 1}}},
                                          true);
  checkSurvey(t, {3, 2}, "short");
}

// Subnormal and negative values leave the double shortcut's range: the
// ecotope is accumulated in extended precision.
TEST(Exactness, SubnormalNegativeAndHugeValues) {
  const float tiny = std::numeric_limits<float>::denorm_min() * 3;
  const SurveyTables t = test::makeSurvey(4,
                                          {{kReference, 0.1f, {tiny, 1e30f, -2, 0}, {1, 0, 0, 2}},
                                           {kReference, 0.3f, {tiny, 0, 5, 1e-38f}, {0, 1, 2, 0}},
                                           {kReference, 0.2f, {0, 3e38f, 1, 7}, {1, 1, 1, 1}},
                                           {kAssessment, 0.5f, {1, 1, 1, 1}, {1, 1, 1, 1}}},
                                          true);
  checkSurvey(t, {10, 3}, "extended");
}

// Density x surface 2^-130 at the first station, a subnormal float, then
// 2^-150 + 2^-186 (4097 x 16773121 = 2^36 + 1) at the second: in double
// the sum rounds onto a midpoint of the subnormal floats that the midpoint
// test cannot see, in extended precision it stays above it. Such an ecotope
// must be accumulated in extended precision throughout. (One species only,
// so that its profile value decides the similarity.)
TEST(Exactness, SumsInTheSubnormalRange) {
  const float d1 = std::ldexp(1.0f, -65), s1 = std::ldexp(1.0f, -65);
  const float d2 = std::ldexp(4097.0f, -93), s2 = std::ldexp(16773121.0f, -93);
  const SurveyTables t = test::makeSurvey(1, {{kReference, s1, {d1}, {}},
                                              {kReference, s2, {d2}, {}},
                                              {kReference, s1, {3 * d1}, {}},
                                              {kAssessment, s1, {1}, {}}});
  checkSurvey(t, {10, 3}, "subnormal");
}

// Densities from 1e-30 to 1e30: fourth roots 1e8 apart, so the similarity
// sums are not provably exact in double and are formed in species order.
TEST(Exactness, SimilaritySumsThatNeedTheirOrder) {
  const SurveyTables t = test::makeSurvey(3, {{kReference, 0.5f, {1e-30f, 1e30f, 1}, {}},
                                              {kReference, 0.5f, {2e-30f, 0, 3}, {}},
                                              {kReference, 0.25f, {0, 3e29f, 1e-29f}, {}},
                                              {kAssessment, 1, {1, 1, 1}, {}}});
  checkSurvey(t, {10, 3}, "wide");
}

// Density x surface of the second station is 2^-24 + 2^-60 (4097 x
// 16773121 = 2^36 + 1): after the first station's 1 the double sum rounds
// onto the midpoint 1 + 2^-24, while the extended sum rounds up to the next
// float. Plain double arithmetic would give 1 here.
TEST(Exactness, SumsThatRoundOntoAMidpointInDouble) {
  const float d = std::ldexp(4097.0f, -30), s = std::ldexp(16773121.0f, -30);
  ASSERT_EQ(static_cast<double>(d) * s, 0x1p-24 + 0x1p-60);
  const SurveyTables t = test::makeSurvey(3,
                                          {{kReference, 1, {1, 1, 2}, {1, 1, 1}},
                                           {kReference, s, {d, d, 0}, {d, 0, d}},
                                           {kReference, 1, {2, 0, 1}, {1, 1, 1}},
                                           {kAssessment, 1, {1, 1, 1}, {1, 1, 1}}},
                                          true);
  checkSurvey(t, {10, 3}, "ties");
}

TEST(Exactness, StationsWithoutFauna) {
  const SurveyTables t = test::makeSurvey(2, {{kReference, 0.5f, {0, 0}, {}},
                                              {kReference, 0.5f, {0, 0}, {}},
                                              {kReference, 0.5f, {0, 0}, {}},
                                              {kAssessment, 1, {0, 1}, {}}});
  checkSurvey(t, {10, 3}, "azoic");
  const SurveyTables one = test::makeSurvey(2, {{kReference, 0.5f, {0, 4}, {}}});
  checkSurvey(one, {10, 3}, "one station");
}

// Larger generated surveys, in the long run only.
TEST(Exactness, LargerSurveys) {
  if (!test::longTests()) GTEST_SKIP() << "long test (ECO_LONG_TESTS=1)";
  for (uint64_t seed = 200; seed < 206; ++seed) {
    test::SurveyShape s = shape(seed);
    s.reference = 40;
    s.taxa = 150;
    s.taxaPerGrab = seed % 2 ? 60 : 15;
    s.surfaces = seed % 3 ? std::vector<float>{0.1f, 0.015f} : std::vector<float>{0.25f, 1.0f};
    s.biomass = seed % 2 == 0;
    s.azoic = 0.05;
    s.repeatRecords = true;
    checkSurvey(readGenerated(s), {60, 10}, "larger " + std::to_string(seed));
  }
}

}  // namespace
}  // namespace eco
