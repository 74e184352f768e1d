#include "model/pair_batch.h"

#include "compute/vector_isa.h"
#include "model/pair_kernels.h"
#include "model/pair_sums.h"

namespace {

// The set without lanes proves nothing: every contribution by the extended formula.
std::size_t add_partners_extended(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                                  float gain, float deg_to_rad, pair_lanes::Kernel,
                                  pair_lanes::LaneResults (&)[origins_together]) {
  for (std::size_t q = 0; q < partners.count; ++q)
    for (std::size_t i = 0; i < together; ++i)
      add_pair(forces[i], origins[i], Vec3{partners.x[q], partners.y[q], partners.z[q]}, gain, deg_to_rad);
  return partners.count * together;
}

constexpr pair_lanes::Kernel kernels[vector_isa_count] = {
    nullptr,
    pair_lanes::kernel_scalar,
    pair_lanes::kernel_avx2,
    pair_lanes::kernel_avx512,
};

constexpr pair_sum::Summation summations[vector_isa_count] = {
    add_partners_extended,
    pair_sum::add_partners_scalar,
    pair_sum::add_partners_avx2,
    pair_sum::add_partners_avx512,
};

}  // namespace

std::size_t add_partners_together(Vec3* forces, const Vec3* origins, std::size_t together,
                                  const PartnerColumns& partners, float gain, float deg_to_rad) {
  // The kernel's terms of every particle for one block of partners; too large for a stack.
  thread_local pair_lanes::LaneResults results[origins_together];
  return kernel_for_isa(summations)(forces, origins, together, partners, gain, deg_to_rad, kernel_for_isa(kernels),
                                    results);
}
