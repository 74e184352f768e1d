#pragma once
// add_pair's terms in double lanes, for one instruction set's lanes type L, each step tagged
// with the rule that makes its result the extended formula's float (E1, E2, P: lanes_proof.h).
// Include only from the kernel files (pair_lanes_scalar.cpp, _avx2.cpp, _avx512.cpp):
// everything here is a template of L, so each set's copy stays its own.
#include <cstddef>

#include "compute/float_rounding_proof.h"
#include "compute/lanes_arc_tangent.h"
#include "compute/lanes_proof.h"
#include "compute/lanes_sine.h"
#include "model/pair_constants.h"
#include "model/pair_kernels.h"

namespace pair_lanes {

using namespace error_bound;
using lanes_proof::rounds_alike;

// The bounds, in units of u relative to the estimate, each a type for rounds_alike<L, Bound>
// (lanes_proof.h).
//
// (P) the ratios (d + offset) / (d' + offset) from one reciprocal of the three offsets' product:
// the offsets, the products and the reciprocal, eight double roundings, against three extended
// ones.
struct RatioBound {
  static constexpr double units = 8 * double_rounding + 3 * extended_rounding + 0.01;
};
// (P) atan(ratio) * (1 / deg_to_rad): the lanes' own arc tangent and two double roundings
// against FPATAN and an extended division.
struct AngleBound {
  static constexpr double units =
      lanes_arc_tangent::bound_units + 2 * double_rounding + x87_atan + extended_rounding + 0.01;
};
// (P) (angle + 180) * deg_to_rad: two roundings on each side.
struct ArgumentBound {
  static constexpr double units = 2 * double_rounding + 2 * extended_rounding + 0.01;
};
// (P) sin(argument) of the same float argument: the lanes' own sine against the true sine.
struct SineBound {
  static constexpr double units = lanes_sine::bound_units + correctly_rounded_sin_cos + 0.01;
};
// (P) sqrt(dx² + dy² + dz²): the double sum of three exact squares is within 2 u (no
// cancellation), the square root halves that and rounds once; the extended sum, rounded to
// double, is within 1 u plus two extended roundings, halved, and its root rounds once in
// extended.
struct DistanceBound {
  static constexpr double units =
      2 * double_rounding + (double_rounding + 2 * extended_rounding) / 2 + extended_rounding + 0.01;
};
// (P) 500 / sqrt(distance): two roundings on each side.
struct FalloffBound {
  static constexpr double units = 2 * double_rounding + 2 * extended_rounding + 0.01;
};

// The origin's terms in lanes, the same for every group of partners.
template <class L>
struct LaneTerms {
  using D = typename L::Doubles;
  D px, py, pz, gain, deg_to_rad;
  // A division costs many multiplications; the bounds above account for the reciprocals.
  D degrees_per_radian;
  explicit LaneTerms(const LaneOrigin& origin)
      : px(L::splat(origin.x)), py(L::splat(origin.y)), pz(L::splat(origin.z)), gain(L::splat(origin.gain)),
        deg_to_rad(L::splat(origin.deg_to_rad)), degrees_per_radian(L::splat(1.0 / origin.deg_to_rad)) {}
};

// G groups of L::count partners from first on. One group's chain of dependent steps is longer
// than the processor looks ahead, so every step runs for all the groups together, which puts
// their independent chains side by side; each group's results stay its own.
template <class L, int G>
LANES_INLINE void groups(const LaneTerms<L>& terms, const PartnerColumns& partners, std::size_t first,
                         LaneResults& out) {
  using D = typename L::Doubles;
  using Mask = typename L::Mask;
  const D offset = L::splat(angle_offset), half = L::splat(half_turn), zero = L::splat(0);
  const D cap = L::splat(falloff_cap);
  std::size_t at[G];
  D dx[G], dy[G], dz[G];
  Mask proven[G];

#pragma GCC unroll 8
  for (int g = 0; g < G; ++g) {
    at[g] = first + static_cast<std::size_t>(g) * L::count;
    // (E2) the differences.
    dx[g] = L::round_to_float(terms.px - L::load_floats(partners.x + at[g]));
    dy[g] = L::round_to_float(terms.py - L::load_floats(partners.y + at[g]));
    dz[g] = L::round_to_float(terms.pz - L::load_floats(partners.z + at[g]));
  }

  // (P) the ratios. No offset sum is 0, since 1E-7 in double is not a float, and every product
  // below stays inside the double range (each offset lies between 2^-77 and 2^129 in
  // magnitude). The planes (dx, dz) for x, (dy, dx) for y and (dz, dy) for z: three values
  // of each group, which the arc tangents take in threes.
  D tangent[3 * G];
#pragma GCC unroll 8
  for (int g = 0; g < G; ++g) {
    const D offset_x = dx[g] + offset, offset_y = dy[g] + offset, offset_z = dz[g] + offset;
    const D xy = offset_x * offset_y;
    const D reciprocal = L::splat(1) / (xy * offset_z);
    const D ratio_x = offset_x * xy * reciprocal;                   // x / z
    const D ratio_y = offset_y * (offset_y * offset_z * reciprocal);  // y / x
    const D ratio_z = offset_z * (offset_x * offset_z * reciprocal);  // z / y
    D* three = tangent + 3 * g;
    proven[g] = rounds_alike<L, RatioBound>(ratio_x, three[0]) & rounds_alike<L, RatioBound>(ratio_y, three[1]) &
                rounds_alike<L, RatioBound>(ratio_z, three[2]);
  }
  D atan[3 * G];
  lanes_arc_tangent::arc_tangents<L>(tangent, atan);

  // The sine arguments, each plane's from its arc tangent and its b.
  D argument[3 * G];
#pragma GCC unroll 24
  for (int j = 0; j < 3 * G; ++j) {
    const int g = j / 3;
    const D b = j % 3 == 0 ? dz[g] : j % 3 == 1 ? dx[g] : dy[g];
    // (P) the angle in degrees.
    const D angle_estimate = atan[j] * terms.degrees_per_radian;
    D angle;
    proven[g] &= rounds_alike<L, AngleBound>(angle_estimate, angle);
    // (E2) the half-turn for b below 0 is a sum of two floats.
    angle = L::select(L::less(b, zero), L::round_to_float(angle + half), angle);
    // (P) the argument in radians, in the own sine's range: the program's lie between pi/2 and
    // 5pi/2, and one beyond (an unusual degree factor) runs the extended formula.
    const D argument_estimate = (angle + half) * terms.deg_to_rad;
    proven[g] &= rounds_alike<L, ArgumentBound>(argument_estimate, argument[j]) & lanes_sine::in_range<L>(argument[j]);
  }
  D sine[3 * G];
  lanes_sine::sines<L>(argument, sine);
  // (P) the sine, then (E1) times the gain, a product of two floats.
  float* const minus_direction[3] = {out.minus_dir_x, out.minus_dir_y, out.minus_dir_z};
#pragma GCC unroll 24
  for (int j = 0; j < 3 * G; ++j) {
    const int g = j / 3;
    D proven_sine;
    proven[g] &= rounds_alike<L, SineBound>(sine[j], proven_sine);
    L::store_floats(-L::round_to_float(proven_sine * terms.gain), minus_direction[j % 3] + at[g]);
  }

  // (P) the distance, or exactly 0 for coincident particles (the square of a float other than
  // 0 is not 0 in double).
  D distance[G];  // 0 for coincident particles too
#pragma GCC unroll 8
  for (int g = 0; g < G; ++g) {
    // The squares of floats are exact (E1), so the fused sums round as the plain ones.
    const D square_sum = L::multiply_add(dz[g], dz[g], L::multiply_add(dy[g], dy[g], dx[g] * dx[g]));
    const D distance_estimate = L::sqrt(square_sum);
    proven[g] &= rounds_alike<L, DistanceBound>(distance_estimate, distance[g]) | L::equal(square_sum, zero);
  }

  // (P) the falloff, or proven above the cap (500 / 0 included), where the cap applies
  // whatever the exact value.
#pragma GCC unroll 8
  for (int g = 0; g < G; ++g) {
    const D falloff_estimate = L::splat(falloff_numerator) / L::sqrt(distance[g]);
    constexpr double falloff_low = 1 - proof_width(FalloffBound::units);
    const Mask capped = L::less(cap, falloff_estimate * L::splat(falloff_low));
    D falloff;
    proven[g] &= rounds_alike<L, FalloffBound>(falloff_estimate, falloff) | capped;
    L::store_floats(L::select(capped | L::less(cap, falloff), cap, falloff), out.falloff + at[g]);
  }

  // In group order: the first group of a word clears the word.
#pragma GCC unroll 8
  for (int g = 0; g < G; ++g) lanes_proof::store_proven_bits<L>(proven[g], out.proven, at[g]);
}

// The lane groups that run together: two overlap well on every set (more run out of registers).
constexpr int groups_together = 2;

// Every partner of the columns, L::count at a time, groups_together groups at once while that
// many are left, then one by one.
template <class L>
void kernel(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out) {
  const LaneTerms<L> terms(origin);
  constexpr std::size_t together = groups_together * L::count;
  std::size_t first = 0;
  for (; first + together - L::count < partners.count; first += together)
    groups<L, groups_together>(terms, partners, first, out);
  for (; first < partners.count; first += L::count) groups<L, 1>(terms, partners, first, out);
}

}  // namespace pair_lanes
