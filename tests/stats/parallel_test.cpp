// The parallel regions: a failure on either side ends the region with the
// failure, and nothing waits for a thread that can no longer signal.
#include "stats/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "records/diagnostics.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
// A system that refuses every thread (here: no address space left for a
// thread's stack) leaves the work to the calling thread, with one warning
// that says so. In a fresh process (this test again, by its name): the C
// library keeps the stacks of ended threads for new ones, so a process
// that ran threads before could still start some. Its address space is
// limited to what it uses already and a little more.
TEST(Parallel, RefusedThreadsLeaveTheWorkToTheCallingThread) {
  if (std::getenv("ECO_REFUSE_THREADS") != nullptr) {
    std::ostringstream err;
    resetDiagnostics(&err);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit =
        static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{1} << 20);
    const rlimit r{limit, limit};
    if (setrlimit(RLIMIT_AS, &r) != 0) _exit(3);
    std::atomic<int> next{0}, done{0};
    runShared(4, [&](int) {
      for (int i = next.fetch_add(1); i < 1000; i = next.fetch_add(1)) done.fetch_add(1);
    });
    const bool warned = err.str() ==
                        "warning: only 0 of 4 threads could be started (the system refused "
                        "another); the run goes on with 1, with the same results\n";
    _exit(done == 1000 ? (warned ? 0 : 2) : 1);
  }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setenv("ECO_REFUSE_THREADS", "1", 1);
    // The one test, whatever shard of the suite this process runs.
    unsetenv("GTEST_TOTAL_SHARDS");
    unsetenv("GTEST_SHARD_INDEX");
    execl("/proc/self/exe", "parallel_test",
          "--gtest_filter=Parallel.RefusedThreadsLeaveTheWorkToTheCallingThread",
          static_cast<char*>(nullptr));
    _exit(4);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: work left undone, 2: not the one warning";
}
#endif

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
