#include "compute/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "compute/precision_control.h"

namespace {

int core_count() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores);
}

// The workers start with the first loop that needs them and then wait for the next loop; a
// new thread count stops them, and the next loop starts the new number.
class WorkerPool {
 public:
  void set_size(int threads) {
    stop_workers();
    size_ = threads <= 0 ? core_count() : threads;
  }
  int size() const { return size_; }

  void run(std::size_t count, std::size_t chunk, const RangeBody& body) {
    chunk = std::max<std::size_t>(chunk, 1);
    if (size_ <= 1 || count <= chunk) {
      if (count > 0) body(0, count, 0);
      return;
    }
    start_workers();
    {
      std::lock_guard lock(mutex_);
      body_ = &body;
      count_ = count;
      chunk_ = chunk;
      next_.store(0);
      busy_ = workers_.size();
      ++generation_;
    }
    wake_.notify_all();
    take_ranges(0);
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return busy_ == 0; });
    body_ = nullptr;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  }

 private:
  void start_workers() {
    if (!workers_.empty()) return;
    const std::uint64_t generation = generation_;
    for (int worker = 1; worker < size_; ++worker)
      workers_.emplace_back([this, worker, generation] { work(worker, generation); });
  }

  void stop_workers() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
    stopping_ = false;
  }

  void work(int worker, std::uint64_t seen) {
    select_extended_precision();
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
      lock.unlock();
      take_ranges(worker);
      lock.lock();
      if (--busy_ == 0) finished_.notify_one();
    }
  }

  void take_ranges(int worker) {
    for (;;) {
      const std::size_t begin = next_.fetch_add(chunk_);
      if (begin >= count_) return;
      try {
        (*body_)(begin, std::min(count_, begin + chunk_), worker);
      } catch (...) {
        next_.store(count_);
        std::lock_guard lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
        return;
      }
    }
  }

  int size_ = core_count();
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  bool stopping_ = false;
  std::uint64_t generation_ = 0;
  std::size_t busy_ = 0;
  // The loop being shared, written under the mutex before the workers are woken.
  const RangeBody* body_ = nullptr;
  std::size_t count_ = 0, chunk_ = 1;
  std::atomic<std::size_t> next_{0};
  std::exception_ptr failure_;  // the first exception of a call, under the mutex
};

// Never destroyed: workers still asleep when the process ends need no join.
WorkerPool& pool() {
  static WorkerPool* const instance = new WorkerPool;
  return *instance;
}

}  // namespace

void set_worker_count(int threads) { pool().set_size(threads); }
int worker_count() { return pool().size(); }

void parallel_for(std::size_t count, std::size_t chunk, const RangeBody& body) { pool().run(count, chunk, body); }
