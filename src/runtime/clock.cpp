#include "runtime/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

#include "runtime/failures.h"
#include "runtime/local_time.h"
#include "runtime/runtime.h"

namespace {

constexpr std::int64_t day_ms = 86'400'000;

std::int64_t counter_ms() {
  const ClockState& clock = runtime().clock;
  if (clock.test_clock) return clock.test_counter_ms;
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::int64_t time_of_day_ms(std::time_t seconds) {
  const std::tm local = local_time_of(seconds);
  return ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000LL;
}

}  // namespace

void take_clock_base() {
  ClockState& clock = runtime().clock;
  clock.test_clock = false;
  const std::time_t start = std::time(nullptr);
  std::time_t now = start;
  while (now == start) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    now = std::time(nullptr);
  }
  clock.base_counter_ms = counter_ms();
  clock.base_time_of_day_ms = time_of_day_ms(now);
}

double timer_seconds(double divisor, bool divisor_given) {
  if (failure_pending()) return 0;
  if (divisor_given && !(divisor > 0)) {
    raise_error(error_illegal_function_call);
    return 0;
  }
  const ClockState& clock = runtime().clock;
  const std::int64_t ms = ((counter_ms() - clock.base_counter_ms + clock.base_time_of_day_ms) % day_ms + day_ms) % day_ms;
  const double seconds = static_cast<double>(ms) / 1000.0;
  if (divisor_given) return std::nearbyint(seconds / divisor) * divisor;
  return static_cast<float>(std::nearbyint(seconds * 18.2) / 18.2);
}

void use_test_clock(std::int64_t time_of_day_ms) {
  ClockState& clock = runtime().clock;
  clock.test_clock = true;
  clock.test_counter_ms = 0;
  clock.base_counter_ms = 0;
  clock.base_time_of_day_ms = time_of_day_ms;
}

void advance_test_clock(std::int64_t milliseconds) { runtime().clock.test_counter_ms += milliseconds; }
