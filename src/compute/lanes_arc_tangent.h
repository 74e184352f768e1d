#pragma once
// The arc tangents of several values at once, in any lanes type L, to the bits the step's
// proofs need rather than to the last bit: a short polynomial after a reduction by one
// division each.
//
// Reduction, for a = |v|:
//  a <= tan(pi/8):              atan(a) = atan(a)
//  tan(pi/8) < a <= tan(3pi/8): atan(a) = pi/4 + atan((a - 1) / (a + 1))
//  tan(3pi/8) < a:              atan(a) = pi/2 + atan(-1 / a)
// so that |x| stays within tan(pi/8) = 0.41421..., the breakpoints' own rounding included. The
// arc tangent is odd and every step below is symmetric under a turned sign, so v's sign is put
// on the numerator and the turn (exact), and the result comes out with it. For a float a
// between the breakpoints a - 1 and a + 1 are exact in double, and so is a / 1: x is the
// reduced argument rounded once, within 1 u relative, and atan(x (1 + e)) lies within |e| of
// atan(x) relative (x / ((1 + x^2) atan x) <= 1). Each value has its division of its own: the
// phases that call this wait on each value's chain far more than on the divider, and one
// division shared by several values lengthens every chain by the products that share it.
//
// The polynomial atan(x) = x + x z P(z), z = x^2, P of degree 6, is the best fit for the
// relative error on [0, 0.4143^2] (tools/lane_functions_fit): its own error is 7096 u. Its
// evaluation (by multiply-adds, fused or not: lanes_polynomial.h) adds well below 1 u (the
// tail x z P(z) is at most a fifteenth of x), the turn's sum with x at most 1.3 u relative to
// the result (which is at least pi/8 where a turn enters), and the last sum 1 u.
//
// The bound below, in units u = 2^-53 relative to the true arc tangent, holds for every float
// and for both forms of the multiply-add: tools/lane_functions_sweep checks every positive
// float (a negative one gives the same bits with the sign turned) against FPATAN, within its
// documented 2^-10 u, and a sample of them against MPFR; the largest error it finds is 7096 u.
#include <bit>
#include <cstddef>

#include "compute/lanes_polynomial.h"

namespace lanes_arc_tangent {

constexpr double bound_units = 7200;

constexpr double tan_eighth_turn = 0x1.a827999fcef32p-2;         // tan(pi/8)
constexpr double tan_three_eighths_turn = 0x1.3504f333f9de6p+1;  // tan(3pi/8)
constexpr double quarter_turn = 0x1.921fb54442d18p-1;            // pi/4
constexpr double half_turn = 0x1.921fb54442d18p+0;               // pi/2

// P's coefficients, of z^0 first.
constexpr double coefficients[] = {
    -0x1.5555554edb0c6p-2, 0x1.999991f7dc9d9p-3,  -0x1.2490c2523ccfep-3, 0x1.c6d1d0d45c7c2p-4,
    -0x1.7081b725eb37cp-4, 0x1.1e579bd8a6109p-4,  -0x1.369c4e67cf998p-5,
};

constexpr long long sign_bit = static_cast<long long>(0x8000'0000'0000'0000ULL);

// The reduced argument's numerator and denominator and the turn added, v's sign on the
// numerator and the turn.
template <class L>
struct Reduced {
  typename L::Doubles numerator, denominator, turn;
};

template <class L>
LANES_INLINE Reduced<L> reduce(typename L::Doubles value) {
  using D = typename L::Doubles;
  using B = typename L::Bits;
  const B bits = L::bits(value);
  const B sign = bits & L::splat_bits(sign_bit);
  const B magnitude = bits & L::splat_bits(~sign_bit);
  const D a = L::from_bits(magnitude);
  // The bits of doubles from +0 up, NaN included, order as their values: an integer comparison,
  // shorter than a floating one.
  const typename L::Mask middle = L::less_bits(L::splat_bits(std::bit_cast<long long>(tan_eighth_turn)), magnitude);
  const typename L::Mask far = L::less_bits(L::splat_bits(std::bit_cast<long long>(tan_three_eighths_turn)), magnitude);
  const D one = L::splat(1);
  const D numerator = L::select(far, L::splat(-1), L::select(middle, a - one, a));
  const D turn = L::select(far, L::splat(half_turn), L::select(middle, L::splat(quarter_turn), L::splat(0)));
  return {L::from_bits(L::bits(numerator) ^ sign), L::select(far, a, L::select(middle, a + one, one)),
          L::from_bits(L::bits(turn) ^ sign)};
}

// atan of each lane of the values, within bound_units; any value that is not a number gives a
// value that is not a number. Every step runs for all of them together.
template <class L, std::size_t N>
LANES_INLINE void arc_tangents(const typename L::Doubles (&values)[N], typename L::Doubles (&out)[N]) {
  using D = typename L::Doubles;
  Reduced<L> r[N];
  D x[N], z[N];
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) {
    r[j] = reduce<L>(values[j]);
    x[j] = r[j].numerator / r[j].denominator;
    z[j] = x[j] * x[j];
  }
  D p[N];
  lanes_polynomial::estrin<L>(coefficients, z, p);
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) out[j] = L::multiply_add(x[j] * z[j], p[j], r[j].turn + x[j]);
}

}  // namespace lanes_arc_tangent
