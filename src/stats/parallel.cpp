#include "stats/parallel.h"

#include <algorithm>
#include <new>
#include <string>
#include <system_error>

#include "numeric/extended.h"
#include "records/diagnostics.h"

namespace eco {
namespace {

// Once per run: every later region meets the same limit.
void warnThreadsRefused(int count, int started, const char* why) {
  constexpr const char* kSubject = "threads";
  constexpr const char* kKind = "start";
  if (diagnostics().counts.contains({kSubject, kKind})) return;
  warnAbout(kSubject, kKind,
            "only " + std::to_string(started) + " of " + std::to_string(count) +
                " threads could be started (" + why + "); the run goes on with " +
                std::to_string(std::max(started, 1)) + ", with the same results");
}

}  // namespace

WorkerThreads::WorkerThreads(int count, const std::function<void(int)>& work) {
  try {
    threads_.reserve(static_cast<std::size_t>(count));
    for (int t = 0; t < count; ++t) {
      threads_.emplace_back([this, work, t] {
        try {
          // A new thread may start with the platform's own setting of
          // the floating-point unit (53-bit precision on Windows).
          ensureExtendedPrecision();
          work(t);
        } catch (...) {
          const std::lock_guard<std::mutex> lock(mutex_);
          if (!failure_) failure_ = std::current_exception();
        }
      });
    }
  } catch (const std::system_error&) {
    refused(count, "the system refused another");
  } catch (const std::bad_alloc&) {
    refused(count, "out of storage");
  }
}

// Never throws: threads that started must be joined by the destructor. A
// warning that cannot be written for want of storage is a failure of the
// region, which finish() reports.
void WorkerThreads::refused(int count, const char* why) noexcept {
  try {
    warnThreadsRefused(count, started(), why);
  } catch (...) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!failure_) failure_ = std::current_exception();
  }
}

WorkerThreads::~WorkerThreads() { join(); }

void WorkerThreads::join() {
  for (std::thread& t : threads_) {
    if (t.joinable()) t.join();
  }
}

void WorkerThreads::finish() {
  join();
  if (failure_) std::rethrow_exception(failure_);
}

void runShared(int count, const std::function<void(int)>& work) {
  if (count <= 1) {
    work(0);
    return;
  }
  WorkerThreads region(count, work);
  if (region.started() == 0) work(0);
  region.finish();
}

LookAheadRing::LookAheadRing(int64_t items, int parts, int64_t window)
    : items_(items), parts_(parts), window_(window), done_(static_cast<std::size_t>(window), 0) {}

bool LookAheadRing::claim(Piece& piece) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (stopped_ || next_ >= items_ * parts_) return false;
  const int64_t item = next_ / parts_;
  piece = {item, static_cast<int>(next_ % parts_), slotOf(item)};
  ++next_;
  workersWait_.wait(lock, [&] { return stopped_ || item < takenIn_ + window_; });
  return !stopped_;
}

void LookAheadRing::produced(const Piece& piece) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (++done_[piece.slot] == parts_) callerWait_.notify_one();
}

bool LookAheadRing::await(int64_t item) {
  std::unique_lock<std::mutex> lock(mutex_);
  callerWait_.wait(lock, [&] { return stopped_ || done_[slotOf(item)] == parts_; });
  return !stopped_;
}

void LookAheadRing::takenIn(int64_t item) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    done_[slotOf(item)] = 0;
    takenIn_ = item + 1;
  }
  workersWait_.notify_all();
}

void LookAheadRing::stop() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  workersWait_.notify_all();
  callerWait_.notify_all();
}

}  // namespace eco
