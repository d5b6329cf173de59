#include "stats/class_tables.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <condition_variable>
#include <mutex>

#include "numeric/evaluation.h"
#include "numeric/machine.h"
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

float targetOf(int32_t k, float meansurf) {
  return static_cast<float>((Extended(k) - 0.5) * meansurf);
}

// Pseudo-samples first .. first + count - 1 of the ecotope (2000 per
// target), all of target k.
void drawBlock(const DrawSetup& setup, int32_t k, float meansurf, const UniformGenerator& start,
               uint64_t first, int count, DrawWork& work, Drawn* out) {
  const float target = targetOf(k, meansurf);
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

int64_t fillClassTables(const DrawSetup& setup, float meansurf, bool biomass, UniformGenerator& g,
                        ClassTables& tables, const std::function<void(int32_t)>& progress,
                        int threads) {
  const int32_t n = setup.n;
  const std::size_t un = static_cast<std::size_t>(std::max(n, 0));
  tables.simclass.assign(un, {});
  tables.densclass.assign(un, {});
  tables.nspclass.assign(un, {});
  tables.biomclass.assign(biomass ? un : 0, {});
  const UniformGenerator start = g;
  int64_t fellShort = 0;
  auto takeIn = [&](const Drawn* drawn) {
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
  };

  if (threads <= 1 || n <= 1) {
    DrawWork work;
    prepareWork(setup, work);
    std::vector<Drawn> drawn(kPseudoSamples);
    for (int32_t k = 1; k <= n; ++k) {
      progress(k);
      drawBlock(setup, k, meansurf, start, static_cast<uint64_t>(k - 1) * kPseudoSamples,
                kPseudoSamples, work, drawn.data());
      takeIn(drawn.data());
    }
  } else {
    // Workers take blocks in draw order and write them into a ring of
    // `window` targets; this thread takes the targets in, in order, and
    // lets the workers move on. A worker never runs more than `window`
    // targets ahead, which bounds the buffers.
    const int64_t items = static_cast<int64_t>(n) * kBlocksPerTarget;
    // More threads than blocks would only wait; the ring never needs more
    // targets than the ecotope has.
    const int workers = static_cast<int>(std::min<int64_t>(threads, items));
    const int64_t window = std::min<int64_t>(2 * static_cast<int64_t>(workers) + 2, n);
    std::vector<Drawn> ring(static_cast<std::size_t>(window) * kPseudoSamples);
    std::vector<int> done(static_cast<std::size_t>(window), 0);
    std::mutex mutex;
    std::condition_variable workersWait, mainWait;
    int64_t takenIn = 0;  // targets taken into the tables
    bool stop = false;
    std::atomic<int64_t> next{0};
    auto slotOf = [&](int64_t k0) { return static_cast<std::size_t>(k0 % window); };

    WorkerThreads region(workers, [&](int) {
      try {
        DrawWork work;
        prepareWork(setup, work);
        while (true) {
          const int64_t item = next.fetch_add(1);
          if (item >= items) return;
          const int64_t k0 = item / kBlocksPerTarget;
          const int block = static_cast<int>(item % kBlocksPerTarget);
          {
            std::unique_lock<std::mutex> lock(mutex);
            workersWait.wait(lock, [&] { return stop || k0 < takenIn + window; });
            if (stop) return;
          }
          Drawn* out = ring.data() + slotOf(k0) * kPseudoSamples + block * kSamplesPerBlock;
          drawBlock(setup, static_cast<int32_t>(k0 + 1), meansurf, start,
                    static_cast<uint64_t>(k0) * kPseudoSamples +
                        static_cast<uint64_t>(block) * kSamplesPerBlock,
                    kSamplesPerBlock, work, out);
          const std::lock_guard<std::mutex> lock(mutex);
          if (++done[slotOf(k0)] == kBlocksPerTarget) mainWait.notify_one();
        }
      } catch (...) {
        {
          const std::lock_guard<std::mutex> lock(mutex);
          stop = true;
        }
        mainWait.notify_one();
        workersWait.notify_all();
        throw;
      }
    });
    auto halt = [&] {
      {
        const std::lock_guard<std::mutex> lock(mutex);
        stop = true;
      }
      workersWait.notify_all();
    };
    try {
      for (int64_t k0 = 0; k0 < n; ++k0) {
        progress(static_cast<int32_t>(k0 + 1));
        {
          std::unique_lock<std::mutex> lock(mutex);
          mainWait.wait(lock, [&] { return stop || done[slotOf(k0)] == kBlocksPerTarget; });
          if (stop) break;
        }
        takeIn(ring.data() + slotOf(k0) * kPseudoSamples);
        {
          const std::lock_guard<std::mutex> lock(mutex);
          done[slotOf(k0)] = 0;
          takenIn = k0 + 1;
        }
        workersWait.notify_all();
      }
    } catch (...) {
      halt();
      throw;
    }
    halt();
    region.finish();
  }
  g = sampleStart(setup, start, static_cast<uint64_t>(un) * kPseudoSamples);
  return fellShort;
}

std::vector<float> classValues(const std::vector<float>& values) {
  std::vector<float> v = values;
  if (v.size() < kClassSlots) v.resize(kClassSlots, AMACH(6));
  return v;
}

}  // namespace eco
