#include "model/pair_contribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "compute/vector_isa.h"
#include "model/pair_batch.h"
#include "support/vector_isas.h"

namespace {

constexpr float deg_to_rad = 0.0174532924f;
constexpr float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

// Equal bits; any two NaNs are alike.
bool same_bits(float a, float b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; }
bool same_bits(const Vec3& a, const Vec3& b) { return same_bits(a.x, b.x) && same_bits(a.y, b.y) && same_bits(a.z, b.z); }
std::string bits(const Vec3& v) {
  char text[96];
  std::snprintf(text, sizeof text, "(%a, %a, %a)", v.x, v.y, v.z);
  return text;
}

// Partners in padded columns.
struct Partners {
  std::vector<float> x, y, z;
  void add(const Vec3& q) {
    x.push_back(q.x);
    y.push_back(q.y);
    z.push_back(q.z);
  }
  PartnerColumns columns() {
    const std::size_t count = x.size();
    for (std::vector<float>* axis : {&x, &y, &z}) axis->resize(padded_partners(count));
    return {x.data(), y.data(), z.data(), count};
  }
};

// One pair contribution, by the fast path of the set in force and by the extended formula.
struct PairCase {
  Vec3 p, q;
  float gain = 1;
  float factor = deg_to_rad;
};

Vec3 fast_force(const PairCase& c, Vec3 force) {
  Partners partners;
  partners.add(c.q);
  add_partners_together(&force, &c.p, 1, partners.columns(), c.gain, c.factor);
  return force;
}

Vec3 extended_force(const PairCase& c, Vec3 force) {
  add_pair(force, c.p, c.q, c.gain, c.factor);
  return force;
}

// Whether the lanes of the set in force prove the pair.
bool proven(const PairCase& c) {
  Partners partners;
  partners.add(c.q);
  Vec3 force{0, 0, 0};
  return add_partners_together(&force, &c.p, 1, partners.columns(), c.gain, c.factor) == 0;
}

class PairContribution : public ::testing::TestWithParam<VectorIsa> {
 protected:
  void SetUp() override { choose_vector_isa(GetParam()); }
  void TearDown() override { choose_vector_isa(best_vector_isa()); }
};

// Differences (partner at the origin) whose values the extended formula takes within a few
// units of 2^-53 of a float rounding boundary, found by a search over random differences in
// the cube: the x plane's ratio (dx + 1E-7) / (dz + 1E-7), its angle in degrees, and the
// distance, whose square root lands exactly on a float midpoint.
const Vec3 near_ratio_boundary[] = {{-0x1.6d300cp+5f, 0x1.1ecb08p+3f, 0x1.f9bc4p+0f},
                                    {-0x1.6b905cp+5f, -0x1.8a9e3ap+5f, -0x1.2bc09cp+5f}};
const Vec3 near_angle_boundary[] = {{-0x1.66eb4cp+5f, 0x1.1a00bp+5f, 0x1.c9ed2p+1f},
                                    {-0x1.d96abp+3f, 0x1.ae8bfp+4f, 0x1.2e01p+0f}};
const Vec3 on_distance_midpoint[] = {{0x1.ccffep+3f, -0x1.f572d2p+4f, -0x1.3e21p+2f},
                                     {-0x1.a7a92ep+4f, 0x1.5c645p+5f, 0x1.f81cep+3f}};

std::vector<PairCase> adversarial_cases() {
  std::vector<PairCase> cases;
  for (const auto* table : {near_ratio_boundary, near_angle_boundary, on_distance_midpoint})
    for (int i = 0; i < 2; ++i) cases.push_back({table[i], {0, 0, 0}});
  const float tiny_float = 1e-30f, subnormal = 1e-40f, huge = 3e38f, smallest = 1e-45f;
  const std::vector<PairCase> edges = {
      {{3, 0.5f, 7}, {3, -2, 1}},                       // one difference 0
      {{3, 0.5f, 7}, {3, 0.5f, 1}},                     // two
      {{1.5f, -2, 3}, {1.5f, -2, 3}},                   // coincident particles
      {{15, 20, 0}, {0, 0, 0}},                         // the cap's distance, 25
      {{15, 20, 0.125f}, {0, 0, 0}},                    // just beyond it
      {{-0.0f, 0, 0}, {0, -0.0f, 0}},                   // zeros of both signs
      {{tiny_float, -2 * tiny_float, 3 * tiny_float}, {0, 0, 0}},
      {{subnormal, -2 * subnormal, smallest}, {0, 0, 0}},
      {{subnormal, 5, -7}, {0, 5, 1}},
      {{1e30f, 2e30f, -3e30f}, {0, 0, 0}},
      {{huge, -huge, 1e38f}, {-huge, huge, 0}},          // differences beyond the float range
      {{huge, huge, 1}, {0, 0, 0}},                      // a distance beyond it
      {{-1e-7f, 5, 2}, {0, 0, 0}},                      // an offset sum close to 0
      {{2, 5, -1e-7f}, {0, 0, 0}},
      {{nan, 1, 2}, {0, 0, 0}},
      {{1, 2, 3}, {inf, 0, 0}},
      {{inf, 2, 3}, {inf, 0, 0}},
      {{-inf, 2, 3}, {0, nan, 0}},
      {{4, -3, 2}, {1, 1, 1}, 9},                        // rule gains
      {{4, -3, 2}, {1, 1, 1}, -9},
      {{4, -3, 2}, {1, 1, 1}, smallest},                 // direction terms that vanish
      {{4, -3, 2}, {1, 1, 1}, huge},
      {{4, -3, 2}, {1, 1, 1}, inf},
      {{4, -3, 2}, {1, 1, 1}, 1, 1},                     // unusual degree factors
      {{4, -3, 2}, {1, 1, 1}, 1, 0},
      {{4, -3, 2}, {1, 1, 1}, 1, 1e10f},
      {{4, -3, 2}, {1, 1, 1}, 1, -deg_to_rad},
      {{4, -3, 2}, {1, 1, 1}, 1, nan},
      {{100, 1, 2}, {0, 0, 0}, 1, 1e-39f},               // an angle beyond the float range
  };
  cases.insert(cases.end(), edges.begin(), edges.end());
  return cases;
}

TEST_P(PairContribution, AdversarialInputsGiveTheExtendedBits) {
  const Vec3 starts[] = {{0, 0, 0}, {0.25f, -1000, 7}, {-0.0f, inf, nan}};
  for (const PairCase& c : adversarial_cases())
    for (const Vec3& start : starts) {
      const Vec3 fast = fast_force(c, start), extended = extended_force(c, start);
      EXPECT_TRUE(same_bits(fast, extended)) << "p " << bits(c.p) << " q " << bits(c.q) << " gain " << c.gain
                                             << " factor " << c.factor << ": fast " << bits(fast) << ", extended "
                                             << bits(extended);
    }
}

TEST_P(PairContribution, InputsNearABoundaryFallBackToTheExtendedFormula) {
  for (const auto* table : {near_ratio_boundary, near_angle_boundary, on_distance_midpoint})
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(proven({table[i], {0, 0, 0}})) << bits(table[i]);
  // Neighbours clear of the boundaries, coincident particles and a vanishing term are proven.
  EXPECT_TRUE(proven({{-0x1.66eb4cp+5f, 0x1.1a00bp+5f, 3.5f}, {0, 0, 0}}));
  EXPECT_TRUE(proven({{1.5f, -2, 3}, {1.5f, -2, 3}}));
  EXPECT_TRUE(proven({{4, -3, 2}, {1, 1, 1}, 1e-45f}));
  EXPECT_FALSE(proven({{nan, 1, 2}, {0, 0, 0}}));
  EXPECT_FALSE(proven({{4, -3, 2}, {1, 1, 1}, 1, 1e10f}));
}

// A coordinate of one of several scales: the cube's, close to a given value, or any magnitude.
float random_coordinate(std::mt19937& random, float near) {
  std::uniform_real_distribution<float> cube(-50, 50), unit(-1, 1);
  std::uniform_int_distribution<int> kind(0, 9), exponent(-149, 127);
  switch (kind(random)) {
    case 0: return near;
    case 1: return near + unit(random) * 1e-3f;
    case 2: return std::ldexp(unit(random), exponent(random));
    case 3: return std::round(cube(random));
    default: return cube(random);
  }
}

// Runs of partners of one particle, in every lane position and of every lane group count up to
// three (groups that run together and a lone one after them), against the extended formula
// partner by partner: each run's force after its last partner.
TEST_P(PairContribution, RandomInputsGiveTheExtendedBits) {
  const std::size_t inputs = sanitized_build ? 50000 : 1000000;
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> run_length(1, static_cast<int>(3 * partner_padding)), gains(-9, 9);
  std::uniform_real_distribution<float> cube(-50, 50), chance(0, 1);
  std::size_t compared = 0, mismatches = 0;
  while (compared < inputs) {
    const Vec3 p{cube(random), cube(random), cube(random)};
    const int gain_step = gains(random);
    const float gain = chance(random) < 0.9f ? (gain_step == 0 ? 1.0f : static_cast<float>(gain_step)) : cube(random);
    const float factor = chance(random) < 0.95f ? deg_to_rad : cube(random) * 1e-3f;
    const Vec3 start{cube(random) * 20, cube(random), 0};
    Partners partners;
    std::vector<Vec3> run;
    for (int q = run_length(random); q > 0; --q) {
      run.push_back({random_coordinate(random, p.x), random_coordinate(random, p.y), random_coordinate(random, p.z)});
      partners.add(run.back());
    }
    Vec3 fast = start, extended = start;
    add_partners_together(&fast, &p, 1, partners.columns(), gain, factor);
    for (const Vec3& q : run) add_pair(extended, p, q, gain, factor);
    compared += run.size();
    if (!same_bits(fast, extended) && ++mismatches <= 5)
      ADD_FAILURE() << "p " << bits(p) << " gain " << gain << " factor " << factor << ": fast " << bits(fast)
                    << ", extended " << bits(extended);
  }
  EXPECT_EQ(mismatches, 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryVectorSet, PairContribution, ::testing::ValuesIn(vector_isas_of_this_machine()),
                         [](const auto& info) { return std::string(vector_isa_name(info.param)); });

}  // namespace
