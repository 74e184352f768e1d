#pragma once
// The clock: seconds since midnight in steps of 1/18.2 s, counted from a base taken once. The
// host gives the counter and the time of day (host.h).

// Waits for the wall clock's next second and records the base.
void take_clock_base();
// Seconds since midnight in steps of 1/18.2 s, rounded to float; with a divisor given, in
// steps of that many seconds and not rounded (a divisor of 0 or less is failure 5).
double timer_seconds(double divisor = 0, bool divisor_given = false);
