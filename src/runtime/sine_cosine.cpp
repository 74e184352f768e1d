#include "runtime/sine_cosine.h"

#include <bit>
#include <cmath>

#include "runtime/numbers.h"

namespace sine_cosine {

namespace {

using std::uint32_t;
using std::uint64_t;

#define ALWAYS_INLINE [[gnu::always_inline]] inline

constexpr float quarter_turn = 0.785398185f;  // the float above pi/4
constexpr float medium_limit = 0x1p20f;        // below it, k < 2^20

// The bits of 2/pi from the weight 2^31 down, 64 to a word: the first 32 stand above the
// binary point and are 0. A reduction reads at most the bits 2^6 to 2^-296.
constexpr uint64_t two_over_pi_bits[] = {
    0x00000000a2f9836e, 0x4e441529fc2757d1, 0xf534ddc0db629599,
    0x3c439041fe5163ab, 0xdebbc561b7246e3a, 0x424dd2e006492eea,
};
// pi/4 * 2^128, rounded down.
constexpr uint128 quarter_pi_fixed = (static_cast<uint128>(0xc90fdaa22168c234) << 64) | 0xc4c6628b80dc1cd1;

// pi/2 in three parts: 33 bits, 32 bits and the next 53 bits, within 2^-122 together.
constexpr double half_pi_1 = 0x1.921fb544p+0, half_pi_2 = 0x1.0b4611a6p-34, half_pi_3 = 0x1.3198a2e037073p-69;
constexpr double two_over_pi = 0x1.45f306dc9c883p-1;

constexpr uint64_t high_word(uint128 v) { return static_cast<uint64_t>(v >> 64); }
constexpr uint64_t low_word(uint128 v) { return static_cast<uint64_t>(v); }

// The high 128 bits of the 256-bit product, rounded down.
constexpr uint128 multiply_high(uint128 a, uint128 b) {
  const uint128 low = static_cast<uint128>(low_word(a)) * low_word(b);
  const uint128 cross1 = static_cast<uint128>(low_word(a)) * high_word(b);
  const uint128 cross2 = static_cast<uint128>(high_word(a)) * low_word(b);
  const uint128 high = static_cast<uint128>(high_word(a)) * high_word(b);
  const uint128 middle = (low >> 64) + low_word(cross1) + low_word(cross2);
  return high + (cross1 >> 64) + (cross2 >> 64) + (middle >> 64);
}

// 2^k for a k in the normal double range.
ALWAYS_INLINE double power_of_two(int k) { return std::bit_cast<double>(static_cast<uint64_t>(1023 + k) << 52); }

// |x| below pi/4 is its own r.
Reduction small_reduction(float magnitude) {
  const uint32_t bits = std::bit_cast<uint32_t>(magnitude);
  const uint32_t field = bits >> 23;
  const uint32_t significand = field == 0 ? bits & 0x7fffff : (bits & 0x7fffff) | 0x800000;
  const int exponent = field == 0 ? -149 : static_cast<int>(field) - 150;
  const int shift = std::countl_zero(significand) + 96;
  return {0, false, static_cast<uint128>(significand) << shift, exponent - shift};
}

// |x| = m * 2^e with a 24-bit integer m. The bits of 2/pi of weight 2^(1-e) down to 2^(-190-e)
// make a 192-bit window W, and m * W * 2^-190 is x * 2/pi up to a multiple of 4 (the bits above
// the window), less at most 2^-167 (those below it). Its two integer bits give k mod 4, the 190
// bits below them the fraction f, which lies at least 2^-31 from every integer for every float
// (r at least 2^-30), so the 2^-167 leaves it 2^-136 relative. |f| then loses at most 2^-127 to its normalised
// 128 bits, and r = f * pi/2 at most 2^-126 to pi/4's and the product's roundings.
ALWAYS_INLINE Reduction large_reduction(float magnitude) {
  const uint32_t bits = std::bit_cast<uint32_t>(magnitude);
  const uint64_t m = (bits & 0x7fffff) | 0x800000;
  const int first_bit = static_cast<int>(bits >> 23) - 150 + 30;  // of weight 2^(1-e) in the table
  const int word = first_bit >> 6, shift = first_bit & 63;
  const auto window = [&](int k) {
    return shift == 0 ? two_over_pi_bits[word + k]
                      : (two_over_pi_bits[word + k] << shift) | (two_over_pi_bits[word + k + 1] >> (64 - shift));
  };
  // The product's low 192 bits; the rest are multiples of 4.
  const uint128 product2 = static_cast<uint128>(m) * window(2);
  const uint128 product1 = static_cast<uint128>(m) * window(1);
  const uint128 middle = (product2 >> 64) + low_word(product1);
  const uint64_t limb0 = low_word(product2), limb1 = low_word(middle);
  const uint64_t limb2 = high_word(product1) + m * window(0) + high_word(middle);

  // The fraction, read as a signed 192-bit number, lies in [-1/2, 1/2): k is the nearest
  // integer. Its magnitude without branches: its sign is as good as random.
  uint64_t f2 = (limb2 << 2) | (limb1 >> 62), f1 = (limb1 << 2) | (limb0 >> 62), f0 = limb0 << 2;
  const uint64_t negative = f2 >> 63, flip = 0 - negative;
  const uint128 low_sum = static_cast<uint128>(f0 ^ flip) + negative;
  const uint128 middle_sum = static_cast<uint128>(f1 ^ flip) + high_word(low_sum);
  f0 = low_word(low_sum);
  f1 = low_word(middle_sum);
  f2 = (f2 ^ flip) + high_word(middle_sum);

  // |f| = fraction * 2^(-128 - zeros), normalised; then r = f * pi/2.
  const int zeros = std::countl_zero(f2);
  const uint128 top = (static_cast<uint128>(f2) << 64) | f1;
  const uint128 fraction = (top << zeros) | (f0 >> (64 - zeros));
  const uint128 r = multiply_high(fraction, quarter_pi_fixed);  // |r| = r * 2^(-127 - zeros)
  const int unused = 1 - static_cast<int>(r >> 127);
  return {static_cast<int>(((limb2 >> 62) + negative) & 3), negative != 0, r << unused, -127 - zeros - unused};
}

// r = high + low, signed, as the estimate takes it, and k mod 4.
struct Reduced {
  int quadrant;
  double high, low;
};

// Below 2^20, k * pi/2 in the three parts: k * half_pi_1 and k * half_pi_2 are exact (k has at
// most 20 bits), and so is x - k * half_pi_1, a multiple of 2^-32 below 1; the next difference
// is split exactly, and only k * half_pi_3, the sum of the small parts and pi/2's remainder
// err, by at most 2^-100 together, below 2^-70 of an |r| of at least 2^-30. A k one off, from
// the rounding of x * 2/pi, leaves |r| a hair above pi/4.
ALWAYS_INLINE Reduced medium_reduced(float magnitude) {
  constexpr double rounder = 0x1.8p52;  // adding and taking it away rounds to an integer
  const double x = magnitude;
  const double k = (x * two_over_pi + rounder) - rounder;
  const double r1 = x - k * half_pi_1;
  const double p2 = k * half_pi_2;
  const double r2 = r1 - p2, r2_part = r2 - r1;
  const double r2_error = (r1 - (r2 - r2_part)) - (p2 + r2_part);
  const double tail = r2_error - k * half_pi_3;
  const double high = r2 + tail;
  return {static_cast<int>(static_cast<std::int64_t>(k) & 3), high, tail - (high - r2)};
}

ALWAYS_INLINE Reduced large_reduced(float magnitude) {
  const Reduction r = large_reduction(magnitude);
  // The top 53 bits of the mantissa exactly, the next 64 rounded once.
  const uint64_t top = high_word(r.mantissa);
  const uint64_t rest = ((top & 0x7ff) << 53) | (low_word(r.mantissa) >> 11);
  const double high = static_cast<double>(top & ~uint64_t{0x7ff}) * power_of_two(r.exponent + 64);
  const double low = static_cast<double>(rest) * power_of_two(r.exponent + 11);
  const double sum = high + low, sum_low = low - (sum - high);
  return r.negative ? Reduced{r.quadrant, -sum, -sum_low} : Reduced{r.quadrant, sum, sum_low};
}

ALWAYS_INLINE Reduced reduced(float magnitude) {
  if (magnitude < quarter_turn) return {0, magnitude, 0};
  return magnitude < medium_limit ? medium_reduced(magnitude) : large_reduced(magnitude);
}

constexpr double factorial(int n) { return n <= 1 ? 1 : n * factorial(n - 1); }

// Taylor coefficients in double, correctly rounded (every factorial here is exact): (-1)^k /
// (first + 2k)!.
template <int first, int terms>
struct Series {
  double c[terms];
  constexpr Series() : c{} {
    for (int k = 0; k < terms; ++k) c[k] = (k % 2 == 0 ? 1 : -1) / factorial(first + 2 * k);
  }
};
// The sine's -r^3 * S(r^2) to r^17 and the cosine's r^4 * C(r^2) to r^16, evaluated by
// Estrin's scheme, whose chain of dependent operations is short.
constexpr Series<3, 8> sine_series;
constexpr Series<4, 7> cosine_series;

ALWAYS_INLINE double sine_polynomial(double s, double s2, double s4) {
  const double* c = sine_series.c;
  const double low = (c[0] + c[1] * s) + s2 * (c[2] + c[3] * s);
  const double high = (c[4] + c[5] * s) + s2 * (c[6] + c[7] * s);
  return low + s4 * high;
}

ALWAYS_INLINE double cosine_polynomial(double s, double s2, double s4) {
  const double* c = cosine_series.c;
  const double low = (c[0] + c[1] * s) + s2 * (c[2] + c[3] * s);
  const double high = (c[4] + c[5] * s) + s2 * c[6];
  return low + s4 * high;
}

// sin |x| is, by the quadrant k of |x|, sin r, cos r, -sin r or -cos r; cos |x| the same one
// quadrant on.
//
// With a = high and b = low, s = a^2:
//  sin(a + b) = a + (b - a s S(s)): leaving out b's factor cos a costs 0.33 u, S's terms end
//    at r^17 (0.001 u), S and s its roundings (5.2 u of a term below 0.103 a: 0.54 u of a), the
//    two sums 1.1 u; with a <= 1.111 sin a, within 2.1 u of the sine.
//  cos(a + b) = 1 + (-s/2 + (s^2 C(s) - a b)): the error of s in s/2 (0.31 u), the term s^2 C
//    (0.1 u), the sums (0.31 u and 0.71 u), b times a rather than sin a (0.08 u), C's end at
//    r^16 (0.02 u); with cos a >= 0.707, within 2.2 u of the cosine.
// Both are odd and even in (a, b) as they should be, so r's sign needs no care.
ALWAYS_INLINE double estimate_of(float x, bool cosine) {
  const Reduced r = reduced(std::fabs(x));
  const int quadrant = r.quadrant + cosine;
  const double a = r.high, b = r.low, s = a * a, s2 = s * s, s4 = s2 * s2;
  const double sine = a + (b - a * s * sine_polynomial(s, s2, s4));
  const double cosine_r = 1 + (-0.5 * s + (s2 * cosine_polynomial(s, s2, s4) - a * b));
  // The one wanted chosen by its bits: a branch on it would be mispredicted half the time.
  const uint64_t choose = 0 - static_cast<uint64_t>(quadrant & 1);
  const uint64_t bits = (std::bit_cast<uint64_t>(cosine_r) & choose) | (std::bit_cast<uint64_t>(sine) & ~choose);
  const bool negative = ((quadrant & 2) != 0) != (!cosine && x < 0);
  return std::bit_cast<double>(bits ^ (static_cast<uint64_t>(negative) << 63));
}

ALWAYS_INLINE float proven_float_of(double estimate) {
  // The bound, and one rounding of each end.
  constexpr double width = (estimate_bound + 1) * 0x1p-53;
  const float low = static_cast<float>(estimate - estimate * width);
  const float high = static_cast<float>(estimate + estimate * width);
  return low == high ? low : 0;
}

// Taylor coefficients in 128-bit fixed point: 2^128 / (2k + 1)! (the sine) or 2^128 / (2k)!
// (the cosine) for k from 1, rounded down; 16 terms leave a remainder below 2^-140 for
// |r| <= pi/4.
constexpr int fixed_terms = 16;
struct FixedSeries {
  uint128 c[fixed_terms];
  constexpr explicit FixedSeries(int offset) : c{} {
    uint128 factorial = 1;
    int n = 1;
    for (int k = 0; k < fixed_terms; ++k) {
      while (n < 2 * (k + 1) + offset) factorial *= static_cast<uint128>(++n);
      c[k] = ~uint128{0} / factorial;
    }
  }
  // s/c1 - s^2/c2 + ... by Horner; every partial sum stays positive, since each coefficient is
  // far larger than s times the next.
  uint128 operator()(uint128 s) const {
    uint128 sum = c[fixed_terms - 1];
    for (int k = fixed_terms - 2; k >= 0; --k) sum = c[k] - multiply_high(s, sum);
    return multiply_high(s, sum);
  }
};
constexpr FixedSeries sine_fixed(1);    // 1 - sin(r)/r
constexpr FixedSeries cosine_fixed(0);  // 1 - cos(r)

// The sine or cosine of a reduced |r| <= pi/4 as m * 2^e with m in [2^127, 2^128), within
// 2^-120 of the true value: the reduction holds |r| to 2^-124, every fixed-point step loses at
// most 2^-128 of a value below 1, and sin r = r * (1 - S), cos r = 1 - C, with S <= 0.11 and
// C <= 0.30.
struct Fixed {
  uint128 mantissa;
  int exponent;
};

// r^2 * 2^128, rounded down.
uint128 fixed_square(const Reduction& r) {
  const uint128 r_fixed = r.exponent <= -256 ? 0 : r.mantissa >> (-128 - r.exponent);
  return multiply_high(r_fixed, r_fixed);
}

Fixed fixed_sine(const Reduction& r, uint128 square) {
  const uint128 mantissa = r.mantissa - multiply_high(r.mantissa, sine_fixed(square));
  if (mantissa >> 127) return {mantissa, r.exponent};
  return {mantissa << 1, r.exponent - 1};
}

Fixed fixed_cosine(uint128 square) { return {~cosine_fixed(square), -128}; }  // 2^128 - 1 - C

// A fixed-point mantissa's bits below a double's 53, and half their range.
constexpr int below_double = 75;
constexpr uint128 double_half = static_cast<uint128>(1) << (below_double - 1);
constexpr uint128 bits_below_double(uint128 mantissa) { return mantissa & ((double_half << 1) - 1); }

// A fixed-point value rounded to a double.
double rounded_double(Fixed value) {
  const uint64_t kept =
      static_cast<uint64_t>(value.mantissa >> below_double) + (bits_below_double(value.mantissa) > double_half);
  return static_cast<double>(kept) * power_of_two(value.exponent + below_double);  // 2^53 itself is exact too
}

// The double nearest the true value, then the float nearest that double, ties to even: an
// exact halfway double goes to the even float, which need not be the float nearest the true
// value.
[[gnu::noinline]] float precise_float_of(float x, bool cosine, bool& decided) {
  const float magnitude = std::fabs(x);
  const Reduction r = magnitude < quarter_turn ? small_reduction(magnitude) : large_reduction(magnitude);
  const int quadrant = r.quadrant + cosine;
  const bool cosine_of_r = quadrant & 1;
  const bool negative = (((quadrant & 2) != 0) != (!cosine_of_r && r.negative)) != (!cosine && x < 0);

  const uint128 square = fixed_square(r);
  const Fixed value = cosine_of_r ? fixed_cosine(square) : fixed_sine(r, square);
  // The double is sure when the value lies clear of a double midpoint.
  constexpr uint128 tolerance = static_cast<uint128>(1) << 12;  // 2^-116 of the value
  const uint128 rest = bits_below_double(value.mantissa);
  decided = rest > double_half ? rest - double_half > tolerance : double_half - rest > tolerance;
  const float rounded = static_cast<float>(rounded_double(value));
  return negative ? -rounded : rounded;
}

ALWAYS_INLINE float sine_or_cosine(float x, bool cosine) {
  const float proven = proven_float_of(estimate_of(x, cosine));
  if (proven != 0) [[likely]] return proven;
  bool decided;
  return precise_float_of(x, cosine, decided);
}

}  // namespace

Reduction reduce(float magnitude) {
  return magnitude < quarter_turn ? small_reduction(magnitude) : large_reduction(magnitude);
}
// d = pi/2 / n lies below pi/4 for every n from 2 on: d itself is r, exact in 128 bits, and
// the fixed point gives both values as for a float. n = 1 takes the double nearest pi/2,
// whose sine rounds to 1 and whose cosine is the double nearest the 2^-53.9 that it falls
// short of pi/2.
SineCosine quarter_step(std::int32_t n) {
  if (n == 1) return {1, 0x1.1a62633145c07p-54};
  const double d = 0x1.921fb54442d18p0 / n;
  const uint64_t bits = std::bit_cast<uint64_t>(d);
  const Reduction r{0, false, static_cast<uint128>((bits & 0xfffffffffffff) | 0x10000000000000) << below_double,
                    static_cast<int>(bits >> 52) - 1075 - below_double};
  const uint128 square = fixed_square(r);
  return {rounded_double(fixed_sine(r, square)), rounded_double(fixed_cosine(square))};
}

double estimate(float x, bool cosine) { return estimate_of(x, cosine); }
float proven_float(double estimate) { return proven_float_of(estimate); }
float precise_float(float x, bool cosine, bool& decided) { return precise_float_of(x, cosine, decided); }

}  // namespace sine_cosine

// x - x is the not-a-number that the hardware gives for an infinity, or x's own, quieted.
float sin_single(float radians) {
  if (!std::isfinite(radians)) return radians - radians;
  if (radians == 0) return radians;
  return sine_cosine::sine_or_cosine(radians, false);
}

float cos_single(float radians) {
  if (!std::isfinite(radians)) return radians - radians;
  if (radians == 0) return 1;
  return sine_cosine::sine_or_cosine(radians, true);
}
