// The summation for one double lane, for a processor without AVX2.
#include <cstdint>

#include "compute/lanes_scalar.h"
#include "model/pair_sum_lanes.h"
#include "model/pair_sums.h"

namespace pair_sum {
namespace {

struct SumScalar : LanesScalar {
  static void transpose(const float* base, const int* offsets, std::size_t count, float* out) {
    for (std::size_t q = 0; q < count; ++q) out[q] = base[*offsets + q];
  }
  static Mask float_midpoints(Doubles value) {
    std::uint64_t bits;
    __builtin_memcpy(&bits, &value, sizeof bits);
    return (bits & 0x1FFFFFFF) == 0x10000000;
  }
  static Mask outside_floats(Doubles value) {
    const Doubles magnitude = __builtin_fabs(value);
    return !(magnitude < 0x1p128 && magnitude >= 0x1p-126);
  }
};

}  // namespace

std::size_t add_partners_scalar(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                                float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                                pair_lanes::LaneResults (&results)[origins_together]) {
  return add_partners<SumScalar>(forces, origins, together, partners, gain, deg_to_rad, kernel,
                                 results);
}

}  // namespace pair_sum
