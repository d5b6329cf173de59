// The parallel regions: a failure on either side ends the region with the
// failure, and nothing waits for a thread that can no longer signal.
#include "stats/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace eco {
namespace {

struct WorkerFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// finish() and runShared rethrow the exception of any one thread, after
// the others (claiming work until none is left) have ended.
TEST(Parallel, AWorkersExceptionIsRethrown) {
  for (int threads : {1, 2, 7}) {
    for (int failing : {0, threads - 1}) {
      SCOPED_TRACE(std::to_string(threads) + " threads, thread " + std::to_string(failing));
      std::atomic<int> next{0}, done{0};
      auto work = [&](int t) {
        if (t == failing) throw WorkerFailed("worker");
        for (int i = next.fetch_add(1); i < 1000; i = next.fetch_add(1)) done.fetch_add(1);
      };
      EXPECT_THROW(runShared(threads, work), WorkerFailed);
      if (threads > 1) {
        WorkerThreads region(threads, work);
        EXPECT_EQ(region.started(), threads);
        EXPECT_THROW(region.finish(), WorkerFailed);
      }
    }
  }
}

// Items come in order whatever the threads' speed, each complete; a
// worker's failure releases the calling thread, and the calling thread's
// own failure (the ring stopped on the way out) releases the workers.
TEST(Parallel, LookAheadRingTakesItemsInOrderAndStopsOnFailure) {
  constexpr int64_t kItems = 40;
  constexpr int kParts = 4;
  struct Case {
    const char* name;
    int64_t failingItem;  // a worker throws on this item (-1: none)
    int64_t callerStops;  // the calling thread stops before this item (-1: never)
  };
  for (const Case& c : {Case{"no failure", -1, -1}, Case{"a worker fails", 17, -1},
                        Case{"the caller fails", -1, 9}}) {
    for (int threads : {1, 2, 7}) {
      SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(threads) + " threads");
      const int64_t window = 3;
      std::vector<int64_t> slots(static_cast<std::size_t>(window * kParts), -1);
      LookAheadRing ring(kItems, kParts, window);
      WorkerThreads region(threads, [&](int) {
        try {
          LookAheadRing::Piece p;
          while (ring.claim(p)) {
            if (p.item == c.failingItem) throw WorkerFailed("item");
            slots[p.slot * kParts + static_cast<std::size_t>(p.part)] = p.item;
            ring.produced(p);
          }
        } catch (...) {
          ring.stop();
          throw;
        }
      });
      std::vector<int64_t> taken;
      bool callerFailed = false;
      try {
        const RingStop stopAtEnd{ring};
        for (int64_t i = 0; i < kItems; ++i) {
          if (i == c.callerStops) throw std::runtime_error("caller");
          if (!ring.await(i)) break;
          for (int part = 0; part < kParts; ++part) {
            ASSERT_EQ(slots[ring.slotOf(i) * kParts + static_cast<std::size_t>(part)], i);
          }
          taken.push_back(i);
          ring.takenIn(i);
        }
      } catch (const std::runtime_error&) {
        callerFailed = true;
      }
      if (c.failingItem >= 0) {
        EXPECT_THROW(region.finish(), WorkerFailed);
        // The ring may stop while the last items before the failing one
        // wait to be taken in.
        EXPECT_LE(taken.size(), static_cast<std::size_t>(c.failingItem));
        EXPECT_GE(taken.size(), static_cast<std::size_t>(c.failingItem - window));
      } else {
        EXPECT_NO_THROW(region.finish());
        EXPECT_EQ(callerFailed, c.callerStops >= 0);
        EXPECT_EQ(taken.size(),
                  static_cast<std::size_t>(c.callerStops >= 0 ? c.callerStops : kItems));
      }
    }
  }
}

}  // namespace
}  // namespace eco
