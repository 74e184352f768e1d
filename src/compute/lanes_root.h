#pragma once
// Square roots and scaled reciprocal square roots in double lanes without the divider, for a
// lanes type L whose multiply-add is fused and which offers an estimate of 1 / sqrt(x)
// (L::reciprocal_sqrt_estimate; lanes_avx512.h, lanes_avx2.h): the divider and square-root
// unit is narrower than AVX-512's lanes and slow, the multiply-add pipes are not. The step takes
// these where L::roots_by_estimate says they pay. Each result is within a bound proven here, in
// units u = 2^-53 relative to the true value.
//
// The refinement, for x between lowest_argument and highest_argument:
//  y0 = L::reciprocal_sqrt_estimate(x), within E = L::reciprocal_sqrt_error of 1 / sqrt(x)
//       relative: y0 = (1 + e) / sqrt(x), |e| <= E.
//  h  = x y0 rounded once: h = x y0 (1 + a), |a| <= u.
//  s  = h y0 - 1 by one fused multiply-add, its exact value s* rounded once: |s - s*| <= u |s*|;
//       1 + s* = x y0^2 (1 + a) = (1 + e)^2 (1 + a), so |s*| <= R = 2E + E^2 + 2u.
//  Then x y0^2 = (1 + s*) / (1 + a), and with f(s) = (1 + s)^(-1/2) - 1 = sum of c_n (-s)^n over
//  n >= 1, c_n = binom(2n, n) / 4^n (1/2, 3/8, 5/16, ...), each exact in double:
//    sqrt(x) = x y0 / sqrt(x y0^2) = h (1 + a)^(-1/2) (1 + f(s*)),
//    c / sqrt(x) = c y0 / sqrt(x y0^2) = c y0 (1 + a)^(1/2) (1 + f(s*)).
//  So the result is g (1 + p(s)) for the leading term g (h, or c y0 rounded once), with p the
//  first `terms` terms of f: q = p(s) / s by Horner's rule in multiply-adds, m = g s, and
//  g + m q by one more.
// Its error, relative to the true value:
//  - a's share, (1 + a)^(-+1/2): at most u / 2 (plus u^2);
//  - for the scaled reciprocal, c y0's rounding, at most u;
//  - the truncation: |f(s*) - p(s*)| <= c_(k+1) R^(k+1) / (1 - R) for k terms (the c_n fall);
//  - the residual's rounding: |p(s) - p(s*)| <= max |p'| u |s*| <= (1 + 2R) R u / 2;
//  - q's roundings: each multiply-add rounds once, relative u; an earlier one's error reaches
//    q times s at most, so q is within (1 + 2R) u of p(s) / s; with m's rounding the correction
//    m q lies within 2.02 u of g p(s), |g p(s)| <= (1 + R) R |g| / 2;
//  - the last multiply-add's rounding, at most u.
// With R below 0.00074 < 2^-10.4 (either estimate) the residual's and the correction's
// roundings add less than 0.0012 u, the division by 1 + f(s*) >= 1 - R/2 of the truncation and
// these a few parts in 10^4 more, and the products of the roundings' factors far less than 10^-6 u:
// 0.01 u covers them all. `terms` is the fewest terms whose truncation stays below 1 u.
//
// The argument range keeps every step as said: x's float is normal (the AVX2 estimate reads it;
// its rounding, 2^-24 relative, is in E), y0 lies between 2^-64 and 2^64, and h, g, s (or 0)
// and the result stay normal doubles. Outside it nothing is promised: 0 gives an infinite y0
// and a NaN h, so a NaN result, as infinity and NaN do; a subnormal x may give any value. The
// caller keeps such lanes away from its proofs (pair_lanes.h says how).
#include <cstddef>
#include <iterator>

#include "compute/lanes_polynomial.h"

namespace lanes_root {

constexpr double lowest_argument = 0x1p-126, highest_argument = 0x1p126;

// c_n (-1)^n, c_n = binom(2n, n) / 4^n, for n = 1, 2, ...: (1 + s)^(-1/2) = 1 + sum c_n (-s)^n.
constexpr double series[] = {-1.0 / 2, 3.0 / 8, -5.0 / 16, 35.0 / 128, -63.0 / 256, 231.0 / 1024, -429.0 / 2048};
constexpr std::size_t most_terms = std::size(series) - 1;

constexpr double unit_roundoff = 0x1p-53;

constexpr double power(double base, std::size_t exponent) {
  double p = 1;
  for (std::size_t i = 0; i < exponent; ++i) p *= base;
  return p;
}

// The bounds of L's refinement, in units of u relative to the true value.
template <class L>
struct Refinement {
  static constexpr double estimate_error = L::reciprocal_sqrt_error;
  static constexpr double residual = 2 * estimate_error + estimate_error * estimate_error + 2 * unit_roundoff;
  static_assert(residual < 0.00074, "the roundings' share below assumes a residual below 2^-10.4");
  // c_(k+1) R^(k+1) / (1 - R) for k terms, in units of u.
  static constexpr double truncation_of(std::size_t terms) {
    const double c = series[terms] < 0 ? -series[terms] : series[terms];
    return c * power(residual, terms + 1) / (1 - residual) / unit_roundoff;
  }
  static constexpr std::size_t fewest_terms() {
    std::size_t k = 1;
    while (k < most_terms && truncation_of(k) >= 1) ++k;
    return k;
  }
  static constexpr std::size_t terms = fewest_terms();
  static constexpr double truncation_units = truncation_of(terms);
  static_assert(truncation_units < 1, "the estimate is too coarse for the terms at hand");
  // a's share, the last multiply-add's rounding, the truncation, and 0.01 for the rest (above);
  // the scaled reciprocal's leading term rounds once more.
  static constexpr double square_root_units = 0.5 + 1 + truncation_units + 0.01;
  static constexpr double scaled_reciprocal_units = 1 + square_root_units;
};

// g (1 + p(s)) for the leading term g and the residual s (above).
template <class L>
LANES_INLINE typename L::Doubles refined(typename L::Doubles leading, typename L::Doubles residual) {
  using D = typename L::Doubles;
  constexpr std::size_t terms = Refinement<L>::terms;
  D q = L::splat(series[terms - 1]);
#pragma GCC unroll 8
  for (std::size_t n = terms - 1; n > 0; --n) q = L::multiply_add(q, residual, L::splat(series[n - 1]));
  return L::multiply_add(leading * residual, q, leading);
}

// sqrt(x) within Refinement<L>::square_root_units, for x in the argument range.
template <class L>
LANES_INLINE typename L::Doubles square_root(typename L::Doubles x) {
  const typename L::Doubles y0 = L::reciprocal_sqrt_estimate(x);
  const typename L::Doubles h = x * y0;
  return refined<L>(h, L::multiply_add(h, y0, L::splat(-1)));
}

// c / sqrt(x) within Refinement<L>::scaled_reciprocal_units, for x in the argument range and a
// c above 0.
template <class L>
LANES_INLINE typename L::Doubles scaled_reciprocal_root(typename L::Doubles x, typename L::Doubles c) {
  const typename L::Doubles y0 = L::reciprocal_sqrt_estimate(x);
  return refined<L>(c * y0, L::multiply_add(x * y0, y0, L::splat(-1)));
}

}  // namespace lanes_root
