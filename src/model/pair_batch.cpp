#include "model/pair_batch.h"

#include <algorithm>

#include "compute/vector_isa.h"
#include "model/pair_kernels.h"
#include "runtime/numbers.h"

namespace {

// The set without lanes proves no partner.
void kernel_none(const PartnerColumns&, const pair_lanes::LaneOrigin&, pair_lanes::LaneResults& out) {
  std::fill_n(out.proven, pair_lanes::proven_words, 0);
}

constexpr pair_lanes::Kernel kernels[vector_isa_count] = {
    kernel_none,
    pair_lanes::kernel_scalar,
    pair_lanes::kernel_avx2,
    pair_lanes::kernel_avx512,
};

}  // namespace

std::size_t add_partners_together(Vec3* forces, const Vec3* origins, std::size_t together,
                                  const PartnerColumns& partners, float gain, float deg_to_rad) {
  const pair_lanes::Kernel kernel = kernel_for_isa(kernels);
  pair_lanes::LaneResults lanes[origins_together];
  for (std::size_t i = 0; i < together; ++i)
    kernel(partners, pair_lanes::LaneOrigin{origins[i].x, origins[i].y, origins[i].z, gain, deg_to_rad}, lanes[i]);
  std::size_t handed_over = 0;
  for (std::size_t q = 0; q < partners.count; ++q)
    for (std::size_t i = 0; i < together; ++i) {
      const pair_lanes::LaneResults& t = lanes[i];
      Vec3& force = forces[i];
      if (t.is_proven(q)) {
        force.x = single(static_cast<extended>(force.x) + static_cast<extended>(t.minus_dir_x[q]) * t.falloff[q]);
        force.y = single(static_cast<extended>(force.y) + static_cast<extended>(t.minus_dir_y[q]) * t.falloff[q]);
        force.z = single(static_cast<extended>(force.z) + static_cast<extended>(t.minus_dir_z[q]) * t.falloff[q]);
      } else {
        add_pair(force, origins[i], Vec3{partners.x[q], partners.y[q], partners.z[q]}, gain, deg_to_rad);
        ++handed_over;
      }
    }
  return handed_over;
}
