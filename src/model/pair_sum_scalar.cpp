// The summation for one double lane, for a processor without AVX2.
#include <cstdint>

#include "compute/lanes_scalar.h"
#include "model/pair_sum_lanes.h"
#include "model/pair_sums.h"

namespace pair_sum {
namespace {

struct SumScalar : LanesScalar {
  // Four particles at a time: twelve chains of sums in the sixteen registers.
  static constexpr std::size_t groups_in_flight = 4;
  using Marks = MaskMarks<SumScalar>;
  static void transpose(const float* base, const int* offsets, std::size_t count, float* out) {
    for (std::size_t q = 0; q < count; ++q) out[q] = base[*offsets + q];
  }
  static Mask float_midpoints(Doubles value) {
    std::uint64_t bits;
    __builtin_memcpy(&bits, &value, sizeof bits);
    return (bits & below_float_bits) == float_midpoint_bits;
  }
  static Mask outside_floats(Doubles value) {
    const Doubles magnitude = __builtin_fabs(value);
    return !(magnitude < float_overflow && magnitude >= smallest_normal_float);
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
