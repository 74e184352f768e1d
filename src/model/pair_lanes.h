#pragma once
// add_pair's terms in double lanes, for one instruction set's lanes type L, each step tagged
// with the rule that makes its result the extended formula's float (E1, E2, P: lanes_proof.h).
// Include only from the kernel files (pair_lanes_scalar.cpp, _avx2.cpp, _avx512.cpp):
// everything here is a template of L, so each set's copy stays its own.
#include <cstddef>

#include "compute/float_rounding_proof.h"
#include "compute/lanes_arc_tangent.h"
#include "compute/lanes_proof.h"
#include "compute/lanes_quotient.h"
#include "compute/lanes_root.h"
#include "compute/lanes_sine.h"
#include "model/pair_constants.h"
#include "model/pair_kernels.h"

namespace pair_lanes {

using namespace error_bound;
using lanes_proof::all_round_alike_in_range;
using lanes_proof::rounds_alike_in_range;

// The bounds, in units of u relative to the estimate, each a type for rounds_alike<L, Bound>
// (lanes_proof.h).
//
// (P) the ratios (d + offset) / (d' + offset), each a quotient of its own (lanes_quotient.h): the
// two offsets' double roundings and the quotient's bound, against three extended roundings (the
// 0.01 covers the products of the roundings).
struct RatioBound {
  static constexpr double units = 2 * double_rounding + lanes_quotient::bound_units + 3 * extended_rounding + 0.01;
};
// (P) atan(ratio) scaled by 1 / deg_to_rad: the lanes' own scaled arc tangent and the
// reciprocal's double rounding against FPATAN and an extended division.
struct AngleBound {
  static constexpr double units = lanes_arc_tangent::bound_units + double_rounding + x87_atan + extended_rounding + 0.01;
};
// (P) (angle + 180) * deg_to_rad as angle * deg_to_rad + 180 * deg_to_rad, the latter exact
// (E1): one rounding of the multiply-add, and where it is not fused one of the product, whose
// share of the argument, |angle| / (angle + 180) for an angle between -92 and 272, is below
// 92 / 88: 1.05 roundings. Two extended roundings on the other side.
struct ArgumentBound {
  static constexpr double units = 2.05 * double_rounding + 2 * extended_rounding + 0.01;
};
// (P) sin(argument) of the same float argument: the lanes' own sine against the true sine.
struct SineBound {
  static constexpr double units = lanes_sine::bound_units + correctly_rounded_sin_cos + 0.01;
};
// The square root and the falloff's reciprocal root: by the square-root unit (and a division),
// each rounded once, or by the refinement of an estimate (lanes_root.h) within its own bound.
template <class L>
constexpr double root_units() {
  if constexpr (L::roots_by_estimate) return lanes_root::Refinement<L>::square_root_units;
  else return double_rounding;
}
template <class L>
constexpr double falloff_units() {
  if constexpr (L::roots_by_estimate) return lanes_root::Refinement<L>::scaled_reciprocal_units;
  else return 2 * double_rounding;
}
// (P) sqrt(dx² + dy² + dz²): the double sum of three exact squares is within 2 u (no
// cancellation), the square root halves that, and its own error adds; the extended sum,
// rounded to double, is within 1 u plus two extended roundings, halved, and its root rounds
// once in extended.
template <class L>
struct DistanceBound {
  static constexpr double units =
      double_rounding + root_units<L>() + (double_rounding + 2 * extended_rounding) / 2 + extended_rounding + 0.01;
};
// (P) 500 / sqrt(distance): the lanes' own error against two extended roundings.
template <class L>
struct FalloffBound {
  static constexpr double units = falloff_units<L>() + 2 * extended_rounding + 0.01;
};

// The ranges that keep every ratio, angle and distance of a proven lane inside the normal
// floats, and every sine argument inside the own sine's range, so that their proofs need no
// range test of their own (rounds_alike_in_range); one comparison of the square sum (falloff)
// holds a lane to both:
//  - the square sum of the differences, in double, below 2^80: each square is exact (E1) and
//    the sums only round, so every difference is at most 2^40 in magnitude (2^40 is a float,
//    and the next one up lies beyond 2^40 (1 + u)). An offset then lies between 2^-77 (tangents)
//    and 2^40 + 1, and a ratio of two between 2^-118 and 2^118, with its own bound's few u.
//  - the degree factor d between 0.0171 and 0.0178, about the program's pi / 180: from such a
//    ratio, the arc tangent lies between pi/4 min(|ratio|, 1) >= 2^-118.35 and pi/2, and the
//    angle atan / d between 2^-113 and 92, its float within 2^-23 relative of atan / d. The
//    argument (angle + 180) d, with the half-turn for b below 0 and each float rounding
//    (2^-24 relative), lies between 180 d - 1.5709 and 360 d + 1.5709, where 1.5709 covers
//    pi/2 and every rounding's share of at most 8 2^-22.
//    Any other factor (0, NaN, a negative one) leaves the whole origin to the extended formula.
// The distance is at most 2^40 then, and a distance below FLT_MIN needs no normal float: the
// cap takes its falloff's place (falloff).
constexpr double square_sum_limit = 0x1p80;
constexpr double smallest_degree_factor = 0.0171, largest_degree_factor = 0.0178;
constexpr double quarter_turn_and_roundings = 1.5709;
static_assert(half_turn * smallest_degree_factor - quarter_turn_and_roundings > lanes_sine::lowest_argument);
static_assert(2 * half_turn * largest_degree_factor + quarter_turn_and_roundings < lanes_sine::highest_argument);

// The largest distance whose falloff the cap takes (falloff): 5 squared, since 500 / 5 = 100,
// each exact.
constexpr double capped_root = falloff_numerator / falloff_cap;
constexpr double capped_distance = capped_root * capped_root;
// The refinement's range (falloff) holds the square sums from 1 below the limit and every
// distance beyond the cap's.
static_assert(lanes_root::lowest_argument <= 1 && square_sum_limit <= lanes_root::highest_argument);

// The origin's terms in lanes, the same for every group of partners.
template <class L>
struct LaneTerms {
  using D = typename L::Doubles;
  D px, py, pz, minus_gain, deg_to_rad;
  // (E1) 180 times the degree factor, a float.
  D half_in_radians;
  // A division costs many multiplications; the bounds above account for the reciprocals. The
  // arc tangent takes it into its coefficients.
  lanes_arc_tangent::Scale<L> degrees_per_radian;
  // square_sum_limit for a degree factor in its range, 0 (below every square sum) for any other.
  D square_sum_limit;
  explicit LaneTerms(const LaneOrigin& origin)
      : px(L::splat(origin.x)), py(L::splat(origin.y)), pz(L::splat(origin.z)), minus_gain(L::splat(-origin.gain)),
        deg_to_rad(L::splat(origin.deg_to_rad)),
        half_in_radians(L::splat(static_cast<double>(half_turn) * origin.deg_to_rad)),
        degrees_per_radian(1.0 / origin.deg_to_rad),
        square_sum_limit(L::splat(usual_degree_factor(origin.deg_to_rad) ? pair_lanes::square_sum_limit : 0)) {}

 private:
  static bool usual_degree_factor(float factor) {
    return factor >= smallest_degree_factor && factor <= largest_degree_factor;
  }
};

// The partners of one pass through the phases below. Each phase runs for every lane group of
// the pass before the next begins, its intermediates kept in a scratch array in the
// first-level cache: a phase's chain is short enough for few registers, and the groups'
// chains are independent, so the processor overlaps them without the register spills that
// one long chain per group, for several groups at once, would need.
constexpr std::size_t partners_per_pass = 64;

template <class L>
struct PassScratch {
  using D = typename L::Doubles;
  static constexpr std::size_t groups_per_pass = partners_per_pass / L::count;
  D dx[groups_per_pass], dy[groups_per_pass], dz[groups_per_pass];
  // The three planes' values of each group: (dx, dz) for x, (dy, dx) for y, (dz, dy) for z.
  D plane[groups_per_pass][3];
  typename L::Mask proven[groups_per_pass];
};

// The differences and the tangents of one group of partners from at on.
template <class L>
LANES_INLINE void tangents(const LaneTerms<L>& terms, const PartnerColumns& partners, std::size_t at,
                           PassScratch<L>& pass, std::size_t g) {
  using D = typename L::Doubles;
  // (E2) the differences.
  const D dx = L::round_to_float(terms.px - L::load_floats(partners.x + at));
  const D dy = L::round_to_float(terms.py - L::load_floats(partners.y + at));
  const D dz = L::round_to_float(terms.pz - L::load_floats(partners.z + at));
  pass.dx[g] = dx;
  pass.dy[g] = dy;
  pass.dz[g] = dz;
  // (P) the ratios, normal floats in every lane that the square sum's range keeps (above). No
  // offset sum is 0, since 1E-7 in double is not a float, and every offset lies between 2^-77 and
  // 2^129 in magnitude, between 2^-77 and 2^41 in the lanes that the square sum's range keeps,
  // the quotients' range. Three quotients of their own rather than one reciprocal and six
  // products: fewer operations, and each ratio's bound that of one quotient.
  const D offset = L::splat(angle_offset);
  const D offset_x = dx + offset, offset_y = dy + offset, offset_z = dz + offset;
  const D ratio_x = lanes_quotient::quotient<L>(offset_x, offset_z);
  const D ratio_y = lanes_quotient::quotient<L>(offset_y, offset_x);
  const D ratio_z = lanes_quotient::quotient<L>(offset_z, offset_y);
  const D ratios[3] = {ratio_x, ratio_y, ratio_z};
  pass.proven[g] = all_round_alike_in_range<L, RatioBound>(ratios, pass.plane[g]);
}

// The sine arguments of one group from its tangents, each plane's from its arc tangent and its b.
template <class L>
LANES_INLINE void arguments(const LaneTerms<L>& terms, PassScratch<L>& pass, std::size_t g) {
  using D = typename L::Doubles;
  const D zero = L::splat(0);
  // (P) the angles in degrees, normal floats in every lane that the square sum's range and the
  // degree factor's keep (above).
  D angle_estimates[3], angles[3];
  lanes_arc_tangent::scaled_arc_tangents<L>(pass.plane[g], terms.degrees_per_radian, angle_estimates);
  typename L::Mask proven = pass.proven[g] & all_round_alike_in_range<L, AngleBound>(angle_estimates, angles);
  const D b[3] = {pass.dz[g], pass.dx[g], pass.dy[g]};
  // (P) the arguments in radians, inside the own sine's range in every lane that the degree
  // factor's range keeps (above): the program's lie between pi/2 and 5pi/2.
  D argument_estimates[3];
#pragma GCC unroll 3
  for (int j = 0; j < 3; ++j) {
    // (E2) the half-turn for b below 0 is a sum of two floats; for any other b the sum with 0
    // leaves the float angle as it is.
    const D angle = L::round_to_float(angles[j] + L::select(L::less(b[j], zero), L::splat(half_turn), zero));
    argument_estimates[j] = L::multiply_add(angle, terms.deg_to_rad, terms.half_in_radians);
  }
  pass.proven[g] = proven & all_round_alike_in_range<L, ArgumentBound>(argument_estimates, pass.plane[g]);
}

// The direction terms of one group from its sine arguments.
template <class L>
LANES_INLINE void directions(const LaneTerms<L>& terms, PassScratch<L>& pass, std::size_t at, std::size_t g,
                             LaneResults& out) {
  using D = typename L::Doubles;
  D sine[3];
  lanes_sine::sines<L>(pass.plane[g], sine);
  // (P) the sine, then (E1) times minus the gain, a product of two floats rounded once as it is
  // stored. A float argument between 1.5 and 8 lies at least 2^-24 from a multiple of pi, so
  // the sine's magnitude lies between 2^-25 and 1, and the float nearest it is normal.
  float* const minus_direction[3] = {out.minus_dir_x, out.minus_dir_y, out.minus_dir_z};
  D proven_sine[3];
  pass.proven[g] &= all_round_alike_in_range<L, SineBound>(sine, proven_sine);
#pragma GCC unroll 3
  for (int j = 0; j < 3; ++j) L::store_floats(proven_sine[j] * terms.minus_gain, minus_direction[j] + at);
}

// The falloff of one group and its verdict.
template <class L>
LANES_INLINE void falloff(const LaneTerms<L>& terms, PassScratch<L>& pass, std::size_t at, std::size_t g,
                          LaneResults& out) {
  using D = typename L::Doubles;
  using Mask = typename L::Mask;
  const D dx = pass.dx[g], dy = pass.dy[g], dz = pass.dz[g];
  // (P) the distance, held to the square sum's range (above), which the earlier proofs rely on;
  // a NaN or infinite difference fails it. The squares of floats are exact (E1), so the fused
  // sums round as the plain ones. Coincident particles give exactly 0 (the square of a float
  // other than 0 is not 0 in double).
  const D square_sum = L::multiply_add(dz, dz, L::multiply_add(dy, dy, dx * dx));
  Mask proven = pass.proven[g] & L::less(square_sum, terms.square_sum_limit);
  // (P) the falloff, or exactly the cap for a distance of at most capped_distance (25): each
  // step of the extended 500 / sqrt(distance) rounds correctly (monotonic), so it never rises
  // with the distance, and at 25 it is exactly 500 / 5 = 100, the cap; so a distance up to 25
  // (0 included) gives at least the cap, which takes its place, and one beyond gives at most
  // the cap, which leaves it. A proven distance whose estimate is at least FLT_MIN is the
  // extended formula's float, so both formulas take the same side of 25. From beyond 25 up to
  // 2^40 the falloff lies between 500 / 2^20 and 100, and the float nearest it is normal.
  D distance, falloff_estimate;
  Mask capped;
  if constexpr (L::roots_by_estimate) {
    // The refinement (lanes_root.h) takes the square sums from 1 up to 2^80 and the distances
    // beyond 25 up to 2^40, inside its range. A square sum below 1 is a distance of at most 1
    // in both formulas (each sum within a few u of the true one), so the cap takes its place,
    // whatever the estimate gives there (0's is NaN): such lanes need no distance of their own.
    // Any other proven distance is at least 1.
    const Mask below_one = L::less(square_sum, L::splat(1));
    proven &= rounds_alike_in_range<L, DistanceBound<L>>(lanes_root::square_root<L>(square_sum), distance) |
              below_one;
    capped = below_one | ~L::less(L::splat(capped_distance), distance);
    falloff_estimate = lanes_root::scaled_reciprocal_root<L>(distance, L::splat(falloff_numerator));
  } else {
    // 0's distance is exactly 0, whose bits the proof passes unchanged. An estimate below
    // FLT_MIN, read from its bits without the normal range, gives at most FLT_MIN and may differ
    // from the extended formula's float, which lies within its bound of the estimate: both lie
    // below 25 and take the cap.
    proven &= rounds_alike_in_range<L, DistanceBound<L>>(L::sqrt(square_sum), distance);
    capped = ~L::less(L::splat(capped_distance), distance);
    falloff_estimate = L::splat(falloff_numerator) / L::sqrt(distance);
  }
  D falloff;
  proven &= rounds_alike_in_range<L, FalloffBound<L>>(falloff_estimate, falloff) | capped;
  L::store_floats(L::select(capped, L::splat(falloff_cap), falloff), out.falloff + at);
  // In group order: the first group of a word clears the word.
  lanes_proof::store_proven_bits<L>(proven, out.proven, at);
}

// Every partner of the columns, L::count at a time, partners_per_pass a pass.
template <class L>
void kernel(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out) {
  const LaneTerms<L> terms(origin);
  PassScratch<L> pass;
  for (std::size_t first = 0; first < partners.count; first += partners_per_pass) {
    const std::size_t left = partners.count - first;
    const std::size_t groups = (left < partners_per_pass ? left + L::count - 1 : partners_per_pass) / L::count;
    for (std::size_t g = 0; g < groups; ++g) tangents<L>(terms, partners, first + g * L::count, pass, g);
    for (std::size_t g = 0; g < groups; ++g) arguments<L>(terms, pass, g);
    for (std::size_t g = 0; g < groups; ++g) directions<L>(terms, pass, first + g * L::count, g, out);
    for (std::size_t g = 0; g < groups; ++g) falloff<L>(terms, pass, first + g * L::count, g, out);
  }
}

}  // namespace pair_lanes
