// The lanes' quotient against the extended quotient on every set this machine has, in the form
// each set chooses and, on the vector sets, from the reciprocal estimate: divisors
// whose reciprocal estimates err the most (significands at either end of the binade and in
// between), the ends of the range it serves, and a random sweep of that range; and what it
// gives for the inputs that the callers' proofs must reject.
#include "compute/lanes_quotient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "compute/lanes_scalar.h"
#include "compute/vector_isa.h"
#include "support/quotient_lanes.h"
#include "support/vector_isas.h"

namespace {

// One set's quotients, from its reciprocal estimate or in the form it chooses.
struct Form {
  VectorIsa isa;
  bool by_estimate;
};

std::vector<Form> forms_of_this_machine() {
  std::vector<Form> forms;
  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    forms.push_back({isa, false});
    if (isa != VectorIsa::scalar) forms.push_back({isa, true});
  }
  return forms;
}

std::string form_name(const Form& form) {
  return std::string(vector_isa_name(form.isa)) + (form.by_estimate ? " from its estimate" : "");
}

// Each quotient in one form, padded to whole lane groups.
std::vector<double> divided_in_lanes(const Form& form, std::vector<double> dividends, std::vector<double> divisors) {
  const std::size_t count = dividends.size();
  dividends.resize((count + 7) / 8 * 8, 1);
  divisors.resize(dividends.size(), 1);
  std::vector<double> quotients(dividends.size());
  switch (form.isa) {
    case VectorIsa::avx512:
      divide_in_lanes_avx512(dividends.data(), divisors.data(), dividends.size(), quotients.data(), form.by_estimate);
      break;
    case VectorIsa::avx2:
      divide_in_lanes_avx2(dividends.data(), divisors.data(), dividends.size(), quotients.data(), form.by_estimate);
      break;
    case VectorIsa::scalar:
    case VectorIsa::none: divide_in_lanes<LanesScalar>(dividends.data(), divisors.data(), dividends.size(), quotients.data()); break;
  }
  quotients.resize(count);
  return quotients;
}

// |q - a / b| / |a / b| in units of 2^-53, the reference rounded once in extended (2^-11 u).
double error_units(double q, double a, double b) {
  const long double exact = static_cast<long double>(a) / b;
  return static_cast<double>(std::fabs((q - exact) / exact) / 0x1p-53L) + 0x1p-11;
}

void expect_within_bound(const std::vector<double>& dividends, const std::vector<double>& divisors) {
  for (const Form& form : forms_of_this_machine()) {
    const std::vector<double> quotients = divided_in_lanes(form, dividends, divisors);
    std::size_t faults = 0;
    for (std::size_t i = 0; i < quotients.size(); ++i)
      if (!(error_units(quotients[i], dividends[i], divisors[i]) < lanes_quotient::bound_units) && ++faults <= 5)
        ADD_FAILURE() << form_name(form) << " " << dividends[i] << " / " << divisors[i] << " gave " << quotients[i];
    EXPECT_EQ(faults, 0u) << form_name(form);
  }
}

TEST(LanesQuotient, StaysWithinItsBoundForHardDivisorsAndAtTheEndsOfItsRange) {
  std::vector<double> significands{1, 1.5, 4.0 / 3, std::nextafter(2.0, 0), std::nextafter(1.0, 2), 1.0 + 0x1p-24,
                                   1.9999999, 1.41421356237309515, 1.1, 1.7};
  for (int k = 1; k < 64; ++k) significands.push_back(1 + k / 64.0 + 0x1p-40);
  const double dividend_significands[] = {1, std::nextafter(2.0, 0), 1.2345678901234567, 1.5 + 0x1p-52};
  std::vector<double> dividends, divisors;
  for (const double sb : significands)
    for (const int eb : {-120, -77, -1, 0, 3, 41, 118, 119})
      for (const double sa : dividend_significands)
        for (const int ea : {-200, -118, 0, 1, 129}) {
          const double a = std::ldexp(sa, ea), b = std::ldexp(sb, eb);
          for (const double sign : {1.0, -1.0}) {
            dividends.push_back(sign * a);
            divisors.push_back(b);
            dividends.push_back(a);
            divisors.push_back(sign * b);
          }
        }
  expect_within_bound(dividends, divisors);
}

TEST(LanesQuotient, StaysWithinItsBoundOverARandomSweepOfItsRange) {
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> significand(1, 2);
  std::uniform_int_distribution<int> dividend_exponent(-200, 200), divisor_exponent(-120, 119);
  const std::size_t count = sanitized_build ? 1 << 14 : 1 << 20;
  std::vector<double> dividends, divisors;
  for (std::size_t i = 0; i < count; ++i) {
    const double sign = random() & 1 ? 1 : -1;
    dividends.push_back(sign * std::ldexp(significand(random), dividend_exponent(random)));
    divisors.push_back(std::ldexp(significand(random), divisor_exponent(random)));
  }
  expect_within_bound(dividends, divisors);
}

TEST(LanesQuotient, FromAnEstimateGivesZeroForAZeroDividendAndNaNWhereNoQuotientIsServed) {
  constexpr double infinity = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double a, b;
    bool nan;
  } cases[] = {{0, 3, false},      {-0.0, 0x1p-77, false}, {0, -0x1p118, false}, {nan, 3, true},
               {3, nan, true},     {infinity, 3, true},    {-infinity, 0.5, true}, {3, infinity, true},
               {3, -infinity, true}, {3, 0, true},         {-3, -0.0, true}};
  std::vector<double> dividends, divisors;
  for (const auto& c : cases) {
    dividends.push_back(c.a);
    divisors.push_back(c.b);
  }
  for (const Form& form : forms_of_this_machine()) {
    // A division gives an infinity or 0 where the estimate gives a NaN.
    if (!form.by_estimate) continue;
    const std::vector<double> quotients = divided_in_lanes(form, dividends, divisors);
    for (std::size_t i = 0; i < std::size(cases); ++i)
      if (cases[i].nan)
        EXPECT_TRUE(std::isnan(quotients[i])) << form_name(form) << " " << cases[i].a << " / " << cases[i].b;
      else
        EXPECT_EQ(quotients[i], 0) << form_name(form) << " " << cases[i].a << " / " << cases[i].b;
  }
}

}  // namespace
