// The projection kernel for eight double lanes on AVX-512.
#include "compute/lanes_avx512.h"
#include "view/projection_lanes.h"

namespace projection_lanes {

unsigned project_batch_avx512(const PointBatch& points, const LaneView& view, LaneResults& out) {
  return project_batch_lanes<LanesAvx512>(points, view, out);
}

}  // namespace projection_lanes
