#pragma once
// The proof that a double estimate rounds to the same float as an extended-precision formula.
//
// An estimate e of a value and the extended formula's result x both lie within a known
// relative distance of the true value, so |x - e| <= b * 2^-53 * |e| for a bound b (in units
// of 2^-53, the double unit roundoff u). Rounding to float (nearest, ties to even) is
// monotonic, so when the two ends of the widened bracket e * (1 - w) and e * (1 + w) round to
// the same float, every value between them does too, x and e included. The bracket is widened
// well beyond b: w = (proof_margin * b + proof_own_roundings) * u, so the estimate must lie at
// least proof_margin times its error bound clear of every float midpoint and of the overflow
// edge. The own roundings cover the two products and the rounding of the factors 1 - w, 1 + w.
//
// The same proof reads the estimate's own bits, for a bound relative to the estimate. A normal
// double e of the binade [2^E, 2^(E+1)) has an ulp of 2^(E-52), and every value within b u |e|
// of e lies within b of its ulps (|e| < 2^(E+1)). A float has 29 significand bits fewer: in
// the binades of normal floats the floats are the doubles whose low 29 significand bits are 0,
// and the midpoints between neighbouring floats are the doubles whose low 29 bits are 2^28
// (the midpoint below 2^E included, as a double of the binade below). When the low 29 bits of e
// lie at least c ulps from 2^28, for a c above b, no midpoint of e's binade lies within the
// bound, and those of the neighbouring binades lie at least 2^27 ulps away; so the bound holds
// one float only, the one nearest e: e's bits plus 2^28 with the low 29 bits cleared (a carry
// into the exponent gives the next power of two; an e below FLT_MIN whose nearest is FLT_MIN lies
// within 2^-151 of it, a quarter of the float step there, and rounds to it with its bound). Two integer operations and one comparison
// replace the bracket's two products and four conversions. The clearance c = proof_margin * b
// + 1 keeps the bracket's margin; the integer test has no roundings of its own.
//
// A proven float must moreover be normal: zero, subnormal, infinite and NaN results (and the
// estimates that produce them) are left to the extended formula, which the fast formulas do
// not try to match there.

namespace error_bound {

// Everything is in units of u = 2^-53, relative to the value. One ulp of a double is at most
// 2^-52 = 2 u of the value.
constexpr double unit_roundoff = 0x1p-53;

// One rounding of a double operation (nearest): at most 1 u.
constexpr double double_rounding = 1;

// One rounding of an x87 extended operation (64-bit significand): 2^-64 = 2^-11 u.
constexpr double extended_rounding = 0x1p-11;

// SLEEF's u10 functions (Sleef_atand8_u10, Sleef_sind8_u10, Sleef_cosd8_u10 and their 4-lane
// and 1-lane forms): documented maximum error 1.0 ulp, so at most 2 u.
constexpr double sleef_u10 = 2;

// SLEEF's u35 functions (Sleef_atand8_u35, Sleef_sind8_u35 and their other forms): documented
// maximum error 3.5 ulp, so at most 7 u.
constexpr double sleef_u35 = 7;

// sin_single and cos_single, which the extended formulas call, give the correctly rounded
// double of the true sine and cosine, rounded to float: a bracket of doubles that holds the
// true value holds that double too, so when it rounds to one float it gives theirs, and they
// add nothing to a bound.
constexpr double correctly_rounded_sin_cos = 0;

// The x87 FPATAN instruction behind atanl: Intel documents an error below 1 ulp of the
// extended result, 2^-63 = 2^-10 u.
constexpr double x87_atan = 0x1p-10;

}  // namespace error_bound

// How far beyond its error bound an estimate must lie from a float rounding boundary.
constexpr double proof_margin = 4;
constexpr double proof_own_roundings = 3;

// The clearance c of the bit test, in ulps of the estimate, for an error bound in units of
// 2^-53 relative to the estimate.
constexpr long long proof_clearance(double bound_units) {
  return static_cast<long long>(proof_margin * bound_units) + 1;
}

// The relative half-width w of the proof bracket for an error bound in units of 2^-53.
constexpr double proof_width(double bound_units) {
  return (proof_margin * bound_units + proof_own_roundings) * error_bound::unit_roundoff;
}
