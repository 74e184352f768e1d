#pragma once
// One value's scaled arc tangent and sine on a set's lanes, for lane_functions_sweep: the value
// in every lane, the first lane's result; the arc tangent also with its quotient from the
// reciprocal estimate. Each set's file (lane_functions_sweep_avx2.cpp,
// _avx512.cpp) runs these on its own lanes type and calls nothing else that other files use.
#include "compute/lanes_arc_tangent.h"
#include "compute/lanes_sine.h"

namespace sweep_lanes {

// The lanes type L with its quotients from the reciprocal estimate, whichever form L chooses.
template <class L>
struct DividingByEstimate : L {
  static constexpr bool divides_by_estimate = true;
};

template <class L>
double first_lane(typename L::Doubles values) {
  double lanes[L::count];
  __builtin_memcpy(lanes, &values, sizeof lanes);
  return lanes[0];
}

template <class L>
double scaled_arc_tangent(double value, double scale) {
  const lanes_arc_tangent::Scale<L> s(scale);
  const typename L::Doubles values[1] = {L::splat(value)};
  typename L::Doubles out[1];
  lanes_arc_tangent::scaled_arc_tangents<L>(values, s, out);
  return first_lane<L>(out[0]);
}

template <class L>
double sine(double argument) {
  const typename L::Doubles arguments[3] = {L::splat(argument), L::splat(argument), L::splat(argument)};
  typename L::Doubles out[3];
  lanes_sine::sines<L>(arguments, out);
  return first_lane<L>(out[0]);
}

}  // namespace sweep_lanes

double scaled_arc_tangent_avx2(double value, double scale);
double scaled_arc_tangent_avx2_by_estimate(double value, double scale);
double sine_avx2(double argument);
double scaled_arc_tangent_avx512(double value, double scale);
double scaled_arc_tangent_avx512_by_estimate(double value, double scale);
double sine_avx512(double argument);
