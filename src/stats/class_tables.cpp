#include "stats/class_tables.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "numeric/evaluation.h"
#include "numeric/machine.h"
#include "resample/draw_targets.h"
#include "stats/parallel.h"

namespace eco {
namespace {

// What the tables keep of one pseudo-sample.
struct Drawn {
  float similarity, D, N, B;
  int32_t cls;
  bool fellShort;
};

constexpr int kBlocksPerTarget = 16;
constexpr int kSamplesPerBlock = kPseudoSamples / kBlocksPerTarget;

// Pseudo-samples first .. first + count - 1 of the ecotope (2000 per
// target), all of target k.
void drawBlock(const DrawSetup& setup, int32_t k, float meansurf, const UniformGenerator& start,
               uint64_t first, int count, DrawWork& work, Drawn* out) {
  const float target = summaryTarget(k, meansurf);
  UniformGenerator g = sampleStart(setup, start, first);
  DrawOutcome o;
  for (int it = 0; it < count; ++it) {
    drawFrom(setup, target, g, work, o);
    out[it] = {o.similarity, o.D, o.N, o.B, surfaceClass(o.S, meansurf, setup.n), o.fellShort};
    g = jumped(g, setup.jump);
  }
}

// |x| = m x 2^e for a finite non-zero float x, m in [2^23, 2^24).
uint64_t significandOf(float x, int& e) {
  const uint32_t bits = std::bit_cast<uint32_t>(x) & 0x7FFFFFFFu;
  const uint32_t biased = bits >> 23, fraction = bits & 0x7FFFFFu;
  if (biased != 0) {
    e = static_cast<int>(biased) - 150;
    return fraction | 0x800000u;
  }
  const int shift = std::countl_zero(fraction) - 8;  // subnormal: bring bit 23 up
  e = -149 - shift;
  return uint64_t{fraction} << shift;
}

}  // namespace

int32_t surfaceClass(float S, float meansurf, int32_t maxClass) {
  // The class is the integer part of S / meansurf + 1/2 (in float, that
  // sum would put pseudo-samples of ordinary decimal surfaces, 3 x 0.1
  // against 0.1, into the wrong class): 0 above the table or for a
  // quotient that is not a number, at least 1. The quotient rounded to a
  // 64-bit significand and then increased by 1/2 gives the same integer
  // part, since a quotient of two floats below 2^31 lies either on a
  // multiple of 1/2 or more than 2^-25 away from one; here it is taken
  // exactly, on integers, which needs no extended format at all.
  const double limit = static_cast<double>(maxClass) + 1;
  if (std::isnan(S) || std::isnan(meansurf)) return 0;
  const bool negative = std::signbit(S) != std::signbit(meansurf);
  if (std::isinf(meansurf)) return std::isinf(S) ? 0 : 1;  // inf / inf; or a quotient of 0
  if (S == 0.0f) return meansurf == 0.0f ? 0 : 1;          // 0 / 0; or 0
  if (negative) return 1;                                  // below 1/2, -infinity included
  if (meansurf == 0.0f || std::isinf(S)) return 0;         // +infinity
  // S = ms x 2^es, meansurf = mm x 2^em with ms, mm integers in [2^23, 2^24).
  int es = 0, em = 0;
  const uint64_t ms = significandOf(S, es), mm = significandOf(meansurf, em);
  const int d = es - em;  // S / meansurf = (ms / mm) x 2^d, ms / mm in (1/2, 2)
  if (d > 33) return 0;   // beyond 2^32
  if (d < -2) return 1;   // below 1/2
  // floor((2 ms 2^d + mm) / (2 mm)), made whole: d >= 0 scales the
  // numerator's first term, d < 0 the rest.
  const uint64_t c =
      d >= 0 ? ((ms << (d + 1)) + mm) / (2 * mm) : ((ms << 1) + (mm << -d)) / (mm << (1 - d));
  if (static_cast<double>(c) >= limit) return 0;
  return c < 1 ? 1 : static_cast<int32_t>(c);
}

namespace {

// The tables being filled, taking in one target's pseudo-samples at a time.
struct TableFill {
  ClassTables& tables;
  bool biomass;
  int64_t fellShort = 0;

  void takeIn(const Drawn* drawn) {
    for (int it = 0; it < kPseudoSamples; ++it) {
      const Drawn& d = drawn[it];
      if (d.fellShort) ++fellShort;
      if (d.cls == 0) continue;
      const std::size_t row = static_cast<std::size_t>(d.cls - 1);
      tables.simclass[row].push_back(d.similarity);
      tables.densclass[row].push_back(d.D);
      tables.nspclass[row].push_back(d.N);
      if (biomass) tables.biomclass[row].push_back(d.B);
    }
  }
};

void fillOnCallingThread(const DrawSetup& setup, float meansurf, const UniformGenerator& start,
                         TableFill& fill, const std::function<void(int32_t)>& progress) {
  DrawWork work;
  prepareWork(setup, work);
  std::vector<Drawn> drawn(kPseudoSamples);
  for (int32_t k = 1; k <= setup.n; ++k) {
    progress(k);
    drawBlock(setup, k, meansurf, start, static_cast<uint64_t>(k - 1) * kPseudoSamples,
              kPseudoSamples, work, drawn.data());
    fill.takeIn(drawn.data());
  }
}

// Workers draw the blocks of the targets in order into a look-ahead ring;
// this thread takes the targets in, in order. False (nothing done) when no
// worker could be started.
bool fillOnWorkers(const DrawSetup& setup, float meansurf, const UniformGenerator& start,
                   TableFill& fill, const std::function<void(int32_t)>& progress, int threads) {
  const int32_t n = setup.n;
  const int64_t items = static_cast<int64_t>(n) * kBlocksPerTarget;
  // More threads than blocks would only wait; the ring never needs more
  // targets than the ecotope has.
  const int workers = static_cast<int>(std::min<int64_t>(threads, items));
  const int64_t window = std::min<int64_t>(2 * static_cast<int64_t>(workers) + 2, n);
  std::vector<Drawn> slots(static_cast<std::size_t>(window) * kPseudoSamples);
  LookAheadRing ring(n, kBlocksPerTarget, window);
  auto drawPieces = [&](int) {
    try {
      DrawWork work;
      prepareWork(setup, work);
      LookAheadRing::Piece p;
      while (ring.claim(p)) {
        drawBlock(setup, static_cast<int32_t>(p.item + 1), meansurf, start,
                  static_cast<uint64_t>(p.item) * kPseudoSamples +
                      static_cast<uint64_t>(p.part) * kSamplesPerBlock,
                  kSamplesPerBlock, work,
                  slots.data() + p.slot * kPseudoSamples + p.part * kSamplesPerBlock);
        ring.produced(p);
      }
    } catch (...) {
      ring.stop();  // the calling thread must not wait for this worker
      throw;
    }
  };
  WorkerThreads region(workers, drawPieces);
  if (region.started() == 0) {
    region.finish();
    return false;
  }
  {
    const RingStop stopAtEnd{ring};  // before the region joins its workers
    for (int64_t k0 = 0; k0 < n; ++k0) {
      progress(static_cast<int32_t>(k0 + 1));
      if (!ring.await(k0)) break;  // a worker failed: finish() tells why
      fill.takeIn(slots.data() + ring.slotOf(k0) * kPseudoSamples);
      ring.takenIn(k0);
    }
  }
  region.finish();
  return true;
}

}  // namespace

int64_t fillClassTables(const DrawSetup& setup, float meansurf, bool biomass, UniformGenerator& g,
                        ClassTables& tables, const std::function<void(int32_t)>& progress,
                        int threads) {
  const std::size_t un = static_cast<std::size_t>(std::max(setup.n, 0));
  tables.simclass.assign(un, {});
  tables.densclass.assign(un, {});
  tables.nspclass.assign(un, {});
  tables.biomclass.assign(biomass ? un : 0, {});
  const UniformGenerator start = g;
  TableFill fill{tables, biomass};
  if (threads <= 1 || setup.n <= 1 ||
      !fillOnWorkers(setup, meansurf, start, fill, progress, threads)) {
    fillOnCallingThread(setup, meansurf, start, fill, progress);
  }
  g = sampleStart(setup, start, static_cast<uint64_t>(un) * kPseudoSamples);
  return fill.fellShort;
}

std::vector<float> classValues(const std::vector<float>& values) {
  std::vector<float> v = values;
  if (v.size() < kClassSlots) v.resize(kClassSlots, AMACH(6));
  return v;
}

}  // namespace eco
