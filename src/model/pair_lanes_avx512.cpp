// The pair kernel for eight double lanes on AVX-512.
#include "compute/lanes_avx512.h"
#include "model/pair_lanes.h"

namespace pair_lanes {

void kernel_avx512(const PartnerColumns& partners, const LaneOrigin& origin, LaneResults& out) {
  kernel<LanesAvx512>(partners, origin, out);
}

}  // namespace pair_lanes
