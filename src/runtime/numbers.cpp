#include "runtime/numbers.h"

#include <cmath>
#include <limits>

#include "runtime/pending_failure.h"

std::int64_t round_to_int64(extended value) {
  constexpr extended two_to_63 = 9223372036854775808.0L;
  if (!std::isfinite(value) || value >= two_to_63 || value < -two_to_63)
    return std::numeric_limits<std::int64_t>::min();
  return std::llrint(value);  // the default rounding mode rounds half to even
}

float floor_single(float value) { return std::floor(value); }

extended abs_single(float value) { return std::fabs(static_cast<extended>(value)); }

float sgn_single(float value) {
  if (value == 0) return 0;
  if (value > 0) return 1;
  return -1;
}

extended sqr(double value) {
  if (value < 0) {
    raise_error(error_illegal_function_call);
    return 0;
  }
  return std::sqrt(static_cast<extended>(value));
}

extended power(extended base, extended exponent) {
  if (base < 0 && exponent != std::floor(exponent)) {
    raise_error(error_illegal_function_call);
    return 0;
  }
  // The logic squares only: one exact product rounded once, the bits glibc's powl gives, on
  // every system. Other exponents, which nothing exact uses, are the C library's.
  if (exponent == 2) return base * base;
  return std::pow(base, exponent);
}

// The x87 FPATAN instruction itself, arc tangent of st(1) / st(0), which glibc's and MinGW's
// atanl both call: the same bits on every system that runs on the same processor.
extended atn_single(float value) {
  extended result;
  asm("fpatan" : "=t"(result) : "0"(1.0L), "u"(static_cast<extended>(value)) : "st(1)");
  return result;
}

int integer_argument(extended value) {
  const std::int64_t rounded = round_to_int64(value);
  if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max()) {
    raise_error(error_overflow);
    return 0;
  }
  return static_cast<int>(rounded);
}
