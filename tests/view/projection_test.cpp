#include "view/projection.h"

#include <cmath>

#include "context/program.h"
#include "runtime/mouse.h"
#include "runtime/runtime.h"
#include "view/view_fixture.h"

namespace {

using ProjectionTest = ViewTest;

struct WorkedExample {
  float x, y, z, angle_c, angle_a;
  float turned_x, turned_y, turned_z;
  float screen_x, screen_y;
  float page_x, page_y;
};

TEST_F(ProjectionTest, WorkedExamplesComeOutToThePrintedDigits) {
  const WorkedExample examples[] = {
      {10, 20, 30, 0, 0, 30.0000f, 10.0000f, 20.0000f, 108.000f, 36.000f, 406.4f, 248.8f},
      {10, 20, -30, 0, 0, -30.0000f, 10.0000f, 20.0000f, -108.000f, 36.000f, 233.6f, 248.8f},
      {50, 0, 0, 70, 15, -46.9846f, 16.5183f, 4.4261f, -159.388f, 56.036f, 192.489f, 264.829f},
      {50, 50, 50, 70, 15, -29.8836f, 48.9610f, 64.8829f, -125.465f, 205.560f, 219.628f, 384.448f},
      {0, 0, 0, 70, 15, 0, 0, 0, 0, 0, 320, 220},
  };
  auto& g = program();
  for (const WorkedExample& e : examples) {
    SCOPED_TRACE(::testing::Message() << "point " << e.x << ", " << e.y << ", " << e.z);
    project(e.x, e.y, e.z, e.angle_c, e.angle_a);
    EXPECT_NEAR(g.proj_x, e.turned_x, 0.00005);
    EXPECT_NEAR(g.proj_y, e.turned_y, 0.00005);
    EXPECT_NEAR(g.proj_z, e.turned_z, 0.00005);
    EXPECT_NEAR(g.screen_x, e.screen_x, 0.0005);
    EXPECT_NEAR(g.screen_y, e.screen_y, 0.0005);
    EXPECT_NEAR(g.center_x + static_cast<long double>(g.screen_x) * g.graphics_scale, e.page_x, 0.0005);
    EXPECT_NEAR(g.center_y + static_cast<long double>(g.screen_y) * g.graphics_scale, e.page_y, 0.0005);
    EXPECT_EQ(g.clipped, 0);
  }
}

TEST_F(ProjectionTest, OriginStaysAtTheCentreWhateverTheAngles) {
  const float angles[][2] = {{0, 0}, {70, 15}, {-123.5f, 400}, {1e6f, -1e6f}};
  auto& g = program();
  for (const auto& a : angles) {
    project(0, 0, 0, a[0], a[1]);
    EXPECT_EQ(g.screen_x, 0) << a[0] << ", " << a[1];
    EXPECT_EQ(g.screen_y, 0) << a[0] << ", " << a[1];
  }
}

// With both angles 0 a point comes out as (z, x, y), so each axis can be put on the box's edge.
TEST_F(ProjectionTest, ClipBoxIncludesItsBoundAndNothingBeyond) {
  struct Case {
    float x, y, z;
    bool clips;
  } const cases[] = {
      {0, 0, 130, false},       {0, 0, -130, false},      {130, 0, 0, false},
      {0, 130, 0, false},       {0, 0, 130.0001f, true},  {0, 0, -130.0001f, true},
      {130.0001f, 0, 0, true},  {0, -130.0001f, 0, true}, {5, 5, 1000, true},
      {NAN, 0, 0, false},
  };
  auto& g = program();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "point " << c.x << ", " << c.y << ", " << c.z);
    g.clipped = 0;
    project(c.x, c.y, c.z, 0, 0);
    EXPECT_EQ(g.clipped, c.clips ? 1 : 0);
  }
  // The bound itself is reached exactly, so the cases above test the comparison.
  project(0, 0, 130, 0, 0);
  EXPECT_EQ(g.proj_x, 130);
  project(0, 0, -130, 0, 0);
  EXPECT_EQ(g.proj_x, -130);
}

TEST_F(ProjectionTest, ClippedStaysSetAndScreenValuesAreStillWritten) {
  auto& g = program();
  project(0, 0, 200, 0, 0);
  EXPECT_EQ(g.clipped, 1);
  EXPECT_NEAR(g.screen_x, 200 * 250 / 75.0, 0.001);
  project(10, 20, 30, 0, 0);
  EXPECT_EQ(g.clipped, 1);
  EXPECT_NEAR(g.screen_x, 108, 0.0005);
}

TEST_F(ProjectionTest, PointThatIsNotANumberGivesScreenValuesThatAreNotNumbers) {
  auto& g = program();
  project(NAN, NAN, NAN, 70, 15);
  EXPECT_TRUE(std::isnan(g.screen_x));
  EXPECT_TRUE(std::isnan(g.screen_y));
  EXPECT_EQ(g.clipped, 0);
}

// A w in [-0.00001, 0) takes the half-turn correction although its ratio's denominator is
// positive: the pair comes out negated compared with w = 0.
TEST_F(ProjectionTest, TinyNegativeCoordinateTakesTheHalfTurn) {
  auto& g = program();
  project(5, 0, 0, 0, 0);
  const float y_at_zero = g.proj_y, r_at_zero = g.polar_r;
  project(5, 0, -0.000005f, 0, 0);
  EXPECT_NEAR(y_at_zero, 5, 0.0001);
  EXPECT_NEAR(g.proj_y, -y_at_zero, 0.0001);
  EXPECT_EQ(g.polar_r, r_at_zero);
}

// The second pass turns (y, x) when the first angle is 0; y = 11.43, x = -1 lies at about -85
// degrees, so the pass's angle before the correction is -85 plus the second view angle.
TEST_F(ProjectionTest, QuadrantCorrectionAddsAFullTurnOnlyOnce) {
  struct Case {
    float angle_a, angle_after;
  } const cases[] = {
      {-100, 355},  // -185 + 180 is still negative: 360 more
      {-500, -45},  // -585 + 180 + 360 is still negative: used as it is
      {20, 115},    // -65 + 180
  };
  auto& g = program();
  for (const Case& c : cases) {
    project(-1, 11.43f, 0, 0, c.angle_a);
    EXPECT_NEAR(g.new_x, c.angle_after, 0.01) << c.angle_a;
  }
}

TEST_F(ProjectionTest, EachProjectionTakesAtMostOneMouseEvent) {
  auto& g = program();
  auto& queue = runtime().mouse;
  project(1, 2, 3, 70, 15);
  EXPECT_EQ(g.mouse_event, 0);  // nothing waiting: the latch keeps its value
  queue_mouse_move(10, 10);      // two events
  queue_mouse_button(mouse_bit_left, true, 10, 10);
  const unsigned start = queue.current;
  project(1, 2, 3, 70, 15);
  EXPECT_EQ(g.mouse_event, -1);
  EXPECT_EQ(queue.current, start + 1);
  g.mouse_event = 0;
  project(1, 2, 3, 70, 15);
  EXPECT_EQ(g.mouse_event, -1);  // the first event after a cleared latch sets it again
  project(1, 2, 3, 70, 15);      // the latch is set, the event is still taken
  EXPECT_EQ(queue.current, start + 3);
  project(1, 2, 3, 70, 15);
  EXPECT_EQ(queue.current, start + 3);
  EXPECT_EQ(g.mouse_event, -1);
}

}  // namespace
