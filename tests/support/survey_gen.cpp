#include "survey_gen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "splitmix.h"

namespace eco::test {
namespace {

// splitmix64: small, fast and the same everywhere.
struct Random {
  uint64_t state;
  uint64_t next() { return test::splitmix(state); }
  double uniform() { return (static_cast<double>(next() >> 11) + 0.5) * 0x1p-53; }
  double normal() {
    const double u = uniform(), v = uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
  }
  // Marsaglia and Tsang; shape < 1 by the boost u^(1/shape).
  double gamma(double shape, double scale) {
    if (shape < 1.0) return gamma(shape + 1.0, scale) * std::pow(uniform(), 1.0 / shape);
    const double d = shape - 1.0 / 3.0, c = 1.0 / std::sqrt(9.0 * d);
    while (true) {
      double x, v;
      do {
        x = normal();
        v = 1.0 + c * x;
      } while (v <= 0.0);
      v = v * v * v;
      const double u = uniform();
      if (std::log(u) < 0.5 * x * x + d - d * v + d * std::log(v)) return d * v * scale;
    }
  }
  int64_t poisson(double lambda) {
    if (lambda > 60.0) {
      return std::max<int64_t>(0, std::llround(lambda + std::sqrt(lambda) * normal()));
    }
    const double limit = std::exp(-lambda);
    int64_t k = 0;
    double p = uniform();
    while (p > limit) {
      p *= uniform();
      ++k;
    }
    return k;
  }
  int64_t negativeBinomial(double mean, double size) {
    if (mean <= 0.0) return 0;
    return poisson(gamma(size, mean / size));
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(uniform() * n) % n; }
};

// The offset of the log abundances that gives the wanted taxa per grab.
double calibrate(const std::vector<double>& logMean, double wanted, double size) {
  auto present = [&](double offset) {
    double sum = 0.0;
    for (double m : logMean) {
      const double mu = std::exp(m + offset);
      sum += 1.0 - std::pow(size / (size + mu), size);
    }
    return sum;
  };
  double lo = -40.0, hi = 40.0;
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    (present(mid) < wanted ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

std::string fixed(double x, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
  return buf;
}

void check(const std::ofstream& out, const std::string& name) {
  if (!out) throw std::runtime_error("cannot write " + name);
}

}  // namespace

int64_t writeSurvey(const std::string& dir, const std::string& base, const SurveyShape& shape) {
  Random rng{shape.seed};
  const std::string path = dir + "/" + base;
  const int taxa = shape.taxa;

  std::vector<double> logMean(static_cast<std::size_t>(taxa)), logMass(logMean.size());
  for (std::size_t s = 0; s < logMean.size(); ++s) {
    logMean[s] = shape.abundanceSpread * rng.normal();
    logMass[s] = -3.0 + 1.5 * rng.normal();
  }
  const double offset =
      calibrate(logMean, shape.taxaPerGrab / std::max(shape.ecotopeShare, 1e-9), shape.aggregation);
  double meanSurface = 0.0;
  for (float f : shape.surfaces) meanSurface += f;
  meanSurface /= static_cast<double>(shape.surfaces.size());

  std::ofstream spe(path + ".SPE", std::ios::binary);
  for (int s = 0; s < taxa; ++s) spe << 1001 + s << " 'taxon " << s + 1 << "'\n";
  check(spe, path + ".SPE");
  std::ofstream etp(path + ".ETP", std::ios::binary);
  for (int e = 0; e < shape.ecotopes; ++e) etp << 10 * (e + 1) << " 'ecotope " << e + 1 << "'\n";
  check(etp, path + ".ETP");

  std::ofstream sta(path + ".STA", std::ios::binary);
  std::ofstream dat(path + ".DAT", std::ios::binary);
  int64_t records = 0;
  int station = 1;
  for (int e = 0; e < shape.ecotopes; ++e) {
    const int etcode = 10 * (e + 1);
    std::vector<double> factor(logMean.size());
    for (double& f : factor) {
      f = std::exp(0.7 * rng.normal());
      if (rng.uniform() >= shape.ecotopeShare) f = 0.0;
    }
    for (int j = 0; j < shape.reference + shape.assessment; ++j) {
      const bool ref = j < shape.reference;
      const float surface = shape.surfaces[rng.below(shape.surfaces.size())];
      const int code = station++;
      sta << etcode << ' ' << code << (ref ? " REF " : " ASS ") << surface << '\n';
      if (rng.uniform() < shape.azoic) {
        dat << etcode << ' ' << code << " 999 0" << (shape.biomass ? " 0" : "") << '\n';
        ++records;
        continue;
      }
      const int64_t before = records;
      for (std::size_t s = 0; s < logMean.size(); ++s) {
        const double mu = std::exp(logMean[s] + offset) * factor[s] * surface / meanSurface;
        const int64_t count = rng.negativeBinomial(mu, shape.aggregation);
        if (count == 0) continue;
        const double density = static_cast<double>(count) / surface;
        auto line = [&](double d) {
          dat << etcode << ' ' << code << ' ' << 1001 + s << ' ' << fixed(d, shape.decimals);
          if (shape.biomass) {
            const double mass =
                static_cast<double>(count) * std::exp(logMass[s] + 0.4 * rng.normal());
            dat << ' ' << fixed(mass / surface, shape.decimals + 2);
          }
          dat << '\n';
          ++records;
        };
        if (ref && shape.repeatRecords && rng.uniform() < 0.05) line(density * 2.0 + 1.0);
        line(density);
      }
      if (records == before) {  // a grab without fauna says so
        dat << etcode << ' ' << code << " 999 0" << (shape.biomass ? " 0" : "") << '\n';
        ++records;
      }
    }
  }
  check(sta, path + ".STA");
  check(dat, path + ".DAT");

  std::ofstream hdr(dir + "/case.hdr", std::ios::binary);
  hdr << "[TIT] generated survey, seed " << shape.seed << "\n[PAI] .\n[PAO] .\n[INP] " << base
      << "\n[OUT] " << base << "\n[BIO] " << (shape.biomass ? 'y' : 'n') << "\n[ARM] " << shape.mode
      << '\n';
  if (shape.maxstat > 0) hdr << "[MST] " << shape.maxstat << '\n';
  if (shape.maxspec > 0) hdr << "[MSP] " << shape.maxspec << '\n';
  if (shape.maxet > 0) hdr << "[MET] " << shape.maxet << '\n';
  if (shape.listLength >= 0) hdr << "[LLN] " << shape.listLength << '\n';
  hdr << "[EOF]\n";
  check(hdr, dir + "/case.hdr");
  return records;
}

}  // namespace eco::test
