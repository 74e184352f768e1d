#pragma once
// Quotients a / b in any lanes type L, within bound_units of the true quotient: by the division
// itself, or, for a lanes type that chooses it (divides_by_estimate), from the processor's
// reciprocal estimate refined by multiply-adds, which issue many times faster than the divider
// takes a division of full width but compete with the rest of the work for their pipes. Each
// set chooses by measurement (lanes_avx512.h, lanes_avx2.h); the scalar lanes divide (their
// multiply-add is not fused, and one division is their cheapest form).
//
// A lanes type offers for it reciprocal_estimate(b), a double r0 with
// |1 - b r0| <= E = L::reciprocal_estimate_error, and a fused multiply_add and
// negative_multiply_add (c - a b). Let r0 = (1 - e0) / b, |e0| <= E, and let each d_i below be
// one rounding of a double operation, |d_i| <= u = 2^-53:
//  1. e = 1 - b r0, one multiply-add: e = e0 (1 + d1).
//  2. The reciprocal refined, r1 = (1 + e1) / b:
//     E <= 2^-14 (one Newton step): r1 = r0 + r0 e, one multiply-add, is r0 (1 + e) (1 + d2),
//       and (1 - e0) (1 + e) - 1 = e0 d1 - e0^2 (1 + d1), so |e1| <= G + u + G u with
//       G = E^2 (1 + u) + E u.
//     a wider E (two terms of the series 1 / (1 - e0) = 1 + e0 + e0^2 + ...): t = e + e^2 and
//       r1 = r0 + r0 t, a multiply-add each, t = e0 + e0^2 + s with |s| <= E (2u + u^2) +
//       E^2 (3u + 3u^2 + u^3), and (1 - e0) (1 + t) - 1 = -e0^3 + s (1 - e0): |e1| <= G + u + G u
//       with G = E^3 + (1 + E) |s|.
//  3. q0 = a r1, one product: q0 = (a / b) (1 - h) with |h| <= H = F + u + F u, F the bound
//     on |e1|.
//  4. The residual a - b q0 = a h, one multiply-add: a h (1 + d4).
//  5. q1 = q0 + r1 a h (1 + d4), one multiply-add (the correction of Markstein's division):
//     q1 = (a / b) (1 - h + (1 + e1) h (1 + d4)) (1 + d5) = (a / b) (1 + e1 h + h d4 + e1 h d4)
//     (1 + d5), within u + (H F + H u + H F u) (1 + u) of a / b relative.
// AVX-512's estimate (E = 2^-14) gives 1.1251 u; AVX2's through floats (E = 1.5 2^-12 and b's
// rounding to float, 2^-11.41) 1.00003 u; a division 1 u. refined_units computes each, and
// quotient checks it against bound_units for its lanes type.
//
// The inputs served: a zero or at least 2^-200 in magnitude, b between 2^-120 and 2^120 in
// magnitude (the step's offsets lie between 2^-77 and 2^41, its ratios between 2^-118 and 2^118,
// the arc tangent's numerators and denominators between 2^-118 and 2^118, or 0); AVX2's estimate
// needs b and 1 / b inside the normal floats, which these are (RCPPS gives 0 where its estimate
// would fall below them). Every product and residual then lies far inside the normal doubles,
// where each rounding is relative as above: a - b q0 is a whole multiple of the smaller of
// ulp(a) and ulp(b) ulp(q0), so a nonzero residual is at least 2^-108 |a|. A zero a gives 0 (its
// sign may be lost). A NaN stays a NaN; from an estimate, an infinite a or b, or a zero b, gives
// a NaN (1 - b r0 = 1 - inf * 0, or inf - inf). Any other input may give any value (0 from an
// estimate of 0): the callers leave every lane outside their ranges to the extended formula.
#include "compute/lanes_polynomial.h"

namespace lanes_quotient {

constexpr double bound_units = 1.13;

// The bound of step 5 above, in units of u, for an estimate within `error`, refined by one
// Newton step (cubic false) or by the series' two terms (cubic true).
constexpr double refined_units(double error, bool cubic) {
  constexpr double u = 0x1p-53;
  const double e = error;
  const double s = e * (2 * u + u * u) + e * e * (3 * u + 3 * u * u + u * u * u);
  const double g = cubic ? e * e * e + (1 + e) * s : e * e * (1 + u) + e * u;
  const double f = g + u + g * u;
  const double h = f + u + f * u;
  return (u + (h * f + h * u + h * f * u) * (1 + u)) / u;
}

// One Newton step suffices for an estimate this close: its square is 2^-28.
constexpr double newton_step_error = 0x1p-14;

template <class L>
LANES_INLINE typename L::Doubles quotient(typename L::Doubles a, typename L::Doubles b) {
  using D = typename L::Doubles;
  if constexpr (!L::divides_by_estimate) {
    return a / b;
  } else {
    constexpr bool cubic = L::reciprocal_estimate_error > newton_step_error;
    static_assert(refined_units(L::reciprocal_estimate_error, cubic) < bound_units);
    const D r0 = L::reciprocal_estimate(b);
    const D e = L::negative_multiply_add(b, r0, L::splat(1));
    const D r1 = L::multiply_add(r0, cubic ? L::multiply_add(e, e, e) : e, r0);
    const D q0 = a * r1;
    return L::multiply_add(r1, L::negative_multiply_add(b, q0, a), q0);
  }
}

}  // namespace lanes_quotient
