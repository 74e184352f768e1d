#pragma once
// The summations of each instruction set (pair_sum_lanes.h holds their proof): the kernel of the
// same set, then the forces of several particles summed side by side in double lanes.
#include <cstddef>

#include "compute/vector_isa.h"
#include "model/pair_contribution.h"
#include "model/pair_kernels.h"
#include "model/partner_columns.h"

// The most particles whose forces one call sums side by side, one double lane each: two groups
// of AVX-512's eight lanes, which hide the latency of each rounded sum.
constexpr std::size_t origins_together = 16;

namespace pair_sum {

// Adds the partners' contributions to forces[i] for origins[i], i below `together`, with the
// terms of `kernel` (a kernel of the same set), which it writes into results, one per particle.
// Returns how many contributions were handed to add_pair. Only a set the processor has may be
// called.
using Summation = std::size_t (*)(Vec3* forces, const Vec3* origins, std::size_t together,
                                  const PartnerColumns& partners, float gain, float deg_to_rad,
                                  pair_lanes::Kernel kernel, pair_lanes::LaneResults (&results)[origins_together]);
std::size_t add_partners_scalar(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                                float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                                pair_lanes::LaneResults (&results)[origins_together]);
std::size_t add_partners_avx2(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                              float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                                pair_lanes::LaneResults (&results)[origins_together]);
std::size_t add_partners_avx512(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                                float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                                pair_lanes::LaneResults (&results)[origins_together]);
// The set without lanes proves nothing: every contribution by add_pair, the kernel and the
// results unused.
std::size_t add_partners_extended(Vec3* forces, const Vec3* origins, std::size_t together,
                                  const PartnerColumns& partners, float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                                  pair_lanes::LaneResults (&results)[origins_together]);

// Each set's summation by VectorIsa (kernel_for_isa), beside pair_lanes::kernels.
inline constexpr Summation summations[vector_isa_count] = {add_partners_extended, add_partners_scalar,
                                                           add_partners_avx2, add_partners_avx512};

}  // namespace pair_sum
