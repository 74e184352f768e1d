#pragma once
// project_point's formula in double lanes, for one instruction set's lanes type L, each step
// tagged with the rule that makes its result the extended formula's float (E1, E2, P:
// lanes_proof.h). Include only from the kernel files (projection_lanes_scalar.cpp, _avx2.cpp,
// _avx512.cpp): everything here is a template of L, so each set's copy stays its own.
#include "compute/float_rounding_proof.h"
#include "compute/lanes_proof.h"
#include "view/projection_constants.h"
#include "view/projection_kernels.h"

namespace projection_lanes {

using namespace error_bound;
using lanes_proof::absolute;
using lanes_proof::rounds_alike;
using lanes_proof::rounds_alike_within;

// The bounds, in units of u relative to the estimate, each a type for rounds_alike<L, Bound>
// (lanes_proof.h).
//
// (P) tan_ratio: (u + 10^-5) / (w + 10^-5), three roundings in double against three in
// extended.
struct RatioBound {
  static constexpr double units = 3 * double_rounding + 3 * extended_rounding;
};
// (P) new_x = atan(ratio) / deg_to_rad + angle: the part that scales with the arc tangent in
// degrees (SLEEF's atan and the division against FPATAN and the extended division) and the
// part that scales with the sum (its rounding in double against extended). The sum may cancel,
// so the bound is |degrees| x DegreesBound + |sum| x SumBound, proven lane by lane.
struct DegreesBound {
  static constexpr double units = sleef_u10 + double_rounding + x87_atan + extended_rounding;
};
struct SumBound {
  static constexpr double units = double_rounding + extended_rounding;
};
// (P) polar_r = sqrt(u^2 + w^2): the squares are exact (E1); the sum is rounded once in double
// against once in extended and then to double; the root halves that relative error and adds
// its own rounding in double and in extended.
struct PolarBound {
  static constexpr double units = (2 * double_rounding + extended_rounding) / 2 + double_rounding + extended_rounding;
};
// (P) the sine and cosine: SLEEF's within its documented error of the true value.
struct SineCosineBound {
  static constexpr double units = sleef_u10 + correctly_rounded_sin_cos;
};
// (P) the screen values: the depth sum, the scale, the division by 150 and the product with
// the depth factor, four roundings in double against four in extended.
struct ScreenBound {
  static constexpr double units = 4 * double_rounding + 4 * extended_rounding;
};
// The arguments for which SLEEF's documented sine and cosine error holds with room to spare.
constexpr double sine_argument_limit = 0x1p30;

// The two values of a turn that the next step reads, and the lanes proven so far.
template <class L>
struct Turn {
  typename L::Doubles u, w;                     // the turned pair, floats held in doubles
  typename L::Doubles tan_ratio, new_x, polar_r;
  typename L::Mask proven;
};

// One turn of (u, w) by angle degrees, as turn_in_plane does it.
template <class L>
Turn<L> turn(typename L::Doubles u, typename L::Doubles w, double angle, const LaneView& view) {
  using D = typename L::Doubles;
  Turn<L> t;
  // (P) the ratio.
  const D ratio = (u + L::splat(ratio_offset)) / (w + L::splat(ratio_offset));
  t.proven = rounds_alike<L, RatioBound>(ratio);
  t.tan_ratio = L::round_to_float(ratio);

  // (P) the angle in degrees with the view angle added.
  const D degrees = L::atan(t.tan_ratio) / L::splat(view.deg_to_rad);
  const D angle_sum = degrees + L::splat(angle);
  t.proven &= rounds_alike_within<L>(angle_sum, absolute<L>(degrees) * L::splat(DegreesBound::units) +
                                                    absolute<L>(angle_sum) * L::splat(SumBound::units));
  D new_x = L::round_to_float(angle_sum);
  // (E2) the half turn and the full turn are single float sums.
  const typename L::Mask w_negative = L::less(w, L::splat(0));
  new_x = L::select(w_negative, L::round_to_float(new_x + L::splat(half_turn)), new_x);
  new_x = L::select(w_negative & L::less(new_x, L::splat(0)), L::round_to_float(new_x + L::splat(full_turn)), new_x);
  t.new_x = new_x;

  // (P) the distance in the plane.
  const D root = L::sqrt(u * u + w * w);
  t.proven &= rounds_alike<L, PolarBound>(root);
  t.polar_r = L::round_to_float(root);

  // (E1) the angle in radians is a product of two floats.
  const D radians = L::round_to_float(L::splat(view.deg_to_rad) * new_x);
  t.proven &= ~L::less(L::splat(sine_argument_limit), absolute<L>(radians));
  // (P) its cosine and sine.
  const D cosine = L::cos(radians);
  const D sine = L::sin(radians);
  t.proven &= rounds_alike<L, SineCosineBound>(cosine);
  t.proven &= rounds_alike<L, SineCosineBound>(sine);
  // (E1) the turned pair: products of two floats.
  t.u = L::round_to_float(L::round_to_float(cosine) * t.polar_r);
  t.w = L::round_to_float(L::round_to_float(sine) * t.polar_r);
  return t;
}

// (centre_size / 50) * p / 150 * (z + depth_offset), left to right.
template <class L>
typename L::Doubles screen_value(typename L::Doubles p, typename L::Doubles depth_factor, double scale) {
  return L::splat(scale) * p / L::splat(screen_divisor) * depth_factor;
}

// The points from first on, L::count of them, into the arrays of the batch's results.
template <class L>
void project_lanes(const PointBatch& points, int first, const LaneView& view, LaneResults& out) {
  using D = typename L::Doubles;
  const D x = L::load_floats(points.x + first);
  const D y = L::load_floats(points.y + first);
  const D z = L::load_floats(points.z + first);
  const Turn<L> first_turn = turn<L>(x, z, view.angle_c, view);
  const Turn<L> second_turn = turn<L>(y, first_turn.w, view.angle_a, view);
  const D turned_x = first_turn.u, turned_y = second_turn.u, turned_z = second_turn.w;
  const D depth_factor = turned_z + L::splat(view.depth_offset);
  const D screen_x = screen_value<L>(turned_x, depth_factor, view.scale);
  const D screen_y = screen_value<L>(turned_y, depth_factor, view.scale);
  // (P) the screen values.
  typename L::Mask proven = first_turn.proven & second_turn.proven;
  proven &= rounds_alike<L, ScreenBound>(screen_x);
  proven &= rounds_alike<L, ScreenBound>(screen_y);

  L::store_floats(turned_x, out.turned_x + first);
  L::store_floats(turned_y, out.turned_y + first);
  L::store_floats(turned_z, out.turned_z + first);
  L::store_floats(screen_x, out.screen_x + first);
  L::store_floats(screen_y, out.screen_y + first);
  L::store_floats(second_turn.tan_ratio, out.tan_ratio + first);
  L::store_floats(second_turn.new_x, out.new_x + first);
  L::store_floats(second_turn.polar_r, out.polar_r + first);
  lanes_proof::store_proven<L>(proven, out.proven + first);
}

// Every point of the batch, L::count at a time.
template <class L>
void kernel(const PointBatch& points, const LaneView& view, LaneResults& out) {
  for (int first = 0; first < points.count; first += L::count) project_lanes<L>(points, first, view, out);
}

}  // namespace projection_lanes
