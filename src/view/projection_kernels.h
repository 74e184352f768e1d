#pragma once
// The projection kernels of each instruction set (projection_lanes.h holds their formula): for
// the points of one batch, everything project_point leaves.
#include "view/point_batch.h"

namespace projection_lanes {

// The view constants of one batch, widened to double: all floats, and the scale
// centre_size / centre_size_divisor, which the caller checked to be exact in double.
struct LaneView {
  double angle_c, angle_a, deg_to_rad, depth_offset, scale;
};

// Per point: the values the extended formula stores to float, and whether the lane proved them.
// A point that is not proven must be computed by the extended formula.
struct LaneResults {
  float turned_x[projection_batch_size], turned_y[projection_batch_size], turned_z[projection_batch_size];
  float screen_x[projection_batch_size], screen_y[projection_batch_size];
  float tan_ratio[projection_batch_size], new_x[projection_batch_size], polar_r[projection_batch_size];
  bool proven[projection_batch_size];
};

// Each computes every point of the batch. Only the set in force may be called.
using Kernel = void (*)(const PointBatch& points, const LaneView& view, LaneResults& out);
void kernel_scalar(const PointBatch& points, const LaneView& view, LaneResults& out);
void kernel_avx2(const PointBatch& points, const LaneView& view, LaneResults& out);
void kernel_avx512(const PointBatch& points, const LaneView& view, LaneResults& out);

}  // namespace projection_lanes
