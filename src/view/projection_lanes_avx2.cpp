// The projection kernel for four double lanes on AVX2.
#include "compute/lanes_avx2.h"
#include "view/projection_lanes.h"

namespace projection_lanes {

void kernel_avx2(const PointBatch& points, const LaneView& view, LaneResults& out) {
  kernel<LanesAvx2>(points, view, out);
}

}  // namespace projection_lanes
