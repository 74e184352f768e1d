// The lanes' own arc tangent and sine against MPFR where their reductions change course or lose
// the most: at the breakpoints, near the zeros of the sine, at the ends of the ranges. Every
// value must stay within the bound the step's proofs use (tools/lane_functions_sweep checks
// every float; this is the quick guard).
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "compute/lanes_arc_tangent.h"
#include "compute/lanes_scalar.h"
#include "compute/lanes_sine.h"

namespace {

using MpfrFunction = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// |estimate - scale f(x)| / |scale f(x)| in units of 2^-53.
double error_units(double estimate, float x, MpfrFunction f, double scale = 1) {
  mpfr_t argument, exact;
  mpfr_inits2(128, argument, exact, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_flt(argument, x, MPFR_RNDN);
  f(exact, argument, MPFR_RNDN);
  mpfr_mul_d(exact, exact, scale, MPFR_RNDN);
  mpfr_sub_d(argument, exact, estimate, MPFR_RNDN);
  mpfr_div(argument, argument, exact, MPFR_RNDN);
  const double units = std::fabs(mpfr_get_d(argument, MPFR_RNDN)) / 0x1p-53;
  mpfr_clears(argument, exact, static_cast<mpfr_ptr>(nullptr));
  return units;
}

// The floats next to x, x itself in the middle.
std::vector<float> around(float x, int steps) {
  std::vector<float> values{x};
  float below = x, above = x;
  for (int i = 0; i < steps; ++i) {
    below = std::nextafter(below, -FLT_MAX);
    above = std::nextafter(above, FLT_MAX);
    values.push_back(below);
    values.push_back(above);
  }
  return values;
}

TEST(LanesArcTangent, StaysWithinItsBoundAtTheBreakpointsAndTheEndsOfTheFloats) {
  std::vector<float> values{FLT_MIN, 1e-30f, 1e-7f, 0.25f, 0.5f, 1, 2, 10, 1e7f, 1e30f, FLT_MAX};
  for (const float breakpoint : {static_cast<float>(lanes_arc_tangent::tan_eighth_turn),
                                 static_cast<float>(lanes_arc_tangent::tan_three_eighths_turn)})
    for (const float x : around(breakpoint, 3)) values.push_back(x);
  // Each value in each of the three places, beside partners that take the other reductions, so
  // that a value taking a partner's reduction or result shows; unscaled and in degrees.
  for (const double scale : {1.0, 1.0 / 0.0174532924f}) {
    const lanes_arc_tangent::Scale<LanesScalar> scaled(scale);
    for (const float magnitude : values)
      for (const float x : {magnitude, -magnitude})
        for (int place = 0; place < 3; ++place) {
          double in[3] = {0.3, 1.5, -3e20};
          in[place] = x;
          double out[3];
          lanes_arc_tangent::scaled_arc_tangents<LanesScalar>(in, scaled, out);
          EXPECT_LT(error_units(out[place], x, mpfr_atan, scale), lanes_arc_tangent::bound_units)
              << x << " in place " << place << " scaled by " << scale;
        }
  }
}

TEST(LanesSine, StaysWithinItsBoundNearItsZerosAndAtTheEndsOfItsRange) {
  constexpr double pi = std::numbers::pi;
  std::vector<float> values;
  for (const double x : {1.5, pi / 2, pi, 3 * pi / 2, 2 * pi, 5 * pi / 2, 8.0})
    for (const float near : around(static_cast<float>(x), 4))
      if (lanes_sine::in_range<LanesScalar>(near)) values.push_back(near);
  ASSERT_GT(values.size(), 40u);
  for (const float x : values) {
    const double in[3] = {x, 2.5, 7.0};
    double out[3];
    lanes_sine::sines<LanesScalar>(in, out);
    EXPECT_LT(error_units(out[0], x, mpfr_sin), lanes_sine::bound_units) << x;
  }
}

TEST(LanesSine, TakesOnlyArgumentsOfItsRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double argument;
    bool taken;
  } cases[] = {{1.5, false}, {std::nextafter(1.5, 2), true}, {4, true}, {std::nextafter(8.0, 0), true},
               {8, false},   {-4, false},                    {nan, false}, {1e300, false}};
  for (const auto& c : cases) EXPECT_EQ(lanes_sine::in_range<LanesScalar>(c.argument) & 1, c.taken) << c.argument;
}

}  // namespace
