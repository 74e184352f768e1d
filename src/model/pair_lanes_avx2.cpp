// The pair kernel for four double lanes on AVX2.
#include "compute/lanes_avx2.h"
#include "model/pair_lanes.h"

namespace pair_lanes {

void kernel_avx2(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out) {
  kernel<LanesAvx2>(partners, origin, out);
}

}  // namespace pair_lanes
