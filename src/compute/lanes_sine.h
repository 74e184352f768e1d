#pragma once
// The sine of a float argument between 1.5 and 8 (where the step's sine arguments lie, from
// pi/2 to 5pi/2), in any lanes type L, to the bits the step's proofs need: one reduction by a
// multiple of pi and a short polynomial.
//
// Reduction: k = an integer nearest s / pi (0 to 3), by adding and taking away 1.5 * 2^52,
// which leaves the integer part in the low significand bits, k's parity the lowest (the sum
// s / pi + 1.5 * 2^52 rounds to an integer whether the product rounds first or not); then
// r = (s - k pi_high) - k pi_low, with pi_high pi to 29 bits and pi_low the rest to 53 bits,
// each step a multiply-add (lanes_polynomial.h). k pi_high is exact (31 bits) and so is
// s - k pi_high (a multiple of 2^-27 below 2^5), fused or not; k pi_low and the last difference
// round once each (once together when fused), so r lies within 1 u relative plus 2^-79
// of s - k pi; the float nearest a multiple of pi within the range keeps |r| above 2^-24, so
// that r is within 1.1 u of s - k pi relative. sin(s) = (-1)^k sin(r) = sin((-1)^k r), with
// |r| at most pi/2 + 2^-40: the sign of r is turned (exact) for an odd k.
//
// The polynomial sin(r) = r + r z Q(z), z = r^2, Q of degree 5, is the best fit for the
// relative error on [0, (pi/2 + 0.001)^2] (tools/lane_functions_fit): its own error is 622 u.
// Its evaluation adds below 1 u (the tail r z Q(z) is at most 0.37 of r), the sum 1 u.
//
// The bound below, in units u = 2^-53 relative to the true sine, is checked against MPFR for
// every float from 1.5 to 8, with the multiply-add fused and unfused, by
// tools/lane_functions_sweep; the largest error it finds is 624 u.
#include <cstddef>

#include "compute/lanes_polynomial.h"

namespace lanes_sine {

constexpr double bound_units = 700;

// The arguments whose sine this gives, both excluded; any other lane is left to the caller's
// other path.
constexpr double lowest_argument = 1.5, highest_argument = 8;

constexpr double pi_high = 0x1.921fb54p+1;
constexpr double pi_low = 0x1.10b4611a62633p-29;
constexpr double one_over_pi = 0x1.45f306dc9c883p-2;
constexpr double integer_shift = 0x1.8p52;

// Q's coefficients, of z^0 first.
constexpr double coefficients[] = {
    -0x1.5555555546f77p-3, 0x1.1111110a4a62ap-7,  -0x1.a019fd53a7a51p-13,
    0x1.71dcf70da588fp-19, -0x1.ae03b922082c6p-26, 0x1.52d749270ff65p-33,
};

// The lanes whose argument lies in the range, for which sines() holds its bound.
template <class L>
LANES_INLINE typename L::Mask in_range(typename L::Doubles argument) {
  return L::less(L::splat(lowest_argument), argument) & L::less(argument, L::splat(highest_argument));
}

// sin of each lane of the arguments within bound_units, in the lanes of in_range, every step
// for all of them together.
template <class L, std::size_t N>
LANES_INLINE void sines(const typename L::Doubles (&arguments)[N], typename L::Doubles (&out)[N]) {
  using D = typename L::Doubles;
  D r[N], z[N], signed_r[N];
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) {
    const D shifted = L::multiply_add(arguments[j], L::splat(one_over_pi), L::splat(integer_shift));
    const D k = shifted - L::splat(integer_shift);
    r[j] = L::multiply_add(k, L::splat(-pi_low), L::multiply_add(k, L::splat(-pi_high), arguments[j]));
    z[j] = r[j] * r[j];
    // (-1)^k sin(r) = sin((-1)^k r): k's parity, the shifted sum's lowest bit, moved to the sign
    // bit turns r while the polynomial, which needs only z, runs.
    signed_r[j] = L::from_bits(L::bits(r[j]) ^ (L::bits(shifted) << 63));
  }
  D q[N];
  lanes_polynomial::estrin<L>(coefficients, z, q);
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) out[j] = L::multiply_add(signed_r[j] * z[j], q[j], signed_r[j]);
}

}  // namespace lanes_sine
