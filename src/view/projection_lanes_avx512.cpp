// The projection kernel for eight double lanes on AVX-512.
#include "compute/lanes_avx512.h"
#include "view/projection_lanes.h"

namespace projection_lanes {

void kernel_avx512(const PointBatch& points, const LaneView& view, LaneResults& out) {
  kernel<LanesAvx512>(points, view, out);
}

}  // namespace projection_lanes
