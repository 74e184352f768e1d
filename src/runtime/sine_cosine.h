#pragma once
// Sine and cosine of a float: the double nearest the true value, rounded to float (nearest,
// ties to even), with the same bits on every system: no C library function is called, and
// every step is an exact integer operation or a double operation that IEEE 754 rounds alike
// everywhere. The value is the float nearest the true one except where that double lies exactly
// halfway between two floats and goes to the even one: sin(+-0x1.33333p+13),
// cos(+-0x1.3170fp+63) and cos(+-0x1.2b9622p+67).
//
// x = k * pi/2 + r with |r| <= pi/4. A double estimate of sin r or cos r, within
// estimate_bound of the true value, settles nearly every argument: when both ends of the
// bracket of doubles about it round to the same float, so does the true value, and so does the
// double nearest it, which lies between the same two doubles. The rest, 42 of the 2^32 floats
// for the two functions together, go to an exact reduction and an evaluation in 128-bit fixed
// point, within 2^-120 of the true value, which lies far enough from a double's rounding
// boundary for every float (tools/sine_cosine_sweep.cpp checks both facts over every float).
#include <cstdint>

namespace sine_cosine {

using uint128 = unsigned __int128;

// The exact reduction of |x|: |x| = k * pi/2 + r, by an integer product with enough bits of
// 2/pi for every float up to the largest.
struct Reduction {
  int quadrant;      // k mod 4
  bool negative;     // r < 0
  uint128 mantissa;  // |r| = mantissa * 2^exponent within 2^-124 relative, the top bit set
  int exponent;
};
// For a finite magnitude other than 0.
Reduction reduce(float magnitude);

// The double estimate of sin x or cos x for a finite x other than 0, and its error bound
// relative to the estimate, in units of 2^-53.
double estimate(float x, bool cosine);
constexpr double estimate_bound = 4;

// The float of an estimate whose bracket rounds to one float (then it is the float of every
// value within the bound and of the double nearest each), else 0, which no sine or cosine of a
// float other than 0 is.
float proven_float(double estimate);

// The float of the double nearest the fixed-point value; decided is false when the value lay so
// close to a double's rounding boundary that its error could have moved it across.
float precise_float(float x, bool cosine, bool& decided);

// The sine and cosine of the double nearest pi/2 / n, for n >= 1, each correctly rounded to
// double (the step of a circle drawn with n steps a quarter). Below 2^20 every n is checked;
// beyond, the value of an n whose sine or cosine lay within 2^-116 of a rounding boundary
// could be one off, with the same bits everywhere all the same.
struct SineCosine {
  double sine, cosine;
};
SineCosine quarter_step(std::int32_t n);

}  // namespace sine_cosine
