#include "view/projection_batch.h"

#include <algorithm>

#include "compute/vector_isa.h"
#include "context/program.h"
#include "runtime/numbers.h"
#include "view/projection_constants.h"
#include "view/projection_kernels.h"

namespace {

// The set without lanes proves no point.
void kernel_none(const PointBatch& points, const projection_lanes::LaneView&, projection_lanes::LaneResults& out) {
  std::fill_n(out.proven, points.count, false);
}

constexpr projection_lanes::Kernel kernels[vector_isa_count] = {
    kernel_none,
    projection_lanes::kernel_scalar,
    projection_lanes::kernel_avx2,
    projection_lanes::kernel_avx512,
};

// The lanes of the set in force; none proven when the scale centre_size / 50 is not exact in
// double, which the lanes take it to be.
void project_in_lanes(const PointBatch& points, projection_lanes::LaneResults& lanes) {
  auto& g = program();
  const extended scale = static_cast<extended>(g.centre_size) / centre_size_divisor;
  if (scale != static_cast<extended>(static_cast<double>(scale))) return kernel_none(points, {}, lanes);
  const projection_lanes::LaneView view{g.rot_angle_c, g.rot_angle_a, g.deg_to_rad, g.depth_offset,
                                        static_cast<double>(scale)};
  kernel_for_isa(kernels)(points, view, lanes);
}

}  // namespace

int project_batch(const PointBatch& points, Projection* projections) {
  projection_lanes::LaneResults lanes;
  project_in_lanes(points, lanes);
  int handed_over = 0;
  for (int i = 0; i < points.count; ++i) {
    if (!lanes.proven[i]) {
      projections[i] = extended_projection(points.x[i], points.y[i], points.z[i]);
      ++handed_over;
      continue;
    }
    Projection& p = projections[i];
    p.turned_x = lanes.turned_x[i];
    p.turned_y = lanes.turned_y[i];
    p.turned_z = lanes.turned_z[i];
    p.screen_x = lanes.screen_x[i];
    p.screen_y = lanes.screen_y[i];
    p.tan_ratio = lanes.tan_ratio[i];
    p.new_x = lanes.new_x[i];
    p.polar_r = lanes.polar_r[i];
    p.clips = outside_clip_box(p.turned_x, p.turned_y, p.turned_z);
  }
  return handed_over;
}
