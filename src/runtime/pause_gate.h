#pragma once
// The pause that the window thread sets and the logic waits out. A mutex and a condition
// variable rather than std::atomic<bool>::wait: where the system has no futex (Windows),
// GCC 12's atomic wait could miss the notify of a stop and leave the logic asleep for good.
#include <condition_variable>
#include <mutex>

class PauseGate {
 public:
  void set(bool paused) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      paused_ = paused;
    }
    if (!paused) opened_.notify_all();
  }
  // Returns once the pause has ended; at once when there is none.
  void wait_while_paused() {
    std::unique_lock<std::mutex> lock(mutex_);
    opened_.wait(lock, [this] { return !paused_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool paused_ = false;
};
