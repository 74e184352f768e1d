// The pair kernel for one double lane, on processors without AVX2.
#include "compute/lanes_scalar.h"
#include "model/pair_lanes.h"

namespace pair_lanes {

void kernel_scalar(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out) {
  kernel<LanesScalar>(partners, origin, out);
}

}  // namespace pair_lanes
