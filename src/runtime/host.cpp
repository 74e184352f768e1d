#include "runtime/host.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "runtime/local_time.h"

std::int64_t Host::clock_counter_ms() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::int64_t Host::time_of_day_at_next_second_ms() {
  const std::time_t start = std::time(nullptr);
  std::time_t now = start;
  while (now == start) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    now = std::time(nullptr);
  }
  const std::tm local = local_time_of(now);
  return ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000LL;
}
