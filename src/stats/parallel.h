#pragma once
// The threads of one parallel region of the resampling. Workers only
// compute: they never write to the console nor raise numerical errors.

#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace eco {

// Starts `count` threads running work(t), t = 0..count-1, and joins them
// when it goes out of scope. The first exception a worker throws is kept
// and rethrown by finish().
class WorkerThreads {
 public:
  WorkerThreads(int count, const std::function<void(int)>& work);
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Joins every thread; rethrows a worker's exception.
  void finish();

 private:
  void join();
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::exception_ptr failure_;
};

}  // namespace eco
