#pragma once
// The projection kernels of each instruction set (projection_lanes.h holds their formula).
#include "view/projection_batch.h"

namespace projection_lanes {

// The view constants of one batch, widened to double: all floats, and the scale
// centre_size / 50, which the caller checked to be exact in double.
struct LaneView {
  double angle_c, angle_a, deg_to_rad, depth_offset, scale;
};

// The values each lane stores to float, point by point.
struct LaneResults {
  float turned_x[projection_batch_size], turned_y[projection_batch_size], turned_z[projection_batch_size];
  float screen_x[projection_batch_size], screen_y[projection_batch_size];
  float tan_ratio[projection_batch_size], new_x[projection_batch_size], polar_r[projection_batch_size];
};

// Each projects every point of the batch; bit i of the result is set when point i is proven
// to come out as the extended formula gives it. Only the set in force may be called.
using Kernel = unsigned (*)(const PointBatch& points, const LaneView& view, LaneResults& out);
unsigned project_batch_scalar(const PointBatch& points, const LaneView& view, LaneResults& out);
unsigned project_batch_avx2(const PointBatch& points, const LaneView& view, LaneResults& out);
unsigned project_batch_avx512(const PointBatch& points, const LaneView& view, LaneResults& out);

}  // namespace projection_lanes
