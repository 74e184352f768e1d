// The refined square roots and reciprocal roots of every instruction set that takes them against
// long double, at the places where the estimates and the refinement are at their worst: the
// ends of the range, either side of the powers of 2 and 4 (where the estimates' tables turn),
// the float argument on which RSQRTPS errs the most here, and a random sweep. Every result must
// lie within the bound that the step's proofs use.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "compute/lanes_root.h"
#include "support/root_lanes.h"
#include "support/vector_isas.h"

namespace {

constexpr double falloff_numerator = 500;

// |estimate - exact| / |exact| in units of 2^-53; long double's own roundings, 2^-11 u each,
// are within the bounds' slack.
double error_units(double estimate, long double exact) {
  return static_cast<double>(std::fabs((estimate - exact) / exact) / 0x1p-53L);
}

struct Roots {
  std::vector<double> root, reciprocal;
  RootBounds bounds;
};

Roots roots_of(VectorIsa isa, std::vector<double> x) {
  x.resize((x.size() + 7) / 8 * 8, 1.0);
  Roots out{std::vector<double>(x.size()), std::vector<double>(x.size()), {}};
  if (isa == VectorIsa::avx512)
    out.bounds = roots_in_lanes_avx512(x.data(), x.size(), falloff_numerator, out.root.data(), out.reciprocal.data());
  else
    out.bounds = roots_in_lanes_avx2(x.data(), x.size(), falloff_numerator, out.root.data(), out.reciprocal.data());
  return out;
}

std::vector<VectorIsa> isas_with_refined_roots() {
  std::vector<VectorIsa> isas;
  for (const VectorIsa isa : vector_isas_of_this_machine())
    if (isa == VectorIsa::avx2 || isa == VectorIsa::avx512) isas.push_back(isa);
  return isas;
}

void expect_within_bounds(VectorIsa isa, const std::vector<double>& x) {
  const Roots roots = roots_of(isa, x);
  int faults = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const long double root = std::sqrt(static_cast<long double>(x[i]));
    const double root_error = error_units(roots.root[i], root);
    const double reciprocal_error = error_units(roots.reciprocal[i], falloff_numerator / root);
    if ((root_error > roots.bounds.square_root_units || reciprocal_error > roots.bounds.scaled_reciprocal_units) &&
        ++faults <= 5)
      ADD_FAILURE() << vector_isa_name(isa) << " " << std::hexfloat << x[i] << std::defaultfloat << ": root "
                    << root_error << " u (bound " << roots.bounds.square_root_units << "), reciprocal "
                    << reciprocal_error << " u (bound " << roots.bounds.scaled_reciprocal_units << ")";
  }
  EXPECT_EQ(faults, 0) << vector_isa_name(isa);
}

// The doubles next to x, x itself first.
void add_around(std::vector<double>& values, double x, int steps) {
  values.push_back(x);
  double below = x, above = x;
  for (int i = 0; i < steps; ++i) {
    values.push_back(below = std::nextafter(below, 0.0));
    values.push_back(above = std::nextafter(above, std::numeric_limits<double>::infinity()));
  }
}

TEST(LanesRoot, StaysWithinItsBoundsAtTheHardPlaces) {
  std::vector<double> x;
  for (const double end : {lanes_root::lowest_argument, lanes_root::highest_argument}) {
    x.push_back(end);
    x.push_back(std::nextafter(end, 1.0));
  }
  for (int exponent = -2; exponent <= 81; ++exponent) add_around(x, std::ldexp(1.0, exponent), 1);
  // The floats beside a power of 2 and the doubles that round halfway to them (AVX2 reads the
  // value's float).
  for (const double near : {1 - 0x1p-24, 1 + 0x1p-23, 1 + 0x1p-24, 1 + 3 * 0x1p-25, 2 - 0x1p-23, 4 - 0x1p-22})
    for (const int scale : {0, 40, 79}) x.push_back(std::ldexp(near, scale));
  // The cap's distance and square sum, the square sum's limit.
  for (const double value : {25.0, 625.0, 0x1p80}) add_around(x, value, 2);
  // RSQRTPS's worst argument on the machine that wrote this test, at even powers of 2 beside it.
  float worst;
  const unsigned worst_bits = 0x011c8fff;
  std::memcpy(&worst, &worst_bits, sizeof worst);
  for (const int scale : {0, 100, 140, 200}) x.push_back(std::ldexp(static_cast<double>(worst), scale));
  for (const VectorIsa isa : isas_with_refined_roots()) expect_within_bounds(isa, x);
}

TEST(LanesRoot, StaysWithinItsBoundsOverARandomSweep) {
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> exponent(-126, 126);
  std::uniform_real_distribution<double> kernel_exponent(0, 80);
  std::vector<double> x;
  const int count = sanitized_build ? 1 << 12 : 1 << 18;
  for (int i = 0; i < count; ++i) {
    x.push_back(std::exp2(exponent(random)));
    // The step's floats: distances and square sums (a float distance squared is one too).
    x.push_back(static_cast<float>(std::exp2(kernel_exponent(random))));
  }
  for (const VectorIsa isa : isas_with_refined_roots()) expect_within_bounds(isa, x);
}

TEST(LanesRoot, GivesNaNForZeroInfinityAndNaN) {
  const std::vector<double> x{0.0, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
  for (const VectorIsa isa : isas_with_refined_roots()) {
    const Roots roots = roots_of(isa, x);
    for (std::size_t i = 0; i < x.size(); ++i) {
      EXPECT_TRUE(std::isnan(roots.root[i])) << vector_isa_name(isa) << " " << x[i];
      EXPECT_TRUE(std::isnan(roots.reciprocal[i])) << vector_isa_name(isa) << " " << x[i];
    }
  }
}

}  // namespace
