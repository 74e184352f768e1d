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

// Every partner of the columns, L::count at a time.
template <class L>
void kernel(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out) {
  using D = typename L::Doubles;
  using Mask = typename L::Mask;
  const D px = L::splat(origin.x), py = L::splat(origin.y), pz = L::splat(origin.z);
  const D gain = L::splat(origin.gain), deg_to_rad = L::splat(origin.deg_to_rad);
  const D offset = L::splat(angle_offset), half = L::splat(half_turn), zero = L::splat(0);
  const D cap = L::splat(falloff_cap);

  // A division costs many multiplications; the bounds above account for the reciprocals.
  const D degrees_per_radian = L::splat(1.0 / origin.deg_to_rad);

  // The sine argument of one plane (a, b) from its arc tangent.
  const auto sine_argument = [&](D arc_tangent, D b, Mask& proven) {
    // (P) the angle in degrees.
    const D angle_estimate = arc_tangent * degrees_per_radian;
    D angle;
    proven &= rounds_alike<L, AngleBound>(angle_estimate, angle);
    // (E2) the half-turn for b below 0 is a sum of two floats.
    angle = L::select(L::less(b, zero), L::round_to_float(angle + half), angle);
    // (P) the argument in radians, in the own sine's range: the program's lie between pi/2 and
    // 5pi/2, and one beyond (an unusual degree factor) runs the extended formula.
    const D argument_estimate = (angle + half) * deg_to_rad;
    D argument;
    proven &= rounds_alike<L, ArgumentBound>(argument_estimate, argument) & lanes_sine::in_range<L>(argument);
    return argument;
  };
  // (P) the sine, then (E1) times the gain, a product of two floats.
  const auto minus_direction = [&](D sine_estimate, Mask& proven) {
    D sine;
    proven &= rounds_alike<L, SineBound>(sine_estimate, sine);
    return -L::round_to_float(sine * gain);
  };

  for (std::size_t first = 0; first < partners.count; first += L::count) {
    // (E2) the differences.
    const D dx = L::round_to_float(px - L::load_floats(partners.x + first));
    const D dy = L::round_to_float(py - L::load_floats(partners.y + first));
    const D dz = L::round_to_float(pz - L::load_floats(partners.z + first));

    // (P) the ratios. No offset sum is 0, since 1E-7 in double is not a float, and every product
    // below stays inside the double range (each offset lies between 2^-77 and 2^129 in
    // magnitude).
    const D offset_x = dx + offset, offset_y = dy + offset, offset_z = dz + offset;
    const D xy = offset_x * offset_y;
    const D reciprocal = L::splat(1) / (xy * offset_z);
    const D ratio_x = offset_x * xy * reciprocal;                   // x / z
    const D ratio_y = offset_y * (offset_y * offset_z * reciprocal);  // y / x
    const D ratio_z = offset_z * (offset_x * offset_z * reciprocal);  // z / y
    D tan_x, tan_y, tan_z;
    Mask proven = rounds_alike<L, RatioBound>(ratio_x, tan_x) & rounds_alike<L, RatioBound>(ratio_y, tan_y) &
                  rounds_alike<L, RatioBound>(ratio_z, tan_z);

    // The planes (dx, dz) for x, (dy, dx) for y and (dz, dy) for z, each step for the three
    // together, so that the processor overlaps them.
    D atan[3];
    lanes_arc_tangent::arc_tangents<L>({tan_x, tan_y, tan_z}, atan);
    const D argument_x = sine_argument(atan[0], dz, proven);
    const D argument_y = sine_argument(atan[1], dx, proven);
    const D argument_z = sine_argument(atan[2], dy, proven);
    D sine[3];
    lanes_sine::sines<L>({argument_x, argument_y, argument_z}, sine);
    L::store_floats(minus_direction(sine[0], proven), out.minus_dir_x + first);
    L::store_floats(minus_direction(sine[1], proven), out.minus_dir_y + first);
    L::store_floats(minus_direction(sine[2], proven), out.minus_dir_z + first);

    // (P) the distance, or exactly 0 for coincident particles (the square of a float other than
    // 0 is not 0 in double).
    const D square_sum = dx * dx + dy * dy + dz * dz;
    const D distance_estimate = L::sqrt(square_sum);
    D distance;  // 0 for coincident particles too
    proven &= rounds_alike<L, DistanceBound>(distance_estimate, distance) | L::equal(square_sum, zero);

    // (P) the falloff, or proven above the cap (500 / 0 included), where the cap applies
    // whatever the exact value.
    const D falloff_estimate = L::splat(falloff_numerator) / L::sqrt(distance);
    constexpr double falloff_low = 1 - proof_width(FalloffBound::units);
    const Mask capped = L::less(cap, falloff_estimate * L::splat(falloff_low));
    D falloff;
    proven &= rounds_alike<L, FalloffBound>(falloff_estimate, falloff) | capped;
    L::store_floats(L::select(capped | L::less(cap, falloff), cap, falloff), out.falloff + first);

    lanes_proof::store_proven_bits<L>(proven, out.proven, first);
  }
}

}  // namespace pair_lanes
