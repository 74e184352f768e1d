#include "model/pair_batch.h"

#include "compute/vector_isa.h"
#include "model/pair_kernels.h"
#include "model/pair_sums.h"

std::size_t add_partners_together(Vec3* forces, const Vec3* origins, std::size_t together,
                                  const PartnerColumns& partners, float gain, float deg_to_rad) {
  // The kernel's terms of every particle for one block of partners; too large for a stack.
  thread_local pair_lanes::LaneResults results[origins_together];
  return kernel_for_isa(pair_sum::summations)(forces, origins, together, partners, gain, deg_to_rad,
                                              kernel_for_isa(pair_lanes::kernels), results);
}
