#include "view/projection_batch.h"

#include "compute/vector_isa.h"
#include "context/program.h"
#include "runtime/numbers.h"
#include "view/projection_kernels.h"

namespace {

// The set without lanes proves no point.
unsigned project_batch_none(const PointBatch&, const projection_lanes::LaneView&, projection_lanes::LaneResults&) {
  return 0;
}

constexpr projection_lanes::Kernel kernels[vector_isa_count] = {
    project_batch_none,
    projection_lanes::project_batch_scalar,
    projection_lanes::project_batch_avx2,
    projection_lanes::project_batch_avx512,
};

// The lanes proven to give the extended formula's floats; none when the scale centre_size / 50
// is not exact in double, which the lanes take it to be.
unsigned project_in_lanes(const PointBatch& points, projection_lanes::LaneResults& lanes) {
  auto& g = program();
  const extended scale = static_cast<extended>(g.centre_size) / 50;
  if (scale != static_cast<extended>(static_cast<double>(scale))) return 0;
  const projection_lanes::LaneView view{g.rot_angle_c, g.rot_angle_a, g.deg_to_rad, g.depth_offset,
                                        static_cast<double>(scale)};
  const unsigned in_batch = (1u << points.count) - 1;
  return kernel_for_isa(kernels)(points, view, lanes) & in_batch;
}

}  // namespace

int project_batch(const PointBatch& points, Projection* projections) {
  projection_lanes::LaneResults lanes;
  const unsigned proven = project_in_lanes(points, lanes);
  int handed_over = 0;
  for (int i = 0; i < points.count; ++i) {
    if ((proven >> i & 1) == 0) {
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
