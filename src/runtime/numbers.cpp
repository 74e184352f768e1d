#include "runtime/numbers.h"

#include <cmath>
#include <limits>

#include "runtime/failures.h"

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
  if (exponent == 2) return base * base;
  return std::pow(base, exponent);
}

extended atn_single(float value) { return std::atan(static_cast<extended>(value)); }

int integer_argument(extended value) {
  const std::int64_t rounded = round_to_int64(value);
  if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max()) {
    raise_error(error_overflow);
    return 0;
  }
  return static_cast<int>(rounded);
}
