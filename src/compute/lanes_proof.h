#pragma once
// The proof that float_rounding_proof.h explains, for any lanes type L (LanesScalar, LanesAvx2,
// LanesAvx512), lane by lane, with the bound carried by a type (a struct with a constexpr
// double `units`) rather than a double template argument, which clang 14, the compiler of the
// fuzzers, does not take; and the same proof for a bound that differs from lane to lane.
// Everything here is a template of L, so that each instruction set's copy stays its own.
//
// The exact lanes tag every step with the rule that makes its double result the float that the
// extended formula gives:
//  (E1) exact: a product of two floats has at most 48 significant bits and, within the double
//       exponent range, is exact in double as in extended, so both round the same value once;
//  (E2) one float operation: a sum of two floats rounded to double, or to extended, and then to
//       float is the correctly rounded float, since both formats carry at least 2 x 24 + 2 bits
//       (Figueroa, "When is double rounding innocuous?");
//  (P)  proven: a double estimate whose distance from the extended formula's value (its own
//       roundings included) is bounded, in units u = 2^-53; the lane counts only where every
//       value within the bound rounds to one normal float (rounds_alike).
// A lane that any proof rejects is left to the extended formula, which also takes every lane
// whose input or intermediate is not a number, infinite, zero or subnormal where a proof meets
// it, since the proofs accept normal floats only.
#include <bit>
#include <cfloat>
#include <cstddef>
#include <cstdint>

#include "compute/float_rounding_proof.h"

namespace lanes_proof {

template <class L>
typename L::Doubles absolute(typename L::Doubles v) {
  return L::select(L::less(v, L::splat(0)), L::splat(0) - v, v);
}

// The lanes whose bracket ends round to the same normal float, so that every value between
// them does too (rounding is monotonic); that float, valid in those lanes, goes to rounded.
template <class L>
typename L::Mask bracket_rounds_alike(typename L::Doubles low_end, typename L::Doubles high_end,
                                      typename L::Doubles& rounded) {
  using D = typename L::Doubles;
  const D low = L::round_to_float(low_end);
  const D magnitude = absolute<L>(low);
  rounded = low;
  return L::equal(low, L::round_to_float(high_end)) & ~L::less(magnitude, L::splat(FLT_MIN)) &
         ~L::less(L::splat(FLT_MAX), magnitude);
}

// The pieces of the proof from the estimate's bits (float_rounding_proof.h), for a bound
// relative to the estimate, Bound::units in units of 2^-53: the low 29 significand bits, and
// their pattern at a float midpoint.
constexpr long long float_low_bits = (1LL << 29) - 1, float_midpoint_bits = 1LL << 28;

template <class Bound>
constexpr long long clearance() {
  constexpr long long c = proof_clearance(Bound::units);
  static_assert(c < float_midpoint_bits / 2, "a bound this wide leaves no estimate proven");
  return c;
}

// The nearest float, its sign kept: below the exponent field of all ones (NaN and infinity)
// the sum carries at most into the exponent, never into the sign. Ties cannot arise, since
// the midpoints are not proven.
template <class L>
typename L::Doubles nearest_float(typename L::Bits all) {
  return L::from_bits(L::add_bits(all, L::splat_bits(float_midpoint_bits)) & L::splat_bits(~float_low_bits));
}

// The low bits' distance above the midpoint pattern less the clearance, modulo 2^29 (the sign
// lies above them): at most 2 clearance - 1 for an estimate less than the clearance from a
// midpoint, and below 2^29 for every estimate.
template <class L, class Bound>
typename L::Bits from_midpoint(typename L::Bits all) {
  return L::add_bits(all, L::splat_bits(clearance<Bound>() - float_midpoint_bits)) & L::splat_bits(float_low_bits);
}

// The lanes whose distance clears the midpoints. Both sides lie below 2^29, so a signed
// comparison serves (AVX2 has no unsigned one).
template <class L, class Bound>
typename L::Mask clear_of_midpoints(typename L::Bits distance) {
  return L::less_bits(L::splat_bits(2 * clearance<Bound>() - 1), distance);
}

// The proof without the normal-range test: for an estimate that the caller knows, in every
// lane it keeps, to lie so far inside the normal floats' range that the float nearest it is
// normal (each caller says why). The proven float goes to rounded.
template <class L, class Bound>
typename L::Mask rounds_alike_in_range(typename L::Doubles estimate, typename L::Doubles& rounded) {
  const typename L::Bits all = L::bits(estimate);
  rounded = nearest_float<L>(all);
  return clear_of_midpoints<L, Bound>(from_midpoint<L, Bound>(all));
}

// The same proof for several estimates of one bound, the lanes where every one is proven:
// each clears the midpoints exactly when the smallest of their distances does, so one
// comparison serves them all (the distances lie below 2^29, where the lanes' smaller_bits
// holds).
template <class L, class Bound, std::size_t N>
typename L::Mask all_round_alike_in_range(const typename L::Doubles (&estimates)[N],
                                          typename L::Doubles (&rounded)[N]) {
  typename L::Bits smallest = from_midpoint<L, Bound>(L::bits(estimates[0]));
  rounded[0] = nearest_float<L>(L::bits(estimates[0]));
  for (std::size_t j = 1; j < N; ++j) {
    smallest = L::smaller_bits(smallest, from_midpoint<L, Bound>(L::bits(estimates[j])));
    rounded[j] = nearest_float<L>(L::bits(estimates[j]));
  }
  return clear_of_midpoints<L, Bound>(smallest);
}

// The same proof for any estimate: the proven float must moreover be normal. A NaN's bits may
// carry into the sign or wrap round past 2^64 - 1 in the sum; what they give fails the normal
// test.
template <class L, class Bound>
typename L::Mask rounds_alike(typename L::Doubles estimate, typename L::Doubles& rounded) {
  using B = typename L::Bits;
  constexpr long long float_min_bits = std::bit_cast<long long>(static_cast<double>(FLT_MIN));
  constexpr long long float_max_bits = std::bit_cast<long long>(static_cast<double>(FLT_MAX));
  constexpr unsigned long long top_bit = 0x8000'0000'0000'0000ULL;
  const typename L::Mask clear = rounds_alike_in_range<L, Bound>(estimate, rounded);
  // A normal float: FLT_MIN <= |rounded| <= FLT_MAX, as one signed comparison of the magnitude
  // less FLT_MIN, offset by 2^63: a magnitude from FLT_MIN up gives (magnitude - FLT_MIN) - 2^63,
  // one below FLT_MIN a value just below 2^63 (every magnitude is below 2^63).
  const B magnitude = L::bits(rounded) & L::splat_bits(0x7fff'ffff'ffff'ffff);
  constexpr long long offset = static_cast<long long>(top_bit - float_min_bits);
  constexpr long long offset_limit = static_cast<long long>(float_max_bits - float_min_bits + 1 + top_bit);
  return clear & L::less_bits(L::add_bits(magnitude, L::splat_bits(offset)), L::splat_bits(offset_limit));
}

template <class L, class Bound>
typename L::Mask rounds_alike(typename L::Doubles estimate) {
  typename L::Doubles rounded;
  return rounds_alike<L, Bound>(estimate, rounded);
}

// The proof for a bound that differs from lane to lane: absolute_units is the bound in units
// of 2^-53, not relative to the estimate. The bracket is widened as float_rounding_proof.h
// widens it, with the own roundings relative to the estimate.
template <class L>
typename L::Mask rounds_alike_within(typename L::Doubles estimate, typename L::Doubles absolute_units) {
  const typename L::Doubles width =
      (L::splat(proof_margin) * absolute_units + L::splat(proof_own_roundings) * absolute<L>(estimate)) *
      L::splat(error_bound::unit_roundoff);
  typename L::Doubles rounded;
  return bracket_rounds_alike<L>(estimate - width, estimate + width, rounded);
}

// Each lane's verdict, bit first % 64 + i of words[first / 64] for lane i, for a first that is
// a multiple of L::count; the first group of a word clears the word's other bits.
template <class L>
void store_proven_bits(typename L::Mask lanes, std::uint64_t* words, std::size_t first) {
  static_assert(64 % L::count == 0, "a lane group must not straddle two words");
  const std::uint64_t group = L::mask_bits(lanes) & ((std::uint64_t{1} << L::count) - 1);
  std::uint64_t& word = words[first / 64];
  word = (first % 64 == 0 ? 0 : word) | group << (first % 64);
}

// Each lane's verdict, lane i to proven[i].
template <class L>
void store_proven(typename L::Mask lanes, bool* proven) {
  const unsigned bits = L::mask_bits(lanes);
  for (int lane = 0; lane < L::count; ++lane) proven[lane] = (bits >> lane) & 1;
}

}  // namespace lanes_proof
