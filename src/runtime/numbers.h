#pragma once
// Number conventions of the program: every variable is a float, formulas run in x87 extended
// precision and are stored to float once. These helpers make each rounding visible.
#include <cstdint>
#include <limits>

using extended = long double;
static_assert(std::numeric_limits<extended>::digits == 64,
              "the exact results need long double to be x87 extended precision, with a 64-bit significand");

inline float single(extended value) { return static_cast<float>(value); }
inline double to_double(extended value) { return static_cast<double>(value); }

// A counter's next value: one more, stored to float.
inline float next_count(float counter) { return single(extended{counter} + 1); }

// A condition that is stored or combined is -1 when true and 0 when false.
inline float truth(bool condition) { return condition ? -1.0f : 0.0f; }

// Nearest integer, ties to even. A value that is not a number, is infinite or lies beyond the
// 64-bit range gives INT64_MIN, which no table index accepts.
std::int64_t round_to_int64(extended value);

float floor_single(float value);
extended abs_single(float value);
// 0 for either zero, 1 above 0, -1 otherwise (a value that is not a number included).
float sgn_single(float value);
// Square root in extended precision; a negative argument raises failure 5 and gives 0.
extended sqr(double value);
// a to the power b; a negative a with a fractional b raises failure 5 and gives 0.
extended power(extended base, extended exponent);
// Sine and cosine of a float argument in radians: the correctly rounded double, rounded to
// float, the same on every system (sine_cosine.cpp).
float sin_single(float radians);
float cos_single(float radians);
// Arc tangent in radians, in extended precision, not rounded to float: the processor's FPATAN.
extended atn_single(float value);

// An integer argument of a runtime operation: the value rounded to nearest, ties to even; one
// that does not fit in 32 bits raises failure 6 and gives 0.
int integer_argument(extended value);
