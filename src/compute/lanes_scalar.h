#pragma once
// One double lane, for a processor without AVX2: the same interface as the vector lanes, so
// that one kernel template serves every instruction set. Include only from files compiled
// for the baseline set (named *_scalar.cpp).
#include <sleef.h>

#include <bit>

struct LanesScalar {
  static constexpr int count = 1;
  using Doubles = double;
  using Mask = unsigned;
  using Bits = unsigned long long;

  static Doubles splat(double value) { return value; }
  static Doubles load_floats(const float* values) { return *values; }
  static void store_floats(Doubles values, float* out) { *out = static_cast<float>(values); }
  static Doubles round_to_float(Doubles values) { return static_cast<float>(values); }
  // a * b + c, rounded twice: the baseline set has no fused form, and a library fma would cost
  // more than the rounding it saves. The bounds of the functions that use it hold for both forms
  // (tools/lane_functions_sweep checks each).
  static Doubles multiply_add(Doubles a, Doubles b, Doubles c) { return a * b + c; }
  static Doubles sqrt(Doubles values) { return __builtin_sqrt(values); }
  // Quotients by the division itself (lanes_quotient.h): its multiply-add is not fused.
  static constexpr bool divides_by_estimate = false;
  static Doubles atan(Doubles values) { return Sleef_atan_u10(values); }
  static Doubles sin(Doubles values) { return Sleef_sin_u10(values); }
  static Doubles cos(Doubles values) { return Sleef_cos_u10(values); }
  // The faster forms within 3.5 ulp (error_bound::sleef_u35).
  static Doubles atan_u35(Doubles values) { return Sleef_atan_u35(values); }
  static Doubles sin_u35(Doubles values) { return Sleef_sin_u35(values); }
  // Square roots by the square-root instruction: the baseline set has no fused multiply-add for
  // the refinement of an estimate (lanes_root.h).
  static constexpr bool roots_by_estimate = false;

  static Mask less(Doubles a, Doubles b) { return a < b; }
  static Mask equal(Doubles a, Doubles b) { return a == b; }
  static Doubles select(Mask mask, Doubles yes, Doubles no) { return mask & 1 ? yes : no; }
  static unsigned mask_bits(Mask mask) { return mask; }

  static Bits bits(Doubles values) { return std::bit_cast<Bits>(values); }
  static Doubles from_bits(Bits bits) { return std::bit_cast<Doubles>(bits); }
  static Bits splat_bits(long long value) { return static_cast<Bits>(value); }
  // The sum modulo 2^64.
  static Bits add_bits(Bits a, Bits b) { return a + b; }
  // The smaller of a and b as unsigned integers.
  static Bits smaller_bits(Bits a, Bits b) { return a < b ? a : b; }
  // a < b as signed integers.
  static Mask less_bits(Bits a, Bits b) { return static_cast<long long>(a) < static_cast<long long>(b); }
  // a < b as unsigned integers.
  static Mask below(Bits a, Bits b) { return a < b; }
};
