#include "model/pair_sums.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "compute/vector_isa.h"
#include "support/vector_isas.h"

namespace {

// One force component and the term added to it: the start, minus the direction term, the
// falloff.
struct TermCase {
  const char* what;
  float force, minus_dir, falloff;
};

// The double sum of the first three lies on a float midpoint that the exact sum misses by less
// than half a double ulp, so its own rounding to float is not the extended formula's; the
// others are plain sums beside them.
const TermCase cases[] = {
    {"midpoint above the exact sum, near 1", 1 + 0x1p-23f, 1 + 0x1p-18f, 0x1p-24f - 0x1p-42f},
    {"midpoint above the exact sum, the overflow threshold", FLT_MAX, 0x1p103f * (1 + 0x1p-18f), 1 - 0x1p-18f},
    // 8390649 x 16773135 = 2^47 + 59287: the exact sum lies 2^-181.1 below the midpoint between
    // FLT_MIN and the float under it, whose low bits are not a normal float's midpoint pattern.
    {"midpoint above the exact sum, below FLT_MIN", FLT_MIN, -8390649 * 0x1p-98f, 16773135 * 0x1p-99f},
    {"exact sum on a midpoint", 1 + 0x1p-23f, 0x1p-24f, 1},
    {"plain sum", 1.5f, 0.3f, 86.16219f},
    {"cancelling to zero", -50, 0.5f, 100},
};
constexpr std::size_t case_count = sizeof cases / sizeof cases[0];

// A kernel that proves, for its only partner, the terms of the case that origin.x numbers.
void kernel_of_cases(const PartnerColumns& partners, const pair_lanes::LaneOrigin& origin, pair_lanes::LaneResults& out) {
  const TermCase& c = cases[static_cast<std::size_t>(origin.x)];
  for (std::size_t q = 0; q < padded_partners(partners.count); ++q) {
    out.minus_dir_x[q] = out.minus_dir_y[q] = out.minus_dir_z[q] = c.minus_dir;
    out.falloff[q] = c.falloff;
  }
  std::fill_n(out.proven, pair_lanes::proven_words, ~std::uint64_t{0});
}

pair_sum::Summation summation_of(VectorIsa isa) { return pair_sum::summations[static_cast<int>(isa)]; }

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(PairSum, EveryLaneGivesTheExtendedSumAlsoWhereTheDoubleSumIsAMidpoint) {
  // The fixture's first cases are the ones that need the extended sum.
  for (std::size_t c = 0; c < 3; ++c)
    ASSERT_FALSE(same_bits(static_cast<float>(double{cases[c].force} + double{cases[c].minus_dir} * cases[c].falloff),
                           add_term(cases[c].force, cases[c].minus_dir, cases[c].falloff)))
        << cases[c].what;

  const std::vector<float> column(partner_padding, 0);
  const PartnerColumns one_partner{column.data(), column.data(), column.data(), 1};
  static pair_lanes::LaneResults results[origins_together];
  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    // Every case in every lane of both groups, fewer particles than lanes, and each case alone,
    // where no other case's mark sends the sums to the checked path.
    for (const std::size_t together : {origins_together, std::size_t{3}, std::size_t{1}}) {
      for (std::size_t shift = 0; shift < case_count; ++shift) {
        Vec3 forces[origins_together], origins[origins_together];
        for (std::size_t i = 0; i < together; ++i) {
          const TermCase& c = cases[(i + shift) % case_count];
          forces[i] = {c.force, c.force, c.force};
          origins[i] = {static_cast<float>((i + shift) % case_count), 0, 0};
        }
        summation_of(isa)(forces, origins, together, one_partner, 1, 0.0174532924f, kernel_of_cases, results);
        for (std::size_t i = 0; i < together; ++i) {
          const TermCase& c = cases[(i + shift) % case_count];
          const float expected = add_term(c.force, c.minus_dir, c.falloff);
          EXPECT_TRUE(same_bits(forces[i].x, expected) && same_bits(forces[i].y, expected) && same_bits(forces[i].z, expected))
              << vector_isa_name(isa) << ", lane " << i << " of " << together << ", " << c.what << ": " << forces[i].x
              << " against " << expected;
        }
      }
    }
  }
}

// The partners of the next test, by their x coordinate: a term that adds a half, one that takes
// it away again (both exact beside the cases' forces), the case's own term of the particle,
// and a partner the kernel leaves unproven.
enum PartnerRole { add_half, take_half, case_term, unproven_partner };

void kernel_of_roles(const PartnerColumns& partners, const pair_lanes::LaneOrigin& origin, pair_lanes::LaneResults& out) {
  const TermCase& c = cases[static_cast<std::size_t>(origin.x)];
  std::fill_n(out.proven, pair_lanes::proven_words, ~std::uint64_t{0});
  for (std::size_t q = 0; q < padded_partners(partners.count); ++q) {
    const PartnerRole role = q < partners.count ? static_cast<PartnerRole>(partners.x[q]) : add_half;
    const float minus_dir = role == add_half ? 0.5f : role == take_half ? -0.5f : role == case_term ? c.minus_dir : NAN;
    out.minus_dir_x[q] = out.minus_dir_y[q] = out.minus_dir_z[q] = minus_dir;
    out.falloff[q] = role == case_term ? c.falloff : 1;
    if (role == unproven_partner) out.proven[q / 64] &= ~(std::uint64_t{1} << (q % 64));
  }
}

TEST(PairSum, AMarkedSumOrAnUnprovenPartnerAnywhereInABlockLeavesEveryLaneExtended) {
  struct Layout {
    std::vector<std::size_t> case_terms, unproven;
  };
  // The sums are checked a few partners at a time and summed again from the same start where a
  // lane is marked: the marked sum first, last and inside such a run, beside an unproven
  // partner, and in a later block.
  const Layout layouts[] = {
      {{0}, {}}, {{3}, {}}, {{37, 70}, {}}, {{63}, {60}}, {{64, 129}, {66, 100}}, {{}, {7}},
  };
  constexpr std::size_t partner_count = 130;
  static pair_lanes::LaneResults results[origins_together];
  for (const Layout& layout : layouts) {
    std::vector<float> roles(padded_partners(partner_count)), y(roles.size(), 2), z(roles.size(), -3);
    for (std::size_t q = 0; q < partner_count; ++q) roles[q] = q % 2 == 0 ? add_half : take_half;
    for (const std::size_t q : layout.case_terms) roles[q] = case_term;
    for (const std::size_t q : layout.unproven) roles[q] = unproven_partner;
    const PartnerColumns partners{roles.data(), y.data(), z.data(), partner_count};
    for (const VectorIsa isa : vector_isas_of_this_machine()) {
      for (const std::size_t together : {origins_together, std::size_t{5}}) {
        Vec3 forces[origins_together], origins[origins_together];
        for (std::size_t i = 0; i < together; ++i) {
          const float force = cases[i % case_count].force;
          forces[i] = {force, force, force};
          origins[i] = {static_cast<float>(i % case_count), 0, 0};
        }
        summation_of(isa)(forces, origins, together, partners, -1, 0.0174532924f, kernel_of_roles, results);
        for (std::size_t i = 0; i < together; ++i) {
          const TermCase& c = cases[i % case_count];
          Vec3 expected{c.force, c.force, c.force};
          for (std::size_t q = 0; q < partner_count; ++q) {
            const PartnerRole role = static_cast<PartnerRole>(roles[q]);
            if (role == unproven_partner) {
              add_pair(expected, origins[i], Vec3{roles[q], y[q], z[q]}, -1, 0.0174532924f);
              continue;
            }
            const float minus_dir = role == add_half ? 0.5f : role == take_half ? -0.5f : c.minus_dir;
            const float falloff = role == case_term ? c.falloff : 1;
            expected = {add_term(expected.x, minus_dir, falloff), add_term(expected.y, minus_dir, falloff),
                        add_term(expected.z, minus_dir, falloff)};
          }
          EXPECT_TRUE(same_bits(forces[i].x, expected.x) && same_bits(forces[i].y, expected.y) &&
                      same_bits(forces[i].z, expected.z))
              << vector_isa_name(isa) << ", lane " << i << " of " << together << ", " << c.what << ", first case term at "
              << (layout.case_terms.empty() ? 0 : layout.case_terms[0]) << ": " << forces[i].x << " against " << expected.x;
        }
      }
    }
  }
}

// Two partners: the first takes FLT_MAX past the midpoint above it, to infinity, the second
// would bring a finite sum back to FLT_MAX.
void kernel_past_the_floats(const PartnerColumns& partners, const pair_lanes::LaneOrigin&, pair_lanes::LaneResults& out) {
  for (std::size_t q = 0; q < padded_partners(partners.count); ++q) {
    out.minus_dir_x[q] = out.minus_dir_y[q] = out.minus_dir_z[q] = q == 0 ? 0x1.8p103f : -0x1p104f;
    out.falloff[q] = 1;
  }
  std::fill_n(out.proven, pair_lanes::proven_words, ~std::uint64_t{0});
}

TEST(PairSum, ASumPastTheLargestFloatStaysInfinite) {
  const std::vector<float> column(partner_padding, 0);
  const PartnerColumns two_partners{column.data(), column.data(), column.data(), 2};
  static pair_lanes::LaneResults results[origins_together];
  const float expected = add_term(add_term(FLT_MAX, 0x1.8p103f, 1), -0x1p104f, 1);
  ASSERT_TRUE(std::isinf(expected));
  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    Vec3 forces[origins_together], origins[origins_together] = {};
    for (Vec3& force : forces) force = {FLT_MAX, FLT_MAX, FLT_MAX};
    summation_of(isa)(forces, origins, origins_together, two_partners, 1, 0.0174532924f, kernel_past_the_floats, results);
    for (std::size_t i = 0; i < origins_together; ++i)
      EXPECT_TRUE(same_bits(forces[i].x, expected) && same_bits(forces[i].y, expected) && same_bits(forces[i].z, expected))
          << vector_isa_name(isa) << ", lane " << i << ": " << forces[i].x;
  }
}

}  // namespace
