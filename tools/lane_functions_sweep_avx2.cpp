// The swept functions on four AVX2 lanes.
#include "compute/lanes_avx2.h"
#include "lane_functions_sweep.h"

double scaled_arc_tangent_avx2(double value, double scale) {
  return sweep_lanes::scaled_arc_tangent<LanesAvx2>(value, scale);
}
double scaled_arc_tangent_avx2_by_estimate(double value, double scale) {
  return sweep_lanes::scaled_arc_tangent<sweep_lanes::DividingByEstimate<LanesAvx2>>(value, scale);
}
double sine_avx2(double argument) { return sweep_lanes::sine<LanesAvx2>(argument); }
