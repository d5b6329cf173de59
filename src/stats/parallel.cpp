#include "stats/parallel.h"

#include "numeric/extended.h"

namespace eco {

WorkerThreads::WorkerThreads(int count, const std::function<void(int)>& work) {
  threads_.reserve(static_cast<std::size_t>(count));
  try {
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
  } catch (...) {
    join();  // threads that did start must not outlive the region
    throw;
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

}  // namespace eco
