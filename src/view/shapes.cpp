#include "view/shapes.h"

#include "app/program.h"
#include "runtime/failures.h"
#include "runtime/numbers.h"
#include "runtime/screen.h"
#include "view/projection.h"

namespace {

// A corner of the cube: false for the low coordinate on that axis, true for the high one.
struct Corner {
  bool x, y, z;
};
struct CubeEdge {
  Corner a, b;
};

constexpr bool L = false, H = true;

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

// Projects one point: every call takes its mouse event, so nothing is cached.
void project(float x, float y, float z) {
  auto& g = program();
  g.proj_x = x;
  g.proj_y = y;
  g.proj_z = z;
  project_point();
}

float page_x(float screen_value) {
  auto& g = program();
  return single(g.center_x + static_cast<extended>(screen_value) * g.graphics_scale);
}

float page_y(float screen_value) {
  auto& g = program();
  return single(g.center_y + static_cast<extended>(screen_value) * g.graphics_scale);
}

}  // namespace

void plot_point() {
  auto& g = program();
  project(g.obj_x, g.obj_y, g.obj_z);
  if (g.clipped == 0) {
    set_pixel(page_x(g.screen_x), page_y(g.screen_y), integer_argument(g.line_color));
    end_step();
  }
  g.clipped = 0;
}

void draw_segment() {
  auto& g = program();
  project(g.seg_ax, g.seg_ay, g.seg_az);
  g.scr_ax = g.screen_x;
  g.scr_ay = g.screen_y;
  // End B is projected even when end A clipped: every end takes its mouse event.
  project(g.seg_bx, g.seg_by, g.seg_bz);
  g.scr_bx = g.screen_x;
  g.scr_by = g.screen_y;
  if (g.clipped == 0) {
    draw_line(page_x(g.scr_ax), page_y(g.scr_ay), page_x(g.scr_bx), page_y(g.scr_by), integer_argument(g.line_color));
    end_step();
  }
  g.clipped = 0;
}

void draw_cross() {
  auto& g = program();
  g.half_size = single(static_cast<extended>(g.obj_size) / 2);
  const float x_high = single(static_cast<extended>(g.obj_x) + g.half_size);
  const float x_low = single(static_cast<extended>(g.obj_x) - g.half_size);
  const float y_high = single(static_cast<extended>(g.obj_y) + g.half_size);
  const float y_low = single(static_cast<extended>(g.obj_y) - g.half_size);
  const float z_high = single(static_cast<extended>(g.obj_z) + g.half_size);
  const float z_low = single(static_cast<extended>(g.obj_z) - g.half_size);

  set_segment(x_high, g.obj_y, g.obj_z, x_low, g.obj_y, g.obj_z);
  draw_segment();
  set_segment(g.obj_x, y_high, g.obj_z, g.obj_x, y_low, g.obj_z);
  draw_segment();
  set_segment(g.obj_x, g.obj_y, z_high, g.obj_x, g.obj_y, z_low);
  draw_segment();
}

void draw_cube() {
  auto& g = program();
  g.half_size = single(static_cast<extended>(g.obj_size) / 2);
  const float low[3] = {single(static_cast<extended>(g.obj_x) - g.half_size),
                        single(static_cast<extended>(g.obj_y) - g.half_size),
                        single(static_cast<extended>(g.obj_z) - g.half_size)};
  const float high[3] = {single(static_cast<extended>(g.obj_x) + g.half_size),
                         single(static_cast<extended>(g.obj_y) + g.half_size),
                         single(static_cast<extended>(g.obj_z) + g.half_size)};
  for (const CubeEdge& edge : cube_edges) {
    set_segment(edge.a.x ? high[0] : low[0], edge.a.y ? high[1] : low[1], edge.a.z ? high[2] : low[2],
                edge.b.x ? high[0] : low[0], edge.b.y ? high[1] : low[1], edge.b.z ? high[2] : low[2]);
    draw_segment();
  }
}

void draw_centroid_links() {
  auto& g = program();
  g.line_color = 14;
  const float last_kind = single(static_cast<extended>(n_kinds()) - 1);
  for (g.loop_a = 0; g.loop_a <= last_kind; g.loop_a = single(static_cast<extended>(g.loop_a) + 1)) {
    for (g.loop_j = g.loop_a; g.loop_j <= last_kind; g.loop_j = single(static_cast<extended>(g.loop_j) + 1)) {
      g.seg_ax = g.color_center(g.loop_a, 0);
      end_step();
      g.seg_ay = g.color_center(g.loop_a, 1);
      end_step();
      g.seg_az = g.color_center(g.loop_a, 2);
      end_step();
      g.seg_bx = g.color_center(g.loop_j, 0);
      end_step();
      g.seg_by = g.color_center(g.loop_j, 1);
      end_step();
      g.seg_bz = g.color_center(g.loop_j, 2);
      end_step();
      draw_segment();
    }
  }
}
