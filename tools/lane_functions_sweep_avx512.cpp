// The swept functions on eight AVX-512 lanes.
#include "compute/lanes_avx512.h"
#include "lane_functions_sweep.h"

double scaled_arc_tangent_avx512(double value, double scale) {
  return sweep_lanes::scaled_arc_tangent<LanesAvx512>(value, scale);
}
double scaled_arc_tangent_avx512_by_estimate(double value, double scale) {
  return sweep_lanes::scaled_arc_tangent<sweep_lanes::DividingByEstimate<LanesAvx512>>(value, scale);
}
double sine_avx512(double argument) { return sweep_lanes::sine<LanesAvx512>(argument); }
