#include "compute/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
#include <thread>

namespace {

TEST(WorkerPool, AFailedAllocationOnAWorkerReachesTheCallerOnceTheLoopHasEnded) {
  set_worker_count(4);
  std::atomic<int> running{0}, calls{0};
  const auto loop = [&](bool workers_fail) {
    parallel_for(400, 1, [&](std::size_t, std::size_t, int worker) {
      running.fetch_add(1);
      calls.fetch_add(1);
      if (worker == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));  // leave ranges to the workers
      else if (workers_fail) {
        running.fetch_sub(1);
        throw std::bad_alloc();
      }
      running.fetch_sub(1);
    });
  };
  EXPECT_THROW(loop(true), std::bad_alloc);
  EXPECT_EQ(running.load(), 0) << "the loop returned while calls still ran";
  EXPECT_LT(calls.load(), 400) << "ranges were still handed out after the failure";

  calls.store(0);
  loop(false);
  EXPECT_EQ(calls.load(), 400) << "the next loop runs whole";
  set_worker_count(0);
}

}  // namespace
