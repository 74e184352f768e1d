// The lanes' polynomials against a plain sum of terms, exact here: small integer coefficients
// at small integer points, so that every product and sum is exact and any coefficient paired
// with the wrong power, or dropped at an odd count, shows as a different value.
#include "compute/lanes_polynomial.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <utility>

#include "compute/lanes_scalar.h"

namespace {

template <std::size_t N>
void expect_plain_sums() {
  double c[N];
  for (std::size_t k = 0; k < N; ++k) c[k] = (k % 2 ? -1.0 : 1.0) * static_cast<double>(k + 2);
  const double z[] = {0, 1, -2, 3};
  double p[4];
  lanes_polynomial::estrin<LanesScalar>(c, z, p);
  for (std::size_t j = 0; j < 4; ++j) {
    double sum = 0, power = 1;
    for (std::size_t k = 0; k < N; ++k, power *= z[j]) sum += c[k] * power;
    EXPECT_EQ(p[j], sum) << N << " coefficients at " << z[j];
  }
}

template <std::size_t... Counts>
void expect_plain_sums_for(std::index_sequence<Counts...>) {
  (expect_plain_sums<Counts + 2>(), ...);
}

TEST(LanesPolynomial, GivesThePlainSumForEveryCountOfCoefficients) {
  expect_plain_sums_for(std::make_index_sequence<8>{});
}

}  // namespace
