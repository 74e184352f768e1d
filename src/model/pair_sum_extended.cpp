// The summation of the set without lanes: the extended formula for every partner.
#include "model/pair_sums.h"

namespace pair_sum {

std::size_t add_partners_extended(Vec3* forces, const Vec3* origins, std::size_t together,
                                  const PartnerColumns& partners, float gain, float deg_to_rad, pair_lanes::Kernel,
                                  pair_lanes::LaneResults (&)[origins_together]) {
  for (std::size_t q = 0; q < partners.count; ++q)
    for (std::size_t i = 0; i < together; ++i)
      add_pair(forces[i], origins[i], Vec3{partners.x[q], partners.y[q], partners.z[q]}, gain, deg_to_rad);
  return partners.count * together;
}

}  // namespace pair_sum
