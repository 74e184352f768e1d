#include "view/shapes.h"

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/failures.h"
#include "runtime/numbers.h"
#include "runtime/screen.h"
#include "view/projection_batch.h"

namespace {

// A corner of the cube: false for the low coordinate on that axis, true for the high one.
struct Corner {
  bool x, y, z;
};
struct CubeEdge {
  Corner a, b;
};

constexpr bool L = false, H = true;

// The corners' place in a cube's batch of projections.
constexpr int corner_index(Corner corner) { return (corner.x ? 4 : 0) | (corner.y ? 2 : 0) | (corner.z ? 1 : 0); }

// The twelve edges in drawing order, each from its end A to its end B.
constexpr CubeEdge cube_edges[12] = {
    {{L, L, L}, {H, L, L}}, {{H, H, L}, {H, L, L}}, {{H, H, L}, {L, H, L}}, {{L, L, L}, {L, H, L}},
    {{L, L, H}, {H, L, H}}, {{H, H, H}, {H, L, H}}, {{H, H, H}, {L, H, H}}, {{L, L, H}, {L, H, H}},
    {{L, L, L}, {L, L, H}}, {{H, L, L}, {H, L, H}}, {{L, H, L}, {L, H, H}}, {{H, H, L}, {H, H, H}},
};

void set_segment(float ax, float ay, float az, float bx, float by, float bz) {
  auto& g = program();
  g.seg_ax = ax;
  g.seg_ay = ay;
  g.seg_az = az;
  g.seg_bx = bx;
  g.seg_by = by;
  g.seg_bz = bz;
}

// The points of one shape element, projected together; the drawing then takes them one by one.
struct ProjectedPoints {
  PointBatch points;
  Projection projections[projection_batch_size];

  void add(float x, float y, float z) {
    points.x[points.count] = x;
    points.y[points.count] = y;
    points.z[points.count] = z;
    ++points.count;
  }
  void project() { project_batch(points, projections); }
  // The projection of point i as the drawing reaches it, with its mouse event.
  void take(int i) const { take_projection(projections[i]); }
};

float page_x(float screen_value) {
  auto& g = program();
  return single(g.center_x + extended{screen_value} * g.graphics_scale);
}

float page_y(float screen_value) {
  auto& g = program();
  return single(g.center_y + extended{screen_value} * g.graphics_scale);
}

// Draws the segment between two projections taken in order A, B: each takes its mouse event
// whether or not the other end clipped.
void draw_projected_segment(const ProjectedPoints& ends, int a, int b) {
  auto& g = program();
  ends.take(a);
  g.scr_ax = g.screen_x;
  g.scr_ay = g.screen_y;
  ends.take(b);
  g.scr_bx = g.screen_x;
  g.scr_by = g.screen_y;
  if (g.clipped == 0) {
    draw_line(page_x(g.scr_ax), page_y(g.scr_ay), page_x(g.scr_bx), page_y(g.scr_by), integer_argument(g.line_color));
    end_step();
  }
  g.clipped = 0;
}

// One end of a centroid link: the centre of a kind, a step for each coordinate.
void take_centre(float kind, float& x, float& y, float& z) {
  auto& g = program();
  x = g.color_center(kind, 0);
  end_step();
  y = g.color_center(kind, 1);
  end_step();
  z = g.color_center(kind, 2);
  end_step();
}

}  // namespace

void plot_point() {
  auto& g = program();
  ProjectedPoints point;
  point.add(g.obj_x, g.obj_y, g.obj_z);
  point.project();
  point.take(0);
  if (g.clipped == 0) {
    set_pixel(page_x(g.screen_x), page_y(g.screen_y), integer_argument(g.line_color));
    end_step();
  }
  g.clipped = 0;
}

void draw_segment() {
  auto& g = program();
  ProjectedPoints ends;
  ends.add(g.seg_ax, g.seg_ay, g.seg_az);
  ends.add(g.seg_bx, g.seg_by, g.seg_bz);
  ends.project();
  draw_projected_segment(ends, 0, 1);
}

void draw_cross() {
  auto& g = program();
  g.half_size = single(extended{g.obj_size} / 2);
  const float x_high = single(extended{g.obj_x} + g.half_size);
  const float x_low = single(extended{g.obj_x} - g.half_size);
  const float y_high = single(extended{g.obj_y} + g.half_size);
  const float y_low = single(extended{g.obj_y} - g.half_size);
  const float z_high = single(extended{g.obj_z} + g.half_size);
  const float z_low = single(extended{g.obj_z} - g.half_size);

  ProjectedPoints ends;
  ends.add(x_high, g.obj_y, g.obj_z);
  ends.add(x_low, g.obj_y, g.obj_z);
  ends.add(g.obj_x, y_high, g.obj_z);
  ends.add(g.obj_x, y_low, g.obj_z);
  ends.add(g.obj_x, g.obj_y, z_high);
  ends.add(g.obj_x, g.obj_y, z_low);
  ends.project();
  for (int stroke = 0; stroke < 3; ++stroke) {
    const int a = 2 * stroke, b = a + 1;
    set_segment(ends.points.x[a], ends.points.y[a], ends.points.z[a], ends.points.x[b], ends.points.y[b],
                ends.points.z[b]);
    draw_projected_segment(ends, a, b);
  }
}

// Each of the 24 edge ends is one of the 8 corners, and equal points project alike: the
// corners are projected once, and every edge end still takes its own mouse event.
void draw_cube() {
  auto& g = program();
  g.half_size = single(extended{g.obj_size} / 2);
  const float low[3] = {single(extended{g.obj_x} - g.half_size),
                        single(extended{g.obj_y} - g.half_size),
                        single(extended{g.obj_z} - g.half_size)};
  const float high[3] = {single(extended{g.obj_x} + g.half_size),
                         single(extended{g.obj_y} + g.half_size),
                         single(extended{g.obj_z} + g.half_size)};
  ProjectedPoints corners;
  for (int index = 0; index < 8; ++index)
    corners.add(index & 4 ? high[0] : low[0], index & 2 ? high[1] : low[1], index & 1 ? high[2] : low[2]);
  corners.project();
  for (const CubeEdge& edge : cube_edges) {
    const int a = corner_index(edge.a), b = corner_index(edge.b);
    set_segment(corners.points.x[a], corners.points.y[a], corners.points.z[a], corners.points.x[b], corners.points.y[b],
                corners.points.z[b]);
    draw_projected_segment(corners, a, b);
  }
}

void draw_centroid_links() {
  auto& g = program();
  g.line_color = colour_yellow;
  const float kind_limit = last_kind();
  for (g.loop_a = 0; g.loop_a <= kind_limit; g.loop_a = next_count(g.loop_a)) {
    for (g.loop_j = g.loop_a; g.loop_j <= kind_limit; g.loop_j = next_count(g.loop_j)) {
      take_centre(g.loop_a, g.seg_ax, g.seg_ay, g.seg_az);
      take_centre(g.loop_j, g.seg_bx, g.seg_by, g.seg_bz);
      draw_segment();
    }
  }
}
