#pragma once
// The clock: seconds since midnight in steps of 1/18.2 s, counted from a base taken once.
#include <cstdint>

struct ClockState {
  std::int64_t base_counter_ms = 0;      // the millisecond counter at the base
  std::int64_t base_time_of_day_ms = 0;  // milliseconds since midnight at the base
  bool test_clock = false;               // tests set the counter themselves
  std::int64_t test_counter_ms = 0;
};

// Waits for the wall clock's next second and records the base.
void take_clock_base();
// Seconds since midnight in steps of 1/18.2 s, rounded to float; with a divisor given, in
// steps of that many seconds and not rounded (a divisor of 0 or less is failure 5).
double timer_seconds(double divisor = 0, bool divisor_given = false);

// Tests: a clock whose counter the test sets, with the base at the given time of day.
void use_test_clock(std::int64_t time_of_day_ms);
void advance_test_clock(std::int64_t milliseconds);
