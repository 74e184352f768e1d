// The batched projection against project_point, bit for bit: single points of every kind, and
// whole frames with mouse events waiting, drawn once by the extended formula alone (the vector
// set that proves nothing) and once by the lanes.
#include "view/projection_batch.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "app/frame.h"
#include "compute/vector_isa.h"
#include "context/program.h"
#include "runtime/control.h"
#include "runtime/mouse.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/projection_bits.h"
#include "support/vector_isas.h"
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
    choose_vector_isa(best_vector_isa());
    ViewTest::TearDown();
  }

  // project_point's result for each point, set beside the batch's. The points go in batches of
  // eight, each batch with the view angles of its first point. Returns the points the batches
  // handed to the extended formula.
  static int expect_batches_match_project_point(const std::vector<Point>& points) {
    auto& g = program();
    int handed_over = 0;
    for (std::size_t first = 0; first < points.size(); first += projection_batch_size) {
      PointBatch batch;
      for (std::size_t i = first; i < points.size() && batch.count < projection_batch_size; ++i, ++batch.count) {
        batch.x[batch.count] = points[i].x;
        batch.y[batch.count] = points[i].y;
        batch.z[batch.count] = points[i].z;
      }
      g.rot_angle_c = points[first].angle_c;
      g.rot_angle_a = points[first].angle_a;
      Projection fast[projection_batch_size];
      handed_over += project_batch(batch, fast);
      for (int i = 0; i < batch.count; ++i) {
        if (!matches_project_point(batch.x[i], batch.y[i], batch.z[i], fast[i])) {
          ADD_FAILURE() << std::hexfloat << "point " << batch.x[i] << ", " << batch.y[i] << ", " << batch.z[i]
                        << " angles " << g.rot_angle_c << ", " << g.rot_angle_a;
          return handed_over;
        }
      }
    }
    return handed_over;
  }

  // Every instruction set this processor offers, the widest last.
  template <class Check>
  static void for_every_vector_isa(Check check) {
    for (const VectorIsa isa : vector_isas_of_this_machine()) {
      SCOPED_TRACE(vector_isa_name(isa));
      choose_vector_isa(isa);
      check();
    }
  }
};

// Random points in batches of eight: mostly within the scene, then any bit patterns as
// coordinates, then any bit patterns as view angles. Nearly every scene point is proven in the
// lanes; a million points go through the widest set, fewer through the others and in the
// sanitizer builds.
TEST_F(ProjectionBatchTest, RandomPointsProjectAsProjectPointDoes) {
  const VectorIsa best = best_vector_isa();
  for_every_vector_isa([&] {
    std::mt19937 random(13);
    std::uniform_real_distribution<float> scene(-200, 200), angle(-2000, 2000);
    std::uniform_int_distribution<std::uint32_t> bits;
    auto any_float = [&] { return std::bit_cast<float>(bits(random)); };
    const int batches = vector_isa() == best && !sanitized_build ? 125'000 : 20'000;
    std::vector<Point> scene_points, odd_points;
    for (int batch = 0; batch < batches; ++batch) {
      const int kind = batch % 4;
      const float angle_c = kind == 3 ? any_float() : angle(random), angle_a = kind == 3 ? any_float() : angle(random);
      for (int i = 0; i < projection_batch_size; ++i) {
        if (kind == 2)
          odd_points.push_back({any_float(), any_float(), any_float(), angle_c, angle_a});
        else
          (kind == 3 ? odd_points : scene_points)
              .push_back({scene(random), scene(random), scene(random), angle_c, angle_a});
      }
    }
    const int scene_handed_over = expect_batches_match_project_point(scene_points);
    EXPECT_LT(scene_handed_over, static_cast<int>(scene_points.size()) / 100);
    expect_batches_match_project_point(odd_points);
  });
}

// Each point alone in its batch, so that it shows whether the lanes proved it.
TEST_F(ProjectionBatchTest, SpecialCoordinatesGoToTheExtendedFormulaAndComeOutAlike) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float tiny = std::numeric_limits<float>::denorm_min();
  constexpr float huge = std::numeric_limits<float>::max();
  struct Case {
    Point point;
    bool proven;
  };
  const Case cases[] = {
      {{10, 20, 30, 0, 0}, true},
      {{10, 20, -30, 0, 0}, true},
      {{50, 50, 50, 70, 15}, true},
      {{5, 5, 5, -170, -100}, true},  // the full turn after the half turn
      {{0, 0, -0.000005f, 0, 0}, true},  // a tiny negative w takes the half turn
      {{130, 0, 0, 90, 0}, true},
      {{1e20f, -1e20f, 3, 70, 15}, true},
      {{0, 0, 0, 70, 15}, false},  // the origin: polar_r 0
      {{-0.0f, -0.0f, -0.0f, 70, 15}, false},
      {{0, 0, -0.00001f, 0, 0}, true},
      {{tiny, tiny, tiny, 70, 15}, false},
      {{-tiny, tiny, -tiny, 70, 15}, false},
      {{1e-30f, -1e-30f, 1e-30f, 70, 15}, true},
      {{huge, huge, huge, 70, 15}, false},
      {{-huge, 1, huge, 70, 15}, false},
      {{inf, 0, 0, 70, 15}, false},
      {{0, -inf, 0, 70, 15}, false},
      {{0, 0, inf, 70, 15}, false},
      {{nan, 0, 0, 70, 15}, false},
      {{0, 0, nan, 70, 15}, false},
      {{1, 2, 3, nan, 15}, false},
      {{1, 2, 3, 70, inf}, false},
      {{1, 2, 3, 1e30f, -1e30f}, false},  // the sine's argument beyond SLEEF's documented range
  };
  for_every_vector_isa([&] {
    for (const Case& c : cases) {
      const int handed_over = expect_batches_match_project_point({c.point});
      EXPECT_EQ(handed_over, c.proven ? 0 : 1) << std::hexfloat << "point " << c.point.x << ", " << c.point.y
                                                << ", " << c.point.z << " angles " << c.point.angle_c << ", "
                                                << c.point.angle_a;
    }
  });
}

// Points whose first turn's angle sum, the arc tangent in degrees plus rot_angle_c, lies within
// 1 to 40 u (u = 2^-53 of the value) of a point where rounding to float changes. Found by a
// search over consecutive floats x with z = 1 or -2 (the second with the half turn), trying for
// each ratio the angles that put the sum into each binade; the distance is the search's, from
// the extended formula.
TEST_F(ProjectionBatchTest, AngleSumsNearAFloatRoundingBoundaryComeOutAlike) {
  struct Case {
    float x, z, angle_c;
    double distance_u;
  };
  const Case cases[] = {
      {0x1.3ed97ep+6f, 0x1p+0f, -0x1.400b2ap+19f, 1.14}, {0x1.3ed97ep+6f, 0x1p+0f, 0x1.3ff4d6p+19f, 1.14},
      {0x1.75f2bp+4f, 0x1p+0f, -0x1.5e3d2cp+6f, 6.40},   {0x1.6a1c4p+5f, 0x1p+0f, 0x1.3fe9dp+18f, 7.83},
      {0x1.8a5806p+4f, 0x1p+0f, -0x1.6134cap+6f, 8.80},  {0x1.319012p+6f, 0x1p+0f, -0x1.400164p+22f, 8.96},
      {0x1.5b7b1ep+0f, 0x1p+0f, -0x1.ad0924p+5f, 9.60},  {0x1.4f649ap+3f, -0x1p+1f, 0x1.3cce6ep+6f, 12.79},
      {0x1.49e89ep+3f, -0x1p+1f, 0x1.3ad5f6p+6f, 14.60}, {0x1.8f4648p+1f, -0x1p+1f, 0x1.c82b7ap+5f, 19.00},
      {0x1.84a1b4p+1f, -0x1p+1f, 0x1.82818p+6f, 28.58},  {0x1.82c546p+1f, -0x1p+1f, 0x1.400072p+23f, 33.08},
      {0x1.89a8dp+1f, -0x1p+1f, 0x1.27b622p+5f, 34.02},  {0x1.90ecbap+1f, -0x1p+1f, 0x1.a3873p+5f, 36.03},
  };
  for_every_vector_isa([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << "distance " << c.distance_u << " u");
      const int handed_over = expect_batches_match_project_point({{c.x, 10, c.z, c.angle_c, 15}});
      // Within the proof's bracket the lanes must not claim the float.
      if (c.distance_u < 4) {
        EXPECT_EQ(handed_over, 1);
      }
    }
  });
}

// What a frame leaves behind: the drawn page, the mouse queue's read position and every value
// of the context that the drawing writes.
struct FrameOutcome {
  std::vector<std::uint8_t> pixels;
  unsigned mouse_read_position;
  std::size_t error_reports;
  std::vector<float> values;
};

FrameOutcome outcome(const HeadlessHost& host) {
  auto& g = program();
  return {drawing_page().pixels,
          runtime().mouse.current.load(),
          host.reports.size(),
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
  float last_kind_colour;  // beyond 32 bits, each of that kind's lines reports a failure midway
  float angle_c, angle_a;
};

// Two frames and the centroid links: particles spread beyond the clip box, a few coordinates
// that are not numbers, infinite, huge or subnormal, and a kind without particles whose
// centroid is not a number.
FrameOutcome draw_frames(HeadlessHost& host, const FrameCase& c, VectorIsa isa) {
  host.reports.clear();
  host.answer_when_unscripted = true;
  start_runtime(host);
  reset_program();
  set_view_constants();
  choose_vector_isa(isa);
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
    g.kind_colour(kind) = kind == c.kinds - 1 ? c.last_kind_colour : static_cast<float>(1 + kind);
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
  return outcome(host);
}

TEST_F(ProjectionBatchTest, WholeFramesInBatchesAreTheFramesOfTheExtendedFormula) {
  const FrameCase cases[] = {
      {"cubes, events run out within the particles", 0, 3, 120, 2000, 70, 15, 3},
      {"cubes, more events than projections", 0, 3, 60, 3000, -123, 400, 3},
      {"cubes with failures reported between projections", 0, 3, 60, 1500, 30, 60, 3e9f},
      {"crosses", 1, 4, 200, 700, 10, -80, 4},
      {"pixels", 2, 3, 300, 300, 1e5f, 3, 3},
      {"no events waiting", 0, 2, 50, 0, 0, 0, 2},
  };
  for_every_vector_isa([&] {
    const VectorIsa isa = vector_isa();
    for (const FrameCase& c : cases) {
      SCOPED_TRACE(c.name);
      const FrameOutcome extended = draw_frames(host, c, VectorIsa::none);
      const FrameOutcome batches = draw_frames(host, c, isa);
      EXPECT_TRUE(extended.pixels == batches.pixels);
      EXPECT_EQ(extended.mouse_read_position, batches.mouse_read_position);
      EXPECT_EQ(extended.error_reports, batches.error_reports);
      if (c.last_kind_colour > 1e9f) {
        EXPECT_GT(batches.error_reports, 0u);
      }
      ASSERT_EQ(extended.values.size(), batches.values.size());
      for (std::size_t i = 0; i < extended.values.size(); ++i)
        EXPECT_TRUE(same_bits(extended.values[i], batches.values[i])) << "value " << i;
    }
  });
}

}  // namespace
