// Fits the polynomials of the lanes' own arc tangent and sine (compute/lanes_arc_tangent.h,
// compute/lanes_sine.h) by Remez's exchange, in extended precision, for the least largest
// error relative to the function itself:
//  arc tangent: atan(x) ~ x + x z P(z), z = x^2, z from 0 to the reduced range's end squared;
//  sine:        sin(r)  ~ r + r z Q(z), z = r^2.
// With f(z) = (F(x) / x - 1) / z, the result's relative error is w(z) (P(z) - f(z)) with the
// weight w(z) = z / (1 + z f(z)), so P is the weighted best fit of f. f is summed from its
// series, which converges fast on both ranges, so no library function enters the fit.
// Prints each polynomial's coefficients (z^0 first, as hexadecimal doubles) and the fit's own
// largest error in units of 2^-53; the roundings of the evaluation come on top of it, and
// tools/lane_functions_sweep checks the sum for every argument.
// Usage: lane_functions_fit [ARC_TANGENT_DEGREE SINE_DEGREE]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <utility>
#include <vector>

namespace {

using Real = long double;

constexpr int series_terms = 40;

// (atan(x) / x - 1) / z = -1/3 + z/5 - z^2/7 + ...
Real arc_tangent_tail(Real z) {
  Real sum = 0, power = 1;
  for (int k = 0; k < series_terms; ++k, power *= -z) sum -= power / (2 * k + 3);
  return sum;
}

// (sin(r) / r - 1) / z = -1/3! + z/5! - z^2/7! + ...
Real sine_tail(Real z) {
  Real sum = 0, term = -1.0L / 6;
  for (int k = 0; k < series_terms; ++k) {
    sum += term;
    term *= -z / ((2 * k + 4) * (2 * k + 5));
  }
  return sum;
}

struct Fit {
  std::vector<Real> coefficients;  // z^0 first
  Real largest_error;              // relative to the function, at the last exchange
};

// The polynomial of the degree that minimises max |w(z) (P(z) - f(z))| on (0, end]; the weight
// is 0 at z = 0, where the error vanishes, so the reference points stay above 0.
Fit remez(Real (*f)(Real), int degree, Real end) {
  const int points = degree + 2;
  const auto weight = [f](Real z) { return z / (1 + z * f(z)); };
  std::vector<Real> reference(points);
  for (int i = 0; i < points; ++i) reference[i] = end * (1 - std::cos(std::numbers::pi_v<Real> * (i + 1) / points)) / 2;
  Fit fit{std::vector<Real>(degree + 1), 0};
  constexpr int exchanges = 30, samples = 20000;
  for (int exchange = 0; exchange < exchanges; ++exchange) {
    // P(z_i) + (-1)^i E / w(z_i) = f(z_i), in the scaled variable z / end for a well-kept system.
    std::vector<std::vector<Real>> rows(points, std::vector<Real>(points + 1));
    for (int i = 0; i < points; ++i) {
      Real power = 1;
      for (int k = 0; k <= degree; ++k, power *= reference[i] / end) rows[i][k] = power;
      rows[i][degree + 1] = (i % 2 ? -1 : 1) / weight(reference[i]);
      rows[i][points] = f(reference[i]);
    }
    for (int column = 0; column < points; ++column) {
      int pivot = column;
      for (int r = column + 1; r < points; ++r)
        if (std::fabs(rows[r][column]) > std::fabs(rows[pivot][column])) pivot = r;
      std::swap(rows[column], rows[pivot]);
      for (int r = 0; r < points; ++r)
        if (r != column) {
          const Real factor = rows[r][column] / rows[column][column];
          for (int k = column; k <= points; ++k) rows[r][k] -= factor * rows[column][k];
        }
    }
    for (int k = 0; k <= degree; ++k) fit.coefficients[k] = rows[k][points] / rows[k][k] / std::pow(end, k);
    const auto error = [&](Real z) {
      Real p = 0;
      for (int k = degree; k >= 0; --k) p = p * z + fit.coefficients[k];
      return weight(z) * (p - f(z));
    };
    // The new reference: the largest error of each run of one sign, the smallest runs at the
    // ends dropped until points are left.
    std::vector<Real> extremes, values;
    int i = 1;
    const auto sample = [end](int i) { return end * (1 - std::cos(std::numbers::pi_v<Real> * i / samples)) / 2; };
    while (i <= samples) {
      const bool positive = error(sample(i)) >= 0;
      Real at = sample(i), largest = error(at);
      for (; i <= samples && (error(sample(i)) >= 0) == positive; ++i)
        if (std::fabs(error(sample(i))) > std::fabs(largest)) largest = error(at = sample(i));
      extremes.push_back(at);
      values.push_back(largest);
    }
    while (static_cast<int>(extremes.size()) > points) {
      const bool front = std::fabs(values.front()) < std::fabs(values.back());
      extremes.erase(front ? extremes.begin() : extremes.end() - 1);
      values.erase(front ? values.begin() : values.end() - 1);
    }
    if (static_cast<int>(extremes.size()) < points) {
      std::fprintf(stderr, "the error has too few sign changes at degree %d\n", degree);
      std::exit(1);
    }
    reference = extremes;
    fit.largest_error = 0;
    for (const Real v : values) fit.largest_error = std::max(fit.largest_error, std::fabs(v));
  }
  return fit;
}

void print(const char* name, const Fit& fit) {
  std::printf("%s, degree %zu, fit error %.1Lf u:\n", name, fit.coefficients.size() - 1,
              fit.largest_error / 0x1p-53L);
  for (const Real c : fit.coefficients) std::printf("  %a,\n", static_cast<double>(c));
}

}  // namespace

int main(int argc, char** argv) {
  const int arc_tangent_degree = argc > 2 ? std::atoi(argv[1]) : 6;
  const int sine_degree = argc > 2 ? std::atoi(argv[2]) : 5;
  // The reduced ranges' ends with room for the reductions' roundings: tan(pi/8) = 0.41421...,
  // and pi/2 for the sine.
  const Real arc_tangent_end = 0.4143L * 0.4143L;
  const Real sine_end = (std::numbers::pi_v<Real> / 2 + 0.001L) * (std::numbers::pi_v<Real> / 2 + 0.001L);
  print("arc tangent P", remez(arc_tangent_tail, arc_tangent_degree, arc_tangent_end));
  print("sine Q", remez(sine_tail, sine_degree, sine_end));
}
