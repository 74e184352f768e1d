// The projection kernel for one double lane, on processors without AVX2.
#include "compute/lanes_scalar.h"
#include "view/projection_lanes.h"

namespace projection_lanes {

unsigned project_batch_scalar(const PointBatch& points, const LaneView& view, LaneResults& out) {
  return project_batch_lanes<LanesScalar>(points, view, out);
}

}  // namespace projection_lanes
