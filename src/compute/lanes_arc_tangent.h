#pragma once
// The arc tangents of several values at once times a scale, in any lanes type L, to the bits
// the step's proofs need rather than to the last bit: a short polynomial after a reduction by
// one quotient each. The step wants its angles in degrees: the scale (degrees per radian) is
// folded into the polynomial's coefficients and the turns, so that the angle comes out of the
// last multiply-add with no product after it.
//
// Reduction, for a = |v|:
//  a <= tan(pi/8):              atan(a) = atan(a)
//  tan(pi/8) < a <= tan(3pi/8): atan(a) = pi/4 + atan((a - 1) / (a + 1))
//  tan(3pi/8) < a:              atan(a) = pi/2 + atan(-1 / a)
// so that |x| stays within tan(pi/8) = 0.41421..., the breakpoints' own rounding included. The
// arc tangent is odd and every step below is symmetric under a turned sign, so v's sign is put
// on the numerator and the turn (exact), and the result comes out with it. For a float a
// between the breakpoints a - 1 and a + 1 are exact in double, and so are 1 and a: x is the
// lanes' quotient of two exact values (lanes_quotient.h), within k = lanes_quotient::bound_units
// u of the reduced argument relative (the quotient rounded once where the lanes divide), and
// atan(x (1 + e)) lies within |e| of atan(x) relative (x / ((1 + x^2) atan x) <= 1). Each value
// has its quotient of its own: the phases that call this wait on each value's chain far more
// than on the pipes, and one reciprocal shared by several values lengthens every chain by the
// products that share it. (Only an a beyond 2^120, which the step's ratios never reach, lies
// outside the quotient's range: there AVX2's float estimate of 1 / a may be 0, and so then is
// x, within 2^-120 of -1 / a, a share of the result s (pi/2 + atan x) far below 1 u.)
//
// The polynomial atan(x) = x + x z P(z), z = x^2, P of degree 6, is the best fit for the
// relative error on [0, 0.4143^2] (tools/lane_functions_fit): its own error is 7096 u. Scaled
// by s, s atan(v) = s turn + x Q(z) with Q(z) = s + s z P(z), of degree 7, whose coefficients
// s, s c_0, ..., s c_6 and the turn s pi/4 (and 2 s pi/4, exact) are rounded once each, and Q
// is evaluated by multiply-adds (fused or not: lanes_polynomial.h), x Q(z) + s turn by one more.
//
// The scale enters only these roundings: x and z are the same for every s. Let A be the exact
// value of turn + x + x z P(z) from them; the estimate is s A (1 + r), and every rounding is
// bounded by u times the magnitude it rounds, each a multiple of s, so |r| has one bound for
// every scale (of normal magnitude). With z <= 0.1716, Q / s lies between 0.94 and 1; Q's
// roundings (three sums of about s each, the products of the unfused form, the coefficients')
// add at most 3.14 u s; the turn's 1 u of s pi/4 or s pi/2; x Q's product (unfused) 1 u of
// |x Q| <= 0.4143 s; the last sum 1 u. The worst case is the middle reduction at x = -0.4143,
// where the result s (pi/4 + atan x) is only 0.3926 s: (0.4143 * 3.14 + 0.7854 + 0.4143) /
// 0.3926 + 1 = 7.4 u. So the errors against s atan(v) at any two scales differ by at most
// 2 * 7.4 u: the exact value s A, from the same x, is the same multiple of s atan(v).
//
// Nor does the exact value depend much on which quotient x is: another processor's reciprocal
// estimate, or a division, gives another x within k u of the reduced argument, so the two lie
// within 2k u |x| of each other, and A moves by at most that times its slope in x (1 + 3 c_0
// x^2 + ..., at most 1 on |x| <= 0.4143), while |x| is at most 1.0553 times the result (the
// middle reduction at x = -0.4143 again): 2 * 1.13 * 1.0553 = 2.4 u of the result. From one
// scale and quotient to any other the error thus moves by at most 2 * 7.4 + 2.4 = 17.2 u, and
// the largest error at the scales swept plus 18 u bounds every scale and every estimate.
//
// The bound below, in units u = 2^-53 relative to s atan(v), holds for every float, for both
// forms of the multiply-add and for every quotient within k u: tools/lane_functions_sweep
// checks every positive float (a negative one gives the same bits with the sign turned) at the
// scales 1 and 1 / d for the step's degree factors d = 0.0171, pi / 180 and 0.0178 (as floats),
// on the scalar lanes and on each vector set's own lanes as this machine runs them, with the
// division and with the quotient from the reciprocal estimate, against FPATAN times the scale,
// within its documented 2^-10 u, and a sample of them against MPFR; the largest error it finds
// is 7098 u, which the 18 u above keep below the bound.
#include <bit>
#include <cstddef>
#include <iterator>

#include "compute/lanes_polynomial.h"
#include "compute/lanes_quotient.h"

namespace lanes_arc_tangent {

constexpr double bound_units = 7200;

constexpr double tan_eighth_turn = 0x1.a827999fcef32p-2;         // tan(pi/8)
constexpr double tan_three_eighths_turn = 0x1.3504f333f9de6p+1;  // tan(3pi/8)
constexpr double quarter_turn = 0x1.921fb54442d18p-1;            // pi/4

// P's coefficients, of z^0 first.
constexpr double coefficients[] = {
    -0x1.5555554edb0c6p-2, 0x1.999991f7dc9d9p-3,  -0x1.2490c2523ccfep-3, 0x1.c6d1d0d45c7c2p-4,
    -0x1.7081b725eb37cp-4, 0x1.1e579bd8a6109p-4,  -0x1.369c4e67cf998p-5,
};
constexpr std::size_t scaled_count = std::size(coefficients) + 1;

constexpr long long sign_bit = static_cast<long long>(0x8000'0000'0000'0000ULL);

// Q's coefficients and the scaled turns for one scale s, in lanes.
template <class L>
struct Scale {
  typename L::Doubles coefficients[scaled_count];  // s, s c_0, ..., z^0 first
  typename L::Doubles quarter_turn, half_turn;     // s pi/4 rounded once, and twice that (exact)
  explicit Scale(double s) {
    coefficients[0] = L::splat(s);
    for (std::size_t k = 1; k < scaled_count; ++k) coefficients[k] = L::splat(s * lanes_arc_tangent::coefficients[k - 1]);
    const double quarter = s * lanes_arc_tangent::quarter_turn;
    quarter_turn = L::splat(quarter);
    half_turn = L::splat(2 * quarter);
  }
};

// The reduced argument's numerator and denominator and the scaled turn added, v's sign on the
// numerator and the turn.
template <class L>
struct Reduced {
  typename L::Doubles numerator, denominator, turn;
};

template <class L>
LANES_INLINE Reduced<L> reduce(typename L::Doubles value, const Scale<L>& scale) {
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
  const D turn = L::select(far, scale.half_turn, L::select(middle, scale.quarter_turn, L::splat(0)));
  return {L::from_bits(L::bits(numerator) ^ sign), L::select(far, a, L::select(middle, a + one, one)),
          L::from_bits(L::bits(turn) ^ sign)};
}

// The scale times atan of each lane of the values, within bound_units; any value that is not a
// number gives a value that is not a number. Every step runs for all of them together.
template <class L, std::size_t N>
LANES_INLINE void scaled_arc_tangents(const typename L::Doubles (&values)[N], const Scale<L>& scale,
                                      typename L::Doubles (&out)[N]) {
  using D = typename L::Doubles;
  Reduced<L> r[N];
  D x[N], z[N];
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) {
    r[j] = reduce<L>(values[j], scale);
    x[j] = lanes_quotient::quotient<L>(r[j].numerator, r[j].denominator);
    z[j] = x[j] * x[j];
  }
  D q[N];
  lanes_polynomial::estrin<L>(scale.coefficients, z, q);
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) out[j] = L::multiply_add(x[j], q[j], r[j].turn);
}

}  // namespace lanes_arc_tangent
