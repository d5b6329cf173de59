#include "stats/class_tables.h"

#include <algorithm>
#include <atomic>
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
  return static_cast<float>((static_cast<Extended>(k) - 0.5L) * meansurf);
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

}  // namespace

int32_t surfaceClass(float S, float meansurf, int32_t maxClass) {
  // In float, S / meansurf + 0.5 would put pseudo-samples of ordinary
  // decimal surfaces (3 x 0.1 against 0.1) into the wrong class.
  const Extended y = static_cast<Extended>(S) / meansurf + 0.5L;
  // The class is trunc(y), 0 above the table (or for NaN), at least 1.
  if (!(y < static_cast<Extended>(maxClass) + 1)) return 0;
  if (!(y >= 1)) return 1;
  // trunc(y) for y in [1, 2^31): y + 2^63 - 2^63 is y rounded to an integer
  // (the unit in the last place of 2^63 in extended precision is 1), one
  // less where that rounded up. The integer converts exactly through
  // double. (std::trunc and a conversion in extended precision switch the
  // rounding mode of the x87 unit, which costs more than the draws' share
  // of the class tables.)
  Extended t = (y + 0x1p63L) - 0x1p63L;
  if (t > y) t -= 1;
  return static_cast<int32_t>(static_cast<double>(t));
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
