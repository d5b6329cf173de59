#pragma once
// The threads of one parallel region of the resampling. Workers only
// compute: they never write to the console nor raise numerical errors.
//
// Threads are a resource like memory: a thread that the system cannot
// start (a process or memory limit) is not an error. The region runs on
// the threads that did start, or on the calling thread alone, and the run
// says so once, in a warning; the results never depend on how many ran.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace eco {

// Starts up to `count` threads running work(t), t = 0..started()-1, and
// joins them when it goes out of scope. Starting stops at the first thread
// the system refuses (with the warning). The first exception a worker
// throws is kept and rethrown by finish().
class WorkerThreads {
 public:
  WorkerThreads(int count, const std::function<void(int)>& work);
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  int started() const { return static_cast<int>(threads_.size()); }
  // Joins every thread; rethrows a worker's exception.
  void finish();

 private:
  void join();
  void refused(int count, const char* why) noexcept;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::exception_ptr failure_;
};

// Runs work(t) on `count` threads, or on as many as start (the calling
// thread when none does), for work that the threads claim piece by piece
// until none is left. Rethrows the first exception of any of them.
void runShared(int count, const std::function<void(int)>& work);

// The look-ahead ring of a region whose results the calling thread takes in
// order: items 0..items-1, each made of `parts` pieces that workers claim in
// order and produce into the item's slot, at most `window` items ahead of
// the ones taken in (which bounds the storage: `window` slots). A worker
// waits only for the calling thread, and the calling thread only for the
// workers; stop() (a failure on either side, or the end) releases both.
class LookAheadRing {
 public:
  LookAheadRing(int64_t items, int parts, int64_t window);

  struct Piece {
    int64_t item = 0;
    int part = 0;
    std::size_t slot = 0;
  };
  // Worker side: the next piece, once its item is within the window; false
  // when none is left or the ring stopped.
  bool claim(Piece& piece);
  void produced(const Piece& piece);

  // Calling thread: waits until every piece of `item` is produced; false
  // when the ring stopped first.
  bool await(int64_t item);
  // Calling thread: the item is taken in; its slot is free again.
  void takenIn(int64_t item);

  void stop();
  std::size_t slotOf(int64_t item) const { return static_cast<std::size_t>(item % window_); }

 private:
  const int64_t items_;
  const int parts_;
  const int64_t window_;
  std::mutex mutex_;
  std::condition_variable workersWait_, callerWait_;
  int64_t next_ = 0;     // pieces claimed
  int64_t takenIn_ = 0;  // items taken in
  std::vector<int> done_;
  bool stopped_ = false;
};

// Stops a ring when it goes out of scope, whichever way the scope ends.
struct RingStop {
  LookAheadRing& ring;
  ~RingStop() { ring.stop(); }
};

}  // namespace eco
