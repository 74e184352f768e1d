#include "view/shapes.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "context/program.h"
#include "runtime/mouse.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/page_dump.h"
#include "view/view_fixture.h"

namespace {

class ShapesTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    set_screen_mode(graphics_mode, 0, 1, 13);
  }
  void TearDown() override {
    dump_drawing_page_if_failed();
    ViewTest::TearDown();
  }

  static std::vector<std::uint8_t> page() { return drawing_page().pixels; }

  static int lit_pixels() {
    int lit = 0;
    for (std::uint8_t colour : drawing_page().pixels) lit += colour != 0;
    return lit;
  }

  static void set_centroid(int kind, float x, float y, float z) {
    auto& g = program();
    g.color_center(kind, 0) = x;
    g.color_center(kind, 1) = y;
    g.color_center(kind, 2) = z;
  }
};

TEST_F(ShapesTest, PlotPointSetsThePixelOfTheProjection) {
  struct Case {
    float x, y, z, angle_c, angle_a, scale, colour;
    int page_x, page_y, drawn_colour;
  } const cases[] = {
      {10, 20, 30, 0, 0, 0.8f, 13, 406, 249, 13},
      {10, 20, -30, 0, 0, 0.8f, 2.5f, 234, 249, 2},  // colours round half to even
      {50, 0, 0, 70, 15, 0.8f, 3.5f, 192, 265, 4},
      {50, 50, 50, 70, 15, 0.8f, 9, 220, 384, 9},
      {0, 0, 0, 70, 15, 0.8f, 9, 320, 220, 9},
      {10, 20, 30, 0, 0, 0, 7, 320, 220, 7},       // scale 0: everything at the centre
      {10, 20, 30, 0, 0, -0.8f, 7, 234, 191, 7},   // a negative scale mirrors through the centre
  };
  auto& g = program();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "point " << c.x << ", " << c.y << ", " << c.z << " scale " << c.scale);
    clear_screen();
    g.rot_angle_c = c.angle_c;
    g.rot_angle_a = c.angle_a;
    g.graphics_scale = c.scale;
    g.obj_x = c.x, g.obj_y = c.y, g.obj_z = c.z;
    g.line_color = c.colour;
    plot_point();
    EXPECT_EQ(drawing_page().pixel(c.page_x, c.page_y), c.drawn_colour);
    EXPECT_EQ(lit_pixels(), 1);
  }
}

TEST_F(ShapesTest, ClippedElementsDrawNothingAndClearTheFlag) {
  auto& g = program();
  g.rot_angle_c = g.rot_angle_a = 0;
  g.line_color = 15;
  g.obj_x = 0, g.obj_y = 0, g.obj_z = 131;
  plot_point();
  EXPECT_EQ(g.clipped, 0);
  // One end far outside the box: the whole segment is left out, however near its other end.
  g.seg_ax = 0, g.seg_ay = 0, g.seg_az = 0;
  g.seg_bx = 0, g.seg_by = 0, g.seg_bz = 200;
  draw_segment();
  EXPECT_EQ(g.clipped, 0);
  EXPECT_EQ(lit_pixels(), 0);
  g.seg_bz = 30;
  draw_segment();
  EXPECT_GT(lit_pixels(), 0);
}

TEST_F(ShapesTest, EveryDrawnElementTakesOneMouseEventPerProjectedPoint) {
  auto& g = program();
  n_kinds() = 3;
  struct Case {
    const char* name;
    std::function<void()> draw;
    float obj_z;
    unsigned events;
  } const cases[] = {
      {"cube", draw_cube, 0, 24},
      {"clipped cube", draw_cube, 500, 24},
      {"cross", draw_cross, 0, 6},
      {"pixel", plot_point, 0, 1},
      {"clipped pixel", plot_point, 500, 1},
      {"links of 3 kinds", draw_centroid_links, 0, 12},
  };
  for (int move = 0; move < 100; ++move) queue_mouse_move(move, move);
  auto& queue = runtime().mouse;
  for (const Case& c : cases) {
    g.obj_x = g.obj_y = 0;
    g.obj_z = c.obj_z;
    g.obj_size = 10;
    const unsigned before = queue.current;
    c.draw();
    EXPECT_EQ(queue.current - before, c.events) << c.name;
  }
}

TEST_F(ShapesTest, CrossIsThreeStrokesAndSizeZeroIsOnePoint) {
  auto& g = program();
  g.rot_angle_c = g.rot_angle_a = 0;  // (x, y, z) turns to (z, x, y)
  g.line_color = 12;
  g.obj_x = g.obj_y = g.obj_z = 0;
  g.obj_size = 20;
  draw_cross();
  // The x stroke runs down the page, the z stroke across it, the y stroke is seen end on.
  const auto cross = page();
  clear_screen();
  draw_line(320, 193.333f, 320, 246.667f, 12);
  draw_line(346.667f, 220, 293.333f, 220, 12);
  EXPECT_EQ(page(), cross);

  for (const auto& draw : {draw_cross, draw_cube}) {
    clear_screen();
    g.obj_size = 0;
    draw();
    EXPECT_EQ(lit_pixels(), 1);
    EXPECT_EQ(drawing_page().pixel(320, 220), 12);
  }
}

// At the start angles the corner (L, L, L) of this cube is the only one beyond the clip box.
TEST_F(ShapesTest, CubeCornerBeyondTheBoxRemovesExactlyItsThreeEdges) {
  auto& g = program();
  g.line_color = 10;
  g.obj_x = -120, g.obj_y = -80, g.obj_z = -80;
  g.obj_size = 40;
  draw_cube();
  const auto cube = page();

  const float l[3] = {-140, -100, -100}, h[3] = {-100, -60, -60};
  struct End {
    int x, y, z;  // 0 low, 1 high
  };
  const End kept[][2] = {
      {{1, 1, 0}, {1, 0, 0}}, {{1, 1, 0}, {0, 1, 0}}, {{0, 0, 1}, {1, 0, 1}},
      {{1, 1, 1}, {1, 0, 1}}, {{1, 1, 1}, {0, 1, 1}}, {{0, 0, 1}, {0, 1, 1}},
      {{1, 0, 0}, {1, 0, 1}}, {{0, 1, 0}, {0, 1, 1}}, {{1, 1, 0}, {1, 1, 1}},
  };
  auto coordinate = [&](int axis, int high) { return high ? h[axis] : l[axis]; };
  clear_screen();
  for (const auto& edge : kept) {
    g.seg_ax = coordinate(0, edge[0].x), g.seg_ay = coordinate(1, edge[0].y), g.seg_az = coordinate(2, edge[0].z);
    g.seg_bx = coordinate(0, edge[1].x), g.seg_by = coordinate(1, edge[1].y), g.seg_bz = coordinate(2, edge[1].z);
    draw_segment();
  }
  EXPECT_EQ(page(), cube);

  // With a wider box the three edges at that corner do show.
  clear_screen();
  g.clip_limit = 1000;
  draw_cube();
  EXPECT_NE(page(), cube);
}

// With both angles 0 these centroids land at (320, 220), (400, 220) and (320, 300).
TEST_F(ShapesTest, LinksJoinEveryPairOfKindsInColour14) {
  auto& g = program();
  g.rot_angle_c = g.rot_angle_a = 0;
  n_kinds() = 3;
  set_centroid(0, 0, 0, 0);
  set_centroid(1, 0, 0, 30);
  set_centroid(2, 30, 0, 0);
  draw_centroid_links();
  EXPECT_EQ(g.line_color, 14);
  const auto links = page();
  clear_screen();
  draw_line(320, 220, 400, 220, 14);
  draw_line(320, 220, 320, 300, 14);
  draw_line(400, 220, 320, 300, 14);
  EXPECT_EQ(page(), links);

  // A kind without particles has no centroid: none of its links, its point included, shows.
  clear_screen();
  set_centroid(1, NAN, NAN, NAN);
  draw_centroid_links();
  const auto without_kind_1 = page();
  clear_screen();
  draw_line(320, 220, 320, 300, 14);
  EXPECT_EQ(page(), without_kind_1);
}

TEST_F(ShapesTest, LinksBeyondTheCentroidTableAreReported) {
  host.answer_when_unscripted = true;
  n_kinds() = 102;
  draw_centroid_links();
  ASSERT_FALSE(host.reports.empty());
  EXPECT_NE(host.reports.front().text.find("Subscript out of range"), std::string::npos);
}

}  // namespace
