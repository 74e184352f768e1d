#pragma once
// The pair terms in double lanes, one template for every vector set. Include only from the
// kernel files of one set (pair_terms_<set>.cpp): the anonymous namespace keeps each set's copy
// to its own file.
//
// Each step says which rule makes its double result the float that the extended formula gives:
// - Innocuous double rounding: an operation on two floats rounded to double (53 bits) or to
//   extended (64 bits) and then to float gives the float of the exact result, since both
//   precisions are at least 2 * 24 + 2 bits (Figueroa, "When is double rounding innocuous?").
// - Exact products: a product of two floats has at most 48 significant bits and, within the
//   double exponent range, is exact in double as in extended.
// - The proof (float_rounding_proof.h, lane by lane in lanes_proof.h): the other results are estimates whose distance from the
//   extended formula's value (its own roundings to 64 bits, and its rounding to double before a
//   square root, included) is bounded; the lane counts only when the bracket rounds to one
//   normal float.
#include <cstddef>

#include "compute/float_rounding_proof.h"
#include "compute/lanes_proof.h"
#include "model/pair_constants.h"
#include "model/pair_terms.h"

namespace {

// Bounds, in units of 2^-53, on |estimate - extended value| relative to the estimate, each a
// type for lanes_proof::rounds_alike.
namespace pair_bound {
using namespace error_bound;
// (d + offset) / (d' + offset) from one reciprocal of the three offsets' product: the offsets,
// the products and the reciprocal, eight double roundings, against three extended ones.
struct Ratio {
  static constexpr double units = 8 * double_rounding + 3 * extended_rounding + 0.01;
};
// atan(ratio) * (1 / deg_to_rad): SLEEF's faster arc tangent and two double roundings against
// FPATAN and an extended division.
struct Angle {
  static constexpr double units = sleef_u35 + 2 * double_rounding + x87_atan + extended_rounding + 0.01;
};
// (angle + 180) * deg_to_rad: two roundings on each side.
struct Argument {
  static constexpr double units = 2 * double_rounding + 2 * extended_rounding + 0.01;
};
// sin(argument) of the same float argument: SLEEF's faster sine against the true sine.
struct Sine {
  static constexpr double units = sleef_u35 + correctly_rounded_sin_cos + 0.01;
};
// sqrt(dx² + dy² + dz²): the double sum of three exact squares is within 2 u (no cancellation),
// the square root halves that and rounds once; the extended sum, rounded to double, is within
// 1 u plus two extended roundings, halved, and its root rounds once in extended.
struct Distance {
  static constexpr double units =
      2 * double_rounding + (double_rounding + 2 * extended_rounding) / 2 + extended_rounding + 0.01;
};
// 500 / sqrt(distance): two roundings on each side.
struct Falloff {
  static constexpr double units = 2 * double_rounding + 2 * extended_rounding + 0.01;
};
}  // namespace pair_bound

// SLEEF's bound is relied on for sine arguments below this magnitude only; the program's lie
// between about 1.5 and 8, and a larger one (an unusual degree factor) runs the extended formula.
constexpr double sine_argument_limit = 0x1p15;

template <class L>
void pair_terms_lanes(const PartnerColumns& partners, const PairOrigin& origin, const PairTerms& terms) {
  using Doubles = typename L::Doubles;
  using Mask = typename L::Mask;
  const Doubles px = L::splat(origin.x), py = L::splat(origin.y), pz = L::splat(origin.z);
  const Doubles gain = L::splat(origin.gain), deg_to_rad = L::splat(origin.deg_to_rad);
  const Doubles offset = L::splat(angle_offset), half = L::splat(half_turn), zero = L::splat(0);
  const Doubles limit = L::splat(sine_argument_limit), cap = L::splat(falloff_cap);

  // A division costs many multiplications; the bounds above account for the reciprocals.
  const Doubles degrees_per_radian = L::splat(1.0 / origin.deg_to_rad);

  // The sine argument of one plane (a, b) from its ratio.
  const auto sine_argument = [&](Doubles arc_tangent, Doubles b, Mask& proven) {
    // The angle in degrees: proven estimate.
    const Doubles angle_estimate = arc_tangent * degrees_per_radian;
    Doubles angle;
    proven &= lanes_proof::rounds_alike<L, pair_bound::Angle>(angle_estimate, angle);
    // The half-turn for b below 0: a sum of two floats, innocuous double rounding.
    angle = L::select(L::less(b, zero), L::round_to_float(angle + half), angle);
    // The argument in radians: proven estimate, in SLEEF's trusted range.
    const Doubles argument_estimate = (angle + half) * deg_to_rad;
    Doubles argument;
    proven &= lanes_proof::rounds_alike<L, pair_bound::Argument>(argument_estimate, argument) &
              L::less(argument_estimate, limit) & L::less(zero - limit, argument_estimate);
    return argument;
  };
  // The sine, proven, then times the gain: an exact product of two floats.
  const auto minus_direction = [&](Doubles sine_estimate, Mask& proven) {
    Doubles sine;
    proven &= lanes_proof::rounds_alike<L, pair_bound::Sine>(sine_estimate, sine);
    return -L::round_to_float(sine * gain);
  };

  for (std::size_t first = 0; first < partners.count; first += L::count) {
    // The differences: innocuous double rounding.
    const Doubles dx = L::round_to_float(px - L::load_floats(partners.x + first));
    const Doubles dy = L::round_to_float(py - L::load_floats(partners.y + first));
    const Doubles dz = L::round_to_float(pz - L::load_floats(partners.z + first));

    // The ratios: proven estimates. No offset sum is 0, since 1E-7 in double is not a float, and
    // every product below stays inside the double range (each offset lies between 2^-77 and
    // 2^129 in magnitude).
    const Doubles offset_x = dx + offset, offset_y = dy + offset, offset_z = dz + offset;
    const Doubles xy = offset_x * offset_y;
    const Doubles reciprocal = L::splat(1) / (xy * offset_z);
    const Doubles ratio_x = offset_x * xy * reciprocal;                   // x / z
    const Doubles ratio_y = offset_y * (offset_y * offset_z * reciprocal);  // y / x
    const Doubles ratio_z = offset_z * (offset_x * offset_z * reciprocal);  // z / y
    Doubles tan_x, tan_y, tan_z;
    Mask proven = lanes_proof::rounds_alike<L, pair_bound::Ratio>(ratio_x, tan_x) &
                  lanes_proof::rounds_alike<L, pair_bound::Ratio>(ratio_y, tan_y) &
                  lanes_proof::rounds_alike<L, pair_bound::Ratio>(ratio_z, tan_z);

    // The planes (dx, dz) for x, (dy, dx) for y and (dz, dy) for z, each step for the three
    // together, so that the processor overlaps them.
    const Doubles atan_x = L::atan_u35(tan_x), atan_y = L::atan_u35(tan_y), atan_z = L::atan_u35(tan_z);
    const Doubles argument_x = sine_argument(atan_x, dz, proven);
    const Doubles argument_y = sine_argument(atan_y, dx, proven);
    const Doubles argument_z = sine_argument(atan_z, dy, proven);
    const Doubles sine_x = L::sin_u35(argument_x), sine_y = L::sin_u35(argument_y), sine_z = L::sin_u35(argument_z);
    L::store_floats(minus_direction(sine_x, proven), terms.minus_dir_x + first);
    L::store_floats(minus_direction(sine_y, proven), terms.minus_dir_y + first);
    L::store_floats(minus_direction(sine_z, proven), terms.minus_dir_z + first);

    // The distance: proven estimate, or exactly 0 for coincident particles (the square of a
    // float other than 0 is not 0 in double).
    const Doubles square_sum = dx * dx + dy * dy + dz * dz;
    const Doubles distance_estimate = L::sqrt(square_sum);
    Doubles distance;  // 0 for coincident particles too
    proven &= lanes_proof::rounds_alike<L, pair_bound::Distance>(distance_estimate, distance) | L::equal(square_sum, zero);

    // The falloff: proven estimate, or proven above the cap (500 / 0 included), where the cap
    // applies whatever the exact value.
    const Doubles falloff_estimate = L::splat(falloff_numerator) / L::sqrt(distance);
    constexpr double falloff_low = 1 - proof_width(pair_bound::Falloff::units);
    const Mask capped = L::less(cap, falloff_estimate * L::splat(falloff_low));
    Doubles falloff;
    proven &= lanes_proof::rounds_alike<L, pair_bound::Falloff>(falloff_estimate, falloff) | capped;
    L::store_floats(L::select(capped | L::less(cap, falloff), cap, falloff), terms.falloff + first);

    for (int lane = 0; lane < L::count; ++lane) terms.proven[first + lane] = (proven >> lane) & 1;
  }
}

}  // namespace
