// The batched projection against project_point, bit for bit: single points of every kind, and
// whole frames with mouse events waiting, drawn once one by one and once in batches.
#include "view/projection_batch.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "app/program.h"
#include "runtime/mouse.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "view/frame.h"
#include "view/shapes.h"
#include "view/view_fixture.h"

namespace {

// Bits, except that two values that are not numbers are alike.
bool same_bits(float a, float b) {
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

struct Point {
  float x, y, z, angle_c, angle_a;
};

class ProjectionBatchTest : public ViewTest {
 protected:
  void TearDown() override {
    choose_projection_path(ProjectionPath::batches);
    ViewTest::TearDown();
  }

  // project_point's result for each point, set beside the batch's; a batch holds points of one
  // view, so the points are projected one at a time. Returns the points the extended formula
  // took in the batch.
  static int expect_batch_matches_project_point(const std::vector<Point>& points) {
    auto& g = program();
    int handed_over = 0;
    for (const Point& p : points) {
      g.rot_angle_c = p.angle_c;
      g.rot_angle_a = p.angle_a;
      PointBatch batch;
      batch.x[0] = p.x;
      batch.y[0] = p.y;
      batch.z[0] = p.z;
      batch.count = 1;
      Projection fast;
      handed_over += project_batch(batch, &fast);
      g.proj_x = p.x;
      g.proj_y = p.y;
      g.proj_z = p.z;
      g.clipped = 0;
      project_point();
      const bool alike = same_bits(fast.turned_x, g.proj_x) && same_bits(fast.turned_y, g.proj_y) &&
                         same_bits(fast.turned_z, g.proj_z) && same_bits(fast.screen_x, g.screen_x) &&
                         same_bits(fast.screen_y, g.screen_y) && same_bits(fast.tan_ratio, g.tan_ratio) &&
                         same_bits(fast.new_x, g.new_x) && same_bits(fast.polar_r, g.polar_r) &&
                         fast.clips == (g.clipped != 0);
      EXPECT_TRUE(alike) << std::hexfloat << "point " << p.x << ", " << p.y << ", " << p.z << " angles " << p.angle_c
                         << ", " << p.angle_a;
      if (!alike) break;
    }
    return handed_over;
  }
};

TEST_F(ProjectionBatchTest, RandomPointsProjectAsProjectPointDoes) {
  std::mt19937 random(13);
  std::uniform_real_distribution<float> scene(-200, 200), angle(-2000, 2000);
  std::uniform_int_distribution<std::uint32_t> bits;
  auto any_float = [&] { return std::bit_cast<float>(bits(random)); };
  std::vector<Point> points;
  constexpr int count = 1'000'000;
  for (int i = 0; i < count; ++i) {
    switch (i % 4) {
      case 0:
      case 1: points.push_back({scene(random), scene(random), scene(random), angle(random), angle(random)}); break;
      case 2: points.push_back({any_float(), any_float(), any_float(), angle(random), angle(random)}); break;
      default: points.push_back({scene(random), scene(random), scene(random), any_float(), any_float()});
    }
  }
  expect_batch_matches_project_point(points);
}

TEST_F(ProjectionBatchTest, SpecialCoordinatesProjectAsProjectPointDoes) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float tiny = std::numeric_limits<float>::denorm_min();
  constexpr float huge = std::numeric_limits<float>::max();
  const std::vector<Point> points = {
      {0, 0, 0, 70, 15},           {-0.0f, -0.0f, -0.0f, 70, 15}, {10, 20, 30, 0, 0},
      {10, 20, -30, 0, 0},         {0, 0, -0.000005f, 0, 0},      {0, 0, -0.00001f, 0, 0},
      {-0.00001f, 1, -0.00001f, 0, 0}, {5, 5, 5, -170, -100},     {tiny, tiny, tiny, 70, 15},
      {-tiny, tiny, -tiny, 70, 15}, {1e-30f, -1e-30f, 1e-30f, 70, 15}, {huge, huge, huge, 70, 15},
      {-huge, 1, huge, 70, 15},    {1e20f, -1e20f, 3, 70, 15},    {inf, 0, 0, 70, 15},
      {0, -inf, 0, 70, 15},        {0, 0, inf, 70, 15},           {nan, 0, 0, 70, 15},
      {0, 0, nan, 70, 15},         {1, 2, 3, nan, 15},            {1, 2, 3, 70, inf},
      {1, 2, 3, 1e30f, -1e30f},    {130, 0, 0, 90, 0},            {50, 50, 50, 70, 15},
  };
  expect_batch_matches_project_point(points);
}

// What a frame leaves behind: the drawn page, the mouse queue's read position and every value
// of the context that the drawing writes.
struct FrameOutcome {
  std::vector<std::uint8_t> pixels;
  unsigned mouse_read_position;
  std::vector<float> values;
};

FrameOutcome outcome() {
  auto& g = program();
  return {drawing_page().pixels,
          runtime().mouse.current.load(),
          {g.mouse_event, g.clipped, g.tan_ratio, g.new_x, g.polar_r, g.proj_x, g.proj_y, g.proj_z, g.screen_x,
           g.screen_y, g.scr_ax, g.scr_ay, g.scr_bx, g.scr_by, g.seg_ax, g.seg_ay, g.seg_az, g.seg_bx, g.seg_by,
           g.seg_bz, g.half_size, g.obj_x, g.obj_y, g.obj_z, g.obj_size, g.line_color, g.loop_i, g.loop_j, g.loop_a,
           g.draw_page}};
}

struct FrameCase {
  const char* name;
  float shape;
  int kinds, particles;
  int mouse_moves;  // each queues two events
  float angle_c, angle_a;
};

// Two frames and the centroid links: particles spread beyond the clip box, a few coordinates
// that are not numbers, infinite, huge or subnormal, and a kind without particles whose
// centroid is not a number.
FrameOutcome draw_frames(HeadlessHost& host, const FrameCase& c, ProjectionPath path) {
  start_runtime(host);
  reset_program();
  set_view_constants();
  choose_projection_path(path);
  auto& g = program();
  g.graphics_scale = 0.8f;
  g.particle_size = 7;
  g.particle_shape = c.shape;
  g.rot_angle_c = c.angle_c;
  g.rot_angle_a = c.angle_a;
  n_kinds() = static_cast<float>(c.kinds);
  std::mt19937 random(c.particles);
  std::uniform_real_distribution<float> position(-120, 120);
  const float specials[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f,
                            std::numeric_limits<float>::denorm_min(), -0.0f};
  for (int kind = 0; kind < c.kinds; ++kind) {
    g.kind_colour(kind) = static_cast<float>(1 + kind);
    g.color_count(kind) = kind == 1 ? 0 : static_cast<float>(c.particles);
    for (int j = 0; j < c.particles; ++j)
      for (int axis = 0; axis < 3; ++axis) g.particle(kind, j, axis) = position(random);
    for (int axis = 0; axis < 3; ++axis) g.color_center(kind, axis) = kind == 1 ? specials[0] : position(random);
  }
  for (int j = 0; j < 5 && j < c.particles; ++j) g.particle(0, j, j % 3) = specials[j];
  for (int move = 0; move < c.mouse_moves; ++move) queue_mouse_move(move % 640, move % 480);
  draw_frame();
  g.mouse_event = 0;
  g.rot_angle_c += 0.3f;
  draw_frame();
  draw_centroid_links();
  return outcome();
}

TEST_F(ProjectionBatchTest, WholeFramesInBatchesAreTheFramesDrawnOneByOne) {
  const FrameCase cases[] = {
      {"cubes, events run out within the particles", 0, 3, 120, 2000, 70, 15},
      {"cubes, more events than projections", 0, 3, 60, 3000, -123, 400},
      {"crosses", 1, 4, 200, 700, 10, -80},
      {"pixels", 2, 3, 300, 300, 1e5f, 3},
      {"no events waiting", 0, 2, 50, 0, 0, 0},
  };
  for (const FrameCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FrameOutcome one_by_one = draw_frames(host, c, ProjectionPath::one_by_one);
    const FrameOutcome batches = draw_frames(host, c, ProjectionPath::batches);
    EXPECT_TRUE(one_by_one.pixels == batches.pixels);
    EXPECT_EQ(one_by_one.mouse_read_position, batches.mouse_read_position);
    ASSERT_EQ(one_by_one.values.size(), batches.values.size());
    for (std::size_t i = 0; i < one_by_one.values.size(); ++i)
      EXPECT_TRUE(same_bits(one_by_one.values[i], batches.values[i])) << "value " << i;
  }
}

}  // namespace
