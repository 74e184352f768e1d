#include "app/frame.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "compute/worker_pool.h"
#include "context/program.h"
#include "runtime/font.h"
#include "runtime/mouse.h"
#include "runtime/random.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/page_dump.h"
#include "view/shapes.h"
#include "view/view_fixture.h"

namespace {

constexpr int cube_colour = 6;

class FrameTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    // Small enough that the centre cube keeps clear of the caption, the total and the border.
    program().graphics_scale = 0.3f;
  }
  void TearDown() override {
    dump_drawing_page_if_failed();
    ViewTest::TearDown();
  }

  static std::vector<std::uint8_t> page() { return drawing_page().pixels; }

  // Whether the cell shows the text's glyphs in the colour on colour 0. Pixels of the centre
  // cube, drawn later over the text, are passed over.
  static bool shows(int row, int column, const std::string& text, int colour) {
    const Page& p = drawing_page();
    for (std::size_t i = 0; i < text.size(); ++i) {
      const int left = (column - 1 + static_cast<int>(i)) * 8, top = (row - 1) * 16;
      const unsigned char code = static_cast<unsigned char>(text[i]);
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x) {
          const int pixel = p.pixel(left + x, top + y);
          const bool set = (font_glyphs[code][y] & (0x80u >> x)) != 0;
          if (pixel != cube_colour && pixel != (set ? colour : 0)) return false;
        }
    }
    return true;
  }

  // Pixels of the colour in page rows top to 479.
  static int pixels_of_colour(int colour, int top = 0) {
    const Page& p = drawing_page();
    int count = 0;
    for (int y = top; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) count += p.pixel(x, y) == colour;
    return count;
  }

  static unsigned events_taken_by_frame() {
    auto& queue = runtime().mouse;
    const unsigned before = queue.current;
    draw_frame();
    return queue.current - before;
  }

  static void queue_events(int count) {
    for (int i = 0; i < count; i += 2) queue_mouse_move(i % 600, 100);
  }
};

TEST_F(FrameTest, FramesAlternateBetweenThePages) {
  auto& g = program();
  const ScreenState& screen = runtime().screen;
  for (int drawn : {0, 1, 0, 1, 0}) {
    draw_frame();
    EXPECT_EQ(screen.mode, graphics_mode);
    EXPECT_EQ(screen.drawing_page, drawn);
    EXPECT_EQ(screen.shown_page, drawn ^ 1);
    EXPECT_EQ(g.draw_page, drawn ^ 1);
  }
  EXPECT_EQ(host.window_height, graphics_height);
}

TEST_F(FrameTest, CaptionAndCentreCubeMakeTheFrameWhenNothingElseIsShown) {
  auto& g = program();
  queue_events(100);
  EXPECT_EQ(events_taken_by_frame(), 24u);
  EXPECT_TRUE(shows(1, 40, "Morvaleck(2017)", 11));
  std::vector<std::uint8_t> frame = page();
  for (std::uint8_t& pixel : frame)
    if (pixel == 11) pixel = 0;

  clear_screen();
  g.line_color = 6;
  g.obj_x = g.obj_y = g.obj_z = 0;
  g.obj_size = 100;
  draw_cube();
  EXPECT_GT(pixels_of_colour(cube_colour), 0);
  EXPECT_EQ(frame, page());
}

TEST_F(FrameTest, TotalAndGridBorderWhileThePanelIsShown) {
  auto& g = program();
  g.panel_top = 364.8f;
  g.panel_right = 133;
  g.total_particles = 25;
  g.panel_shown = 1;
  draw_frame();
  EXPECT_TRUE(shows(1, 40, "Morvaleck(2017)", 11));
  EXPECT_TRUE(shows(28, 64, "osszes babu: 25 ", 8));
  const Page& p = drawing_page();
  for (int x = 0; x <= 133; ++x) EXPECT_EQ(p.pixel(x, 365), 14) << x;
  for (int y = 365; y <= 448; ++y) EXPECT_EQ(p.pixel(133, y), 14) << y;
  EXPECT_EQ(p.pixel(134, 365), 0);
  EXPECT_EQ(p.pixel(133, 449), 0);
  EXPECT_EQ(p.pixel(0, 364), 0);
  EXPECT_EQ(pixels_of_colour(14, 320), 134 + 83);  // below the parameter panel

  g.panel_shown = 0;
  draw_frame();
  EXPECT_EQ(pixels_of_colour(8), 0);
  EXPECT_EQ(pixels_of_colour(14), 0);
}

// A number text of six characters with its blank does not fit before column 80: it goes to
// row 29 and the line end scrolls the print area; a shorter one stays in row 28.
TEST_F(FrameTest, TotalOf1000ScrollsThePrintArea) {
  auto& g = program();
  g.panel_top = 364.8f;
  g.panel_right = 133;
  g.panel_shown = 1;
  g.total_particles = 999;
  draw_frame();
  EXPECT_TRUE(shows(1, 40, "Morvaleck(2017)", 11));
  EXPECT_TRUE(shows(28, 64, "osszes babu: 999 ", 8));

  g.total_particles = 1000;
  draw_frame();
  EXPECT_EQ(pixels_of_colour(11), 0);  // the caption left the page
  EXPECT_TRUE(shows(27, 64, "osszes babu:", 8));
  EXPECT_TRUE(shows(28, 1, " 1000 ", 8));
  EXPECT_TRUE(shows(28, 76, "     ", 8));
  EXPECT_EQ(drawing_page().pixel(0, 365), 14);  // drawn after the scroll, in its usual place
  EXPECT_EQ(drawing_page().pixel(133, 448), 14);
}

TEST_F(FrameTest, RotationHintIsWholeOnPage1FramesAndLacksItsFirstRadianOnPage0Frames) {
  auto& g = program();
  g.circle_radius = 50;
  g.mouse_in_circle = 1;
  draw_frame();
  const std::vector<std::uint8_t> page_0_frame = page();
  EXPECT_TRUE(shows(14, 36, "elforgatas", 14));
  draw_frame();
  const std::vector<std::uint8_t> page_1_frame = page();
  EXPECT_TRUE(shows(14, 36, "elforgatas", 14));

  set_color(14);
  clear_screen();
  draw_circle(320, 220, 50, 0, 0, 0, 0, 4);
  const std::vector<std::uint8_t> ring = page();
  clear_screen();
  draw_circle(320, 220, 50, 0, 1, 0, 0, 4);
  const std::vector<std::uint8_t> arc = page();

  int gap = 0, missing_on_page_1 = 0, drawn_on_page_0 = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    if (ring[i] == 0) continue;
    missing_on_page_1 += page_1_frame[i] != 14 && page_1_frame[i] != cube_colour;
    if (arc[i] != 0)
      drawn_on_page_0 += page_0_frame[i] == 14 || page_0_frame[i] == cube_colour;
    else
      gap += page_0_frame[i] == 0;
  }
  EXPECT_EQ(missing_on_page_1, 0);
  EXPECT_EQ(drawn_on_page_0, std::count_if(arc.begin(), arc.end(), [](std::uint8_t c) { return c != 0; }));
  EXPECT_GT(gap, 20);
}

TEST_F(FrameTest, NoHintOutsideTheCircleOrDuringADrag) {
  auto& g = program();
  g.circle_radius = 50;
  const float cases[][2] = {{0, 0}, {1, 1}, {0, 1}};  // mouse_in_circle, rotation_drag
  for (const auto& c : cases) {
    g.mouse_in_circle = c[0];
    g.rotation_drag = c[1];
    draw_frame();
    EXPECT_EQ(pixels_of_colour(14), 0) << c[0] << ", " << c[1];
  }
}

// Three particles of kinds 0 and 2; kind 1 has none and kind 3 is beyond the number of kinds.
TEST_F(FrameTest, ParticlesAreDrawnInTheChosenShapeOnly) {
  auto& g = program();
  n_kinds() = 3;
  const float counts[] = {1, 0, 2, 5};
  for (int kind = 0; kind < 4; ++kind) g.color_count(kind) = counts[kind];
  g.particle_size = 3;
  struct Case {
    float shape;
    unsigned events;
  } const cases[] = {{0, 24 + 3 * 24}, {1, 24 + 3 * 6}, {2, 24 + 3}, {3, 24}, {-1, 24}, {0.5f, 24}};
  queue_events(2000);
  for (const Case& c : cases) {
    g.particle_shape = c.shape;
    EXPECT_EQ(events_taken_by_frame(), c.events) << c.shape;
  }
}

TEST_F(FrameTest, PixelParticlesTakeTheirKindsColour) {
  auto& g = program();
  g.rot_angle_c = g.rot_angle_a = 0;
  g.graphics_scale = 0.8f;
  n_kinds() = 3;
  g.color_count(0) = 1;
  g.color_count(2) = 1;
  g.kind_colour(0) = 9;
  g.kind_colour(2) = 12.5f;
  g.particle(0, 0, 0) = 10, g.particle(0, 0, 1) = 20, g.particle(0, 0, 2) = 30;
  g.particle(2, 0, 0) = 10, g.particle(2, 0, 1) = 20, g.particle(2, 0, 2) = -30;
  g.particle_shape = 2;
  draw_frame();
  EXPECT_EQ(drawing_page().pixel(406, 249), 9);
  EXPECT_EQ(drawing_page().pixel(234, 249), 12);
}

// A damaged state file can bring counts beyond the particle table: each coordinate read of
// such a particle is reported, and the frame goes on when the user continues.
TEST_F(FrameTest, ACountBeyondTheParticleTableDrawsTheParticlesTheTableHolds) {
  auto& g = program();
  n_kinds() = 1;
  g.color_count(0) = 1E6f;
  g.particle_shape = 2;
  draw_frame();
  EXPECT_TRUE(host.reports.empty());
  EXPECT_EQ(g.loop_j, 801);
}

// What a frame leaves: the page, the last point, the mouse events taken and the context's
// variables that the particle loop and the shape drawers write.
struct FrameOutcome {
  std::vector<std::uint8_t> pixels;
  std::vector<float> values;
  unsigned events = 0;

  bool operator==(const FrameOutcome&) const = default;
};

// Many large particles of three colours over one another, some beyond the clip box, drawn by
// one thread and by four: the workers draw every particle but the last ahead, and the frames
// must not differ in a single pixel or value.
TEST_F(FrameTest, ParticlesDrawnAheadGiveTheFrameOfOneThread) {
  auto& g = program();
  g.graphics_scale = 0.8f;
  g.rot_angle_c = 20, g.rot_angle_a = 35;
  n_kinds() = 4;
  const float colours[] = {9, 12.5f, 14, 3}, counts[] = {250, 1, 350, 0};
  for (int kind = 0; kind < 4; ++kind) {
    g.kind_colour(kind) = colours[kind];
    g.color_count(kind) = counts[kind];
    for (int j = 0; j < counts[kind]; ++j)
      for (int axis = 0; axis < 3; ++axis) g.particle(kind, j, axis) = rnd() * 240 - 120;
  }
  // The last particle lies beyond the box, so the last point drawn is one drawn ahead.
  for (int axis = 0; axis < 3; ++axis) g.particle(2, 349, axis) = 400;
  g.particle_size = 9;
  const auto frame_with_threads = [&](int threads) {
    set_worker_count(threads);
    g.draw_page = 0;
    g.mouse_event = 0;
    queue_events(1200);
    FrameOutcome outcome;
    outcome.events = events_taken_by_frame();
    outcome.pixels = page();
    const ScreenState& screen = runtime().screen;
    outcome.values = {g.loop_i,  g.loop_j,   g.obj_x,     g.obj_y,     g.obj_z,     g.obj_size,  g.line_color,
                      g.half_size, g.seg_ax, g.seg_ay,    g.seg_az,    g.seg_bx,    g.seg_by,    g.seg_bz,
                      g.scr_ax,  g.scr_ay,   g.scr_bx,    g.scr_by,    g.proj_x,    g.proj_y,    g.proj_z,
                      g.screen_x, g.screen_y, g.tan_ratio, g.new_x,    g.polar_r,   g.clipped,   g.mouse_event,
                      screen.last_x, screen.last_y};
    return outcome;
  };
  for (float shape : {0.0f, 1.0f, 2.0f}) {
    g.particle_shape = shape;
    const FrameOutcome alone = frame_with_threads(1);
    EXPECT_TRUE(alone == frame_with_threads(4)) << "shape " << shape;
  }
  set_worker_count(0);
}

}  // namespace
