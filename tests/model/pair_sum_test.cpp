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

// The double sum of the first two lies on a float midpoint that the exact sum misses by less
// than half a double ulp, so its own rounding to float is not the extended formula's; the
// others are plain sums beside them.
const TermCase cases[] = {
    {"midpoint above the exact sum, near 1", 1 + 0x1p-23f, 1 + 0x1p-18f, 0x1p-24f - 0x1p-42f},
    {"midpoint above the exact sum, the overflow threshold", FLT_MAX, 0x1p103f * (1 + 0x1p-18f), 1 - 0x1p-18f},
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

pair_sum::Summation summation_of(VectorIsa isa) {
  switch (isa) {
    case VectorIsa::avx512: return pair_sum::add_partners_avx512;
    case VectorIsa::avx2: return pair_sum::add_partners_avx2;
    default: return pair_sum::add_partners_scalar;
  }
}

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(PairSum, EveryLaneGivesTheExtendedSumAlsoWhereTheDoubleSumIsAMidpoint) {
  // The fixture's first cases are the ones that need the extended sum.
  for (std::size_t c = 0; c < 2; ++c)
    ASSERT_FALSE(same_bits(static_cast<float>(double{cases[c].force} + double{cases[c].minus_dir} * cases[c].falloff),
                           add_term(cases[c].force, cases[c].minus_dir, cases[c].falloff)))
        << cases[c].what;

  const std::vector<float> column(partner_padding, 0);
  const PartnerColumns one_partner{column.data(), column.data(), column.data(), 1};
  static pair_lanes::LaneResults results[origins_together];
  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    // Every case in every lane of both groups, and fewer particles than lanes.
    for (const std::size_t together : {origins_together, std::size_t{3}}) {
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

}  // namespace
