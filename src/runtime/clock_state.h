#pragma once
// The clock's base, taken once at program start: a restart keeps it.
#include <cstdint>

struct ClockState {
  std::int64_t base_counter_ms = 0;      // the host's millisecond counter at the base
  std::int64_t base_time_of_day_ms = 0;  // milliseconds since midnight at the base
};
