#pragma once
// The arc tangents of values in threes, in any lanes type L, to the bits the step's proofs
// need rather than to the last bit: a short polynomial after a reduction that shares one
// division among the three.
//
// Reduction, for a = |v| (the sign is put back exactly: the arc tangent is odd):
//  a <= tan(pi/8):            atan(a) = atan(a)
//  tan(pi/8) < a <= tan(3pi/8): atan(a) = pi/4 + atan((a - 1) / (a + 1))
//  tan(3pi/8) < a:            atan(a) = pi/2 + atan(-1 / a)
// so that |x| stays within tan(pi/8) = 0.41421..., the breakpoints' own rounding included. For
// a float a between the breakpoints a - 1 and a + 1 are exact in double. The three
// denominators d1, d2, d3 (each 1, a + 1 or a, between 1 and 2^128) share one reciprocal
// R = 1 / (d1 d2 d3), and 1 / d1 = d2 d3 R and so on: x carries at most 6 roundings, 6 u
// relative, and atan(x (1 + e)) lies within |e| of atan(x) relative (x / ((1 + x^2) atan x)
// <= 1).
//
// The polynomial atan(x) = x + x z P(z), z = x^2, P of degree 7, fitted to (atan(x) / x - 1) / z
// at the Chebyshev points of [0, 0.4143^2]: its own error is below 2^-43 relative. Its
// evaluation (by multiply-adds, fused or not: lanes_polynomial.h) adds a few u (the tail
// x z P(z) is at most a fifteenth of x), the quarter and half
// turns' roundings at most 1.3 u relative to the result (which is at least pi/8 where they
// enter), and the last sum 1 u.
//
// The bound below, in units u = 2^-53 relative to the true arc tangent, holds for every float
// and for both forms of the multiply-add: tools/lane_functions_sweep checks every positive float (a negative one gives the same bits
// with the sign turned) against FPATAN, within its documented 2^-10 u, and a sample of them
// against MPFR.
#include <cstddef>

#include "compute/lanes_polynomial.h"

namespace lanes_arc_tangent {

constexpr double bound_units = 1200;

constexpr double tan_eighth_turn = 0x1.a827999fcef32p-2;         // tan(pi/8)
constexpr double tan_three_eighths_turn = 0x1.3504f333f9de6p+1;  // tan(3pi/8)
constexpr double quarter_turn = 0x1.921fb54442d18p-1;            // pi/4
constexpr double half_turn = 0x1.921fb54442d18p+0;               // pi/2

// P's coefficients, of z^0 first.
constexpr double coefficients[] = {
    -0x1.55555555525f2p-2, 0x1.9999998852e5bp-3,  -0x1.249240d5e6cddp-3, 0x1.c719621cef5c3p-4,
    -0x1.74159bbfe7df4p-4, 0x1.377d24a709598p-4,  -0x1.edb8f78a6a08bp-5, 0x1.0deb9e052e0e0p-5,
};

constexpr long long sign_bit = static_cast<long long>(0x8000'0000'0000'0000ULL);

// The reduced argument's numerator and denominator, the turn added and the sign, for one value.
template <class L>
struct Reduced {
  typename L::Doubles numerator, denominator, turn;
  typename L::Bits sign;
};

template <class L>
LANES_INLINE Reduced<L> reduce(typename L::Doubles value) {
  using D = typename L::Doubles;
  const typename L::Bits bits = L::bits(value);
  const D a = L::from_bits(bits & L::splat_bits(~sign_bit));
  const typename L::Mask middle = L::less(L::splat(tan_eighth_turn), a);
  const typename L::Mask far = L::less(L::splat(tan_three_eighths_turn), a);
  const D one = L::splat(1);
  return {L::select(far, L::splat(-1), L::select(middle, a - one, a)),
          L::select(far, a, L::select(middle, a + one, one)),
          L::select(far, L::splat(half_turn), L::select(middle, L::splat(quarter_turn), L::splat(0))),
          bits & L::splat_bits(sign_bit)};
}

// atan of each lane of the values, within bound_units; any value that is not a number gives a
// value that is not a number. Each three values from the first share one division (their
// results do not depend on the other threes), and every step runs for all of them together.
template <class L, std::size_t N>
LANES_INLINE void arc_tangents(const typename L::Doubles (&values)[N], typename L::Doubles (&out)[N]) {
  static_assert(N % 3 == 0, "the values come in threes");
  using D = typename L::Doubles;
  constexpr std::size_t threes = N / 3;
  Reduced<L> r[N];
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) r[j] = reduce<L>(values[j]);
  D d01[threes], reciprocal[threes];
#pragma GCC unroll 16
  for (std::size_t t = 0; t < threes; ++t) d01[t] = r[3 * t].denominator * r[3 * t + 1].denominator;
#pragma GCC unroll 16
  for (std::size_t t = 0; t < threes; ++t) reciprocal[t] = L::splat(1) / (d01[t] * r[3 * t + 2].denominator);
  D x[N], z[N];
#pragma GCC unroll 16
  for (std::size_t t = 0; t < threes; ++t) {
    const Reduced<L>* three = r + 3 * t;
    x[3 * t] = three[0].numerator * (three[1].denominator * three[2].denominator * reciprocal[t]);
    x[3 * t + 1] = three[1].numerator * (three[0].denominator * three[2].denominator * reciprocal[t]);
    x[3 * t + 2] = three[2].numerator * (d01[t] * reciprocal[t]);
  }
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) z[j] = x[j] * x[j];
  D p[N];
  lanes_polynomial::horner<L>(coefficients, z, p);
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j)
    out[j] = L::from_bits(L::bits(r[j].turn + L::multiply_add(x[j] * z[j], p[j], x[j])) | r[j].sign);
}

}  // namespace lanes_arc_tangent
