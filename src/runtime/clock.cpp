#include "runtime/clock.h"

#include <cmath>
#include <cstdint>

#include "runtime/pending_failure.h"
#include "runtime/runtime.h"

namespace {
constexpr std::int64_t day_ms = 86'400'000;
}

void take_clock_base() {
  Runtime& rt = runtime();
  rt.clock.base_time_of_day_ms = rt.host->time_of_day_at_next_second_ms();
  rt.clock.base_counter_ms = rt.host->clock_counter_ms();
}

double timer_seconds(double divisor, bool divisor_given) {
  if (failure_pending()) return 0;
  if (divisor_given && !(divisor > 0)) {
    raise_error(error_illegal_function_call);
    return 0;
  }
  const Runtime& rt = runtime();
  const std::int64_t elapsed = rt.host->clock_counter_ms() - rt.clock.base_counter_ms;
  const std::int64_t ms = ((elapsed + rt.clock.base_time_of_day_ms) % day_ms + day_ms) % day_ms;
  const double seconds = static_cast<double>(ms) / 1000.0;
  if (divisor_given) return std::nearbyint(seconds / divisor) * divisor;
  return static_cast<float>(std::nearbyint(seconds * 18.2) / 18.2);
}
