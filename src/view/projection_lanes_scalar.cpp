// The projection kernel for one double lane, on processors without AVX2.
#include "compute/lanes_scalar.h"
#include "view/projection_lanes.h"

namespace projection_lanes {

void kernel_scalar(const PointBatch& points, const LaneView& view, LaneResults& out) {
  kernel<LanesScalar>(points, view, out);
}

}  // namespace projection_lanes
