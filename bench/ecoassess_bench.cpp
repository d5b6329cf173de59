// Benchmarks of the hot paths on the bundled mite survey (unequal surfaces).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <limits>
#include <sstream>
#include <vector>

#include "input/input_files.h"
#include "numeric/quantile.h"
#include "numeric/random.h"
#include "output/output_files.h"
#include "resample/draws.h"
#include "run/passes.h"
#include "stats/class_tables.h"
#include "stats/profile.h"

namespace {

eco::SurveyTables loadSurvey() {
  std::filesystem::current_path(ECO_SURVEY_DIR);
  eco::ReadOptions options;
  options.maxet = 3;
  options.maxspec = 35;
  options.maxstat = 30;
  eco::SurveyTables t;
  eco::InputStatus status;
  if (!eco::readSurvey("mite_shrub_unequal", options, t, status)) std::abort();
  return t;
}

void BM_NextUniform(benchmark::State& state) {
  eco::UniformGenerator g;
  for (auto _ : state) benchmark::DoNotOptimize(eco::nextUniform(g));
}
BENCHMARK(BM_NextUniform);

// One pseudo-sample of the largest summary target, with the default 1250
// stations per group (2500 random numbers per pseudo-sample).
void BM_DrawPseudoSample(benchmark::State& state) {
  const eco::SurveyTables t = loadSurvey();
  eco::EcotopeProfile p;
  eco::buildReferenceProfile(t, 0, p);
  const eco::DrawSetup d = eco::makeDrawSetup(t, 0, p.refprof, false, false, 1250);
  const auto& ref = t.stations.ecotope[0].group[eco::kReference];
  const float target = (ref.nstat() - 0.5f) * ref.meansurf;
  eco::UniformGenerator g;
  eco::PseudoSample ps;
  for (auto _ : state) {
    eco::drawPseudoSample(d, target, g, ps);
    benchmark::DoNotOptimize(ps.similarity);
  }
}
BENCHMARK(BM_DrawPseudoSample);

void BM_QuantilesOfAClass(benchmark::State& state) {
  std::vector<float> x(4000);
  eco::UniformGenerator g;
  for (std::size_t i = 0; i < 2600; ++i) x[i] = eco::nextUniform(g);
  for (std::size_t i = 2600; i < 4000; ++i) x[i] = std::numeric_limits<float>::quiet_NaN();
  float q[11], lo[11], hi[11];
  int32_t nmv = 0;
  for (auto _ : state) {
    eco::EQTIL(4000, x.data(), 11, eco::kProportions.data(), q, lo, hi, nmv);
    benchmark::DoNotOptimize(q[5]);
  }
}
BENCHMARK(BM_QuantilesOfAClass);

// The whole summary pass of the survey with the default capacities.
void BM_SummaryPass(benchmark::State& state) {
  const eco::SurveyTables t = loadSurvey();
  eco::RunSettings settings;
  settings.biomassPresent = true;
  settings.outputName = "bench_out";
  const auto dir = std::filesystem::temp_directory_path() / "ecoassess_bench";
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  std::ostringstream console;
  for (auto _ : state) {
    eco::UniformGenerator g;
    std::string message;
    console.str("");
    eco::OutputFiles files;
    eco::ResultWriters writers;
    writers.files = &files;
    writers.settings = eco::writerSettings(settings, t, false, false);
    if (!eco::summaryPass(settings, t, g, {&console}, writers, message)) std::abort();
    eco::discardOutputFiles(files);  // the tables of a pass are put in place only by a whole run
  }
}
BENCHMARK(BM_SummaryPass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
