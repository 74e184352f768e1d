#include "compute/lanes_proof.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include <vector>

#include "compute/lanes_scalar.h"
#include "compute/vector_isa.h"
#include "support/proof_lanes.h"
#include "support/vector_isas.h"

namespace {

// The proof as the kernels run it, on one lane, for a bound of 4 u.
bool proven_by_lanes(double estimate) { return lanes_proof::rounds_alike<LanesScalar, FourUnits>(estimate) & 1; }

struct Verdict {
  bool proven;
  double rounded;
};

// The proof of each estimate on the lanes of one set, the estimates padded to whole lane groups.
std::vector<Verdict> proven_in_lanes(VectorIsa isa, std::vector<double> estimates) {
  const std::size_t count = estimates.size();
  estimates.resize((count + 7) / 8 * 8, 1.5);
  bool proven[64];
  double rounded[64];
  if (estimates.size() > 64) return {};
  switch (isa) {
    case VectorIsa::avx512: prove_in_lanes_avx512(estimates.data(), estimates.size(), proven, rounded); break;
    case VectorIsa::avx2: prove_in_lanes_avx2(estimates.data(), estimates.size(), proven, rounded); break;
    case VectorIsa::scalar:
    case VectorIsa::none: prove_in_lanes<LanesScalar>(estimates.data(), estimates.size(), proven, rounded); break;
  }
  std::vector<Verdict> verdicts;
  for (std::size_t i = 0; i < count; ++i) verdicts.push_back({proven[i], rounded[i]});
  return verdicts;
}

// The point halfway between a float and the next one up.
double midpoint_above(float value) {
  return (static_cast<double>(value) + std::nextafter(value, std::numeric_limits<float>::infinity())) / 2;
}

TEST(FloatRoundingProof, ProvesValuesClearOfEveryBoundaryAndNothingElse) {
  const double width = proof_width(FourUnits::units);
  const double midpoint = midpoint_above(1.5f);
  struct Case {
    double estimate;
    bool proven;
  } cases[] = {
      {1.5, true},
      {-1.5, true},
      {midpoint, false},
      {midpoint * (1 - width / 2), false},           // inside the bracket of the midpoint
      {midpoint * (1 - 3 * width), true},            // clear below it
      {midpoint * (1 + 3 * width), true},            // clear above it
      {FLT_MAX, true},
      {midpoint_above(FLT_MAX), false},              // the overflow edge
      {static_cast<double>(FLT_MAX) * 2, false},     // rounds to infinity
      {FLT_MIN, true},
      {static_cast<double>(FLT_MIN) / 2, false},     // subnormal
      {static_cast<double>(FLT_MIN) - 0x1p-150, false},  // between the subnormals and FLT_MIN
      {0.0, false},
      {-0.0, false},
      {std::numeric_limits<double>::infinity(), false},
      {std::numeric_limits<double>::quiet_NaN(), false},
      {std::bit_cast<double>(0x7fff'ffff'ffff'ffffULL), false},  // a NaN whose bits wrap round
      {std::bit_cast<double>(0xffff'ffff'ffff'ffffULL), false},
  };
  for (const Case& c : cases) EXPECT_EQ(proven_by_lanes(c.estimate), c.proven) << c.estimate;
  std::vector<double> estimates;
  for (const Case& c : cases) estimates.push_back(c.estimate);
  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    const std::vector<Verdict> verdicts = proven_in_lanes(isa, estimates);
    ASSERT_EQ(verdicts.size(), estimates.size());
    for (std::size_t i = 0; i < verdicts.size(); ++i)
      EXPECT_EQ(verdicts[i].proven, cases[i].proven) << vector_isa_name(isa) << " " << estimates[i];
  }
}

TEST(FloatRoundingProof, AProvenEstimateGivesItsNearestFloat) {
  const double estimates[] = {
      2 - 0x1p-40,                 // up into the next binade
      1 + 0x1p-30,                 // down
      -3.0000001,                  // a negative value
      static_cast<double>(FLT_MAX) * (1 + 0x1p-30),
      static_cast<double>(FLT_MIN) * (1 - 0x1p-40),  // up from below FLT_MIN
  };
  for (const double estimate : estimates) {
    double rounded = 0;
    const unsigned proven = lanes_proof::rounds_alike<LanesScalar, FourUnits>(estimate, rounded);
    EXPECT_EQ(proven & 1, 1u) << estimate;
    EXPECT_EQ(rounded, static_cast<double>(static_cast<float>(estimate))) << estimate;
  }
  const std::vector<double> lanes(std::begin(estimates), std::end(estimates));
  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    const std::vector<Verdict> verdicts = proven_in_lanes(isa, lanes);
    ASSERT_EQ(verdicts.size(), lanes.size());
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
      EXPECT_TRUE(verdicts[i].proven) << vector_isa_name(isa) << " " << lanes[i];
      EXPECT_EQ(verdicts[i].rounded, static_cast<double>(static_cast<float>(lanes[i]))) << vector_isa_name(isa) << " " << lanes[i];
    }
  }
}

TEST(FloatRoundingProof, ABracketThatIsProvenContainsOnlyOneFloat) {
  // Every estimate near a midpoint that the test accepts lies farther from it than the bound.
  const double midpoint = midpoint_above(3.25f);
  for (int step = -400; step <= 400; ++step) {
    const double estimate = midpoint * (1 + step * error_bound::unit_roundoff);
    if (!proven_by_lanes(estimate)) continue;
    const double distance = std::fabs(estimate - midpoint) / midpoint / error_bound::unit_roundoff;
    EXPECT_GT(distance, proof_margin * FourUnits::units) << step;
  }
}

TEST(FloatRoundingProof, WithoutTheRangeTestANormalEstimateIsProvenAndRoundedAsBefore) {
  // The kernels skip the normal-range test where the value's range is known: for estimates
  // whose nearest float is normal, of either sign, the shorter proof keeps the midpoints'
  // verdicts and gives the nearest float, its sign included.
  const double width = proof_width(FourUnits::units);
  const double midpoint = midpoint_above(1.5f);
  struct Case {
    double estimate;
    bool proven;
  } cases[] = {
      {1.5, true},
      {midpoint, false},
      {midpoint * (1 - width / 2), false},
      {midpoint * (1 + 3 * width), true},
      {2 - 0x1p-40, true},  // up into the next binade
      {0x1p-25 * 1.2345678, true},
      {FLT_MAX, true},
      {static_cast<double>(FLT_MIN) * (1 - 0x1p-40), true},  // up from below FLT_MIN
      {0.0, true},  // the distance of coincident particles, kept as it is
  };
  for (const Case& c : cases)
    for (const double estimate : {c.estimate, -c.estimate}) {
      double rounded = 0;
      const unsigned proven = lanes_proof::rounds_alike_in_range<LanesScalar, FourUnits>(estimate, rounded) & 1;
      EXPECT_EQ(proven, c.proven) << estimate;
      if (proven) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(rounded),
                  std::bit_cast<std::uint64_t>(static_cast<double>(static_cast<float>(estimate))))
            << estimate;
      }
    }
}

TEST(FloatRoundingProof, EstimatesProvenTogetherGetEachOnesVerdictAndFloat) {
  // Every ordered three of estimates near and away from a midpoint, of both signs, in every lane
  // position: proven together where each alone is, each rounded as alone.
  const double width = proof_width(FourUnits::units);
  const double midpoint = midpoint_above(1.5f);
  std::vector<double> singles;
  for (const double estimate : {1.5, midpoint, midpoint * (1 - width / 2), midpoint * (1 + 3 * width), 2 - 0x1p-40,
                                0x1p-25 * 1.2345678, static_cast<double>(FLT_MAX), 0.0}) {
    singles.push_back(estimate);
    singles.push_back(-estimate);
  }
  std::vector<double> first, second, third;
  for (const double a : singles)
    for (const double b : singles)
      for (const double c : singles) {
        first.push_back(a);
        second.push_back(b);
        third.push_back(c);
      }
  const std::size_t count = first.size();
  for (std::vector<double>* estimates : {&first, &second, &third}) estimates->resize((count + 7) / 8 * 8, 1.5);
  const std::size_t padded = first.size();
  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    const std::unique_ptr<bool[]> proven = std::make_unique<bool[]>(padded);
    bool* const verdicts = proven.get();
    std::vector<double> rounded(3 * padded);
    switch (isa) {
      case VectorIsa::avx512:
        prove_three_in_lanes_avx512(first.data(), second.data(), third.data(), padded, verdicts, rounded.data());
        break;
      case VectorIsa::avx2:
        prove_three_in_lanes_avx2(first.data(), second.data(), third.data(), padded, verdicts, rounded.data());
        break;
      case VectorIsa::scalar:
      case VectorIsa::none:
        prove_three_in_lanes<LanesScalar>(first.data(), second.data(), third.data(), padded, verdicts, rounded.data());
        break;
    }
    std::size_t faults = 0;
    for (std::size_t i = 0; i < count; ++i) {
      bool each = true;
      const double three[3] = {first[i], second[i], third[i]};
      for (int j = 0; j < 3; ++j) {
        double alone = 0;
        each &= (lanes_proof::rounds_alike_in_range<LanesScalar, FourUnits>(three[j], alone) & 1) != 0;
        if (std::bit_cast<std::uint64_t>(rounded[3 * i + j]) != std::bit_cast<std::uint64_t>(alone) && ++faults <= 5)
          ADD_FAILURE() << vector_isa_name(isa) << " " << three[j] << " rounded " << rounded[3 * i + j];
      }
      if (verdicts[i] != each && ++faults <= 5)
        ADD_FAILURE() << vector_isa_name(isa) << " " << three[0] << " " << three[1] << " " << three[2];
    }
    EXPECT_EQ(faults, 0u) << vector_isa_name(isa);
  }
}

TEST(VectorIsa, AChoiceBeyondTheProcessorIsLowered) {
  const VectorIsa best = best_vector_isa();
  choose_vector_isa(VectorIsa::scalar);
  EXPECT_EQ(vector_isa(), VectorIsa::scalar);
  choose_vector_isa(VectorIsa::avx512);
  EXPECT_EQ(vector_isa(), best);
}

}  // namespace
