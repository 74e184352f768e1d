#pragma once
// The pair kernels of each instruction set (pair_lanes.h holds their formula): for one particle
// and the partners of one target kind, each partner's direction terms and falloff.
#include <cstddef>
#include <cstdint>

#include "compute/vector_isa.h"
#include "model/partner_columns.h"

namespace pair_lanes {

constexpr std::size_t proven_words = (max_partners + 63) / 64;

// The particle whose force is summed, the rule entry's gain and the degree-to-radian factor.
struct LaneOrigin {
  float x, y, z;
  float gain;
  float deg_to_rad;
};

// Per partner: -dir_x, -dir_y, -dir_z and the capped falloff, and whether the lane proved them,
// bit q % 64 of proven[q / 64] for partner q. A partner that is not proven must be computed by
// the extended formula.
struct LaneResults {
  float minus_dir_x[max_partners], minus_dir_y[max_partners], minus_dir_z[max_partners];
  float falloff[max_partners];
  std::uint64_t proven[proven_words];
  bool is_proven(std::size_t q) const { return (proven[q / 64] >> (q % 64)) & 1; }
};

// Each computes every partner of the columns. Only the set in force may be called.
using Kernel = void (*)(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out);
void kernel_scalar(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out);
void kernel_avx2(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out);
void kernel_avx512(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out);

// Each set's kernel by VectorIsa (kernel_for_isa); `none` has no lanes.
inline constexpr Kernel kernels[vector_isa_count] = {nullptr, kernel_scalar, kernel_avx2, kernel_avx512};

}  // namespace pair_lanes
