#include "view/shapes.h"

#include <array>

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

// A segment of a shape by the places of its ends A and B in the shape's batch of projections.
struct SegmentEnds {
  int a, b;
};

// The twelve edges in drawing order, each from its end A to its end B.
constexpr CubeEdge cube_edges[12] = {
    {{L, L, L}, {H, L, L}}, {{H, H, L}, {H, L, L}}, {{H, H, L}, {L, H, L}}, {{L, L, L}, {L, H, L}},
    {{L, L, H}, {H, L, H}}, {{H, H, H}, {H, L, H}}, {{H, H, H}, {L, H, H}}, {{L, L, H}, {L, H, H}},
    {{L, L, L}, {L, L, H}}, {{H, L, L}, {H, L, H}}, {{L, H, L}, {L, H, H}}, {{H, H, L}, {H, H, H}},
};

constexpr std::array<SegmentEnds, 12> cube_segments = [] {
  std::array<SegmentEnds, 12> segments{};
  for (int i = 0; i < 12; ++i) segments[i] = {corner_index(cube_edges[i].a), corner_index(cube_edges[i].b)};
  return segments;
}();

// The strokes of a cross along x, y and z, each from its high end to its low end.
constexpr std::array<SegmentEnds, 3> cross_segments = {{{0, 1}, {2, 3}, {4, 5}}};

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

// The ends of the cross's strokes around (x, y, z), in the order of cross_segments.
ProjectedPoints cross_ends(float x, float y, float z, float half_size) {
  const float x_high = single(extended{x} + half_size);
  const float x_low = single(extended{x} - half_size);
  const float y_high = single(extended{y} + half_size);
  const float y_low = single(extended{y} - half_size);
  const float z_high = single(extended{z} + half_size);
  const float z_low = single(extended{z} - half_size);
  ProjectedPoints ends;
  ends.add(x_high, y, z);
  ends.add(x_low, y, z);
  ends.add(x, y_high, z);
  ends.add(x, y_low, z);
  ends.add(x, y, z_high);
  ends.add(x, y, z_low);
  ends.project();
  return ends;
}

// The corners of the cube around (x, y, z), at corner_index places.
ProjectedPoints cube_corners(float x, float y, float z, float half_size) {
  const float low[3] = {single(extended{x} - half_size), single(extended{y} - half_size),
                        single(extended{z} - half_size)};
  const float high[3] = {single(extended{x} + half_size), single(extended{y} + half_size),
                         single(extended{z} + half_size)};
  ProjectedPoints corners;
  for (int index = 0; index < 8; ++index)
    corners.add(index & 4 ? high[0] : low[0], index & 2 ? high[1] : low[1], index & 1 ? high[2] : low[2]);
  corners.project();
  return corners;
}

float half_of(float size) { return single(extended{size} / 2); }

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

template <std::size_t count>
void draw_projected_segments(const ProjectedPoints& points, const std::array<SegmentEnds, count>& segments) {
  for (const SegmentEnds& segment : segments) {
    const PointBatch& p = points.points;
    set_segment(p.x[segment.a], p.y[segment.a], p.z[segment.a], p.x[segment.b], p.y[segment.b], p.z[segment.b]);
    draw_projected_segment(points, segment.a, segment.b);
  }
}

// The segments as draw_projected_segment draws them, on a page of one's own: a segment with a
// clipped end is left out. Returns the end B of the last segment drawn.
template <std::size_t count>
std::optional<LastPoint> draw_segments_on_page(Page& page, const ProjectedPoints& points,
                                               const std::array<SegmentEnds, count>& segments, int colour) {
  // Each point's place on the page once, however many segments end there.
  LastPoint on_page[projection_batch_size];
  for (int i = 0; i < points.points.count; ++i)
    on_page[i] = {page_x(points.projections[i].screen_x), page_y(points.projections[i].screen_y)};
  std::optional<LastPoint> last;
  for (const SegmentEnds& segment : segments) {
    if (points.projections[segment.a].clips || points.projections[segment.b].clips) continue;
    const LastPoint a = on_page[segment.a];
    last = on_page[segment.b];
    draw_line_pixels(page, a.x, a.y, last->x, last->y, colour);
  }
  return last;
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
  g.half_size = half_of(g.obj_size);
  const ProjectedPoints ends = cross_ends(g.obj_x, g.obj_y, g.obj_z, g.half_size);
  draw_projected_segments(ends, cross_segments);
}

// Each of the 24 edge ends is one of the 8 corners, and equal points project alike: the
// corners are projected once, and every edge end still takes its own mouse event.
void draw_cube() {
  auto& g = program();
  g.half_size = half_of(g.obj_size);
  const ProjectedPoints corners = cube_corners(g.obj_x, g.obj_y, g.obj_z, g.half_size);
  draw_projected_segments(corners, cube_segments);
}

int projections_per_shape(float shape) {
  if (shape == 0) return 2 * static_cast<int>(cube_segments.size());
  if (shape == 1) return 2 * static_cast<int>(cross_segments.size());
  return shape == 2 ? 1 : 0;
}

std::optional<LastPoint> draw_shape_on_page(Page& page, const ShapeAt& at, float shape, float size) {
  const float half_size = half_of(size);
  if (shape == 0) return draw_segments_on_page(page, cube_corners(at.x, at.y, at.z, half_size), cube_segments, at.colour);
  if (shape == 1) return draw_segments_on_page(page, cross_ends(at.x, at.y, at.z, half_size), cross_segments, at.colour);
  if (shape != 2) return std::nullopt;
  ProjectedPoints point;
  point.add(at.x, at.y, at.z);
  point.project();
  const Projection& p = point.projections[0];
  if (p.clips) return std::nullopt;
  const LastPoint pixel{page_x(p.screen_x), page_y(p.screen_y)};
  set_pixel_pixels(page, pixel.x, pixel.y, at.colour);
  return pixel;
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
