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
// that r is within 1.1 u of s - k pi relative. sin(s) = (-1)^k sin(r), with |r| at most
// pi/2 + 2^-40.
//
// The polynomial sin(r) = r + r z Q(z), z = r^2, Q of degree 5, fitted to (sin(r) / r - 1) / z
// at the Chebyshev points of [0, (pi/2 + 0.001)^2]: its own error is below 2^-41 relative. Its
// evaluation adds a few u, the sum 1 u.
//
// The bound below, in units u = 2^-53 relative to the true sine, is checked against MPFR for
// every float from 1.5 to 8, with the multiply-add fused and unfused, by
// tools/lane_functions_sweep.
#include <cstddef>

#include "compute/lanes_polynomial.h"

namespace lanes_sine {

constexpr double bound_units = 4000;

// The arguments whose sine this gives, both excluded; any other lane is left to the caller's
// other path.
constexpr double lowest_argument = 1.5, highest_argument = 8;

constexpr double pi_high = 0x1.921fb54p+1;
constexpr double pi_low = 0x1.10b4611a62633p-29;
constexpr double one_over_pi = 0x1.45f306dc9c883p-2;
constexpr double integer_shift = 0x1.8p52;

// Q's coefficients, of z^0 first.
constexpr double coefficients[] = {
    -0x1.55555555549b5p-3, 0x1.1111110fbe25ep-7,  -0x1.a01a000fb82bfp-13,
    0x1.71dd8d3b7eb12p-19, -0x1.ae2099475d0aep-26, 0x1.54e371d3b22b7p-33,
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
  D shifted[N], r[N], z[N];
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) {
    shifted[j] = L::multiply_add(arguments[j], L::splat(one_over_pi), L::splat(integer_shift));
    const D k = shifted[j] - L::splat(integer_shift);
    r[j] = L::multiply_add(k, L::splat(-pi_low), L::multiply_add(k, L::splat(-pi_high), arguments[j]));
    z[j] = r[j] * r[j];
  }
  D q[N];
  lanes_polynomial::horner<L>(coefficients, z, q);
#pragma GCC unroll 16
  for (std::size_t j = 0; j < N; ++j) {
    const D value = L::multiply_add(r[j] * z[j], q[j], r[j]);
    const typename L::Mask odd = L::below(L::splat_bits(0), L::bits(shifted[j]) & L::splat_bits(1));
    out[j] = L::select(odd, L::splat(0) - value, value);
  }
}

}  // namespace lanes_sine
