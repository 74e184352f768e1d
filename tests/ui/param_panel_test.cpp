#include "ui/param_panel.h"

#include <gtest/gtest.h>

#include <array>

#include "app/startup.h"
#include "ui/mouse_handling.h"
#include "ui_fixture.h"

namespace {

class ParamPanel : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    set_view_constants();
    auto& g = program();
    g.circle_radius = 50;
    g.central_attraction = 50;
    g.particle_size = 3;
    g.cube_confine = 0;
    g.step_size = 50;
    g.particle_shape = 0;
    g.auto_rotate_speed = 0.3f;
    g.max_particles = 100;
    g.show_centers = 0;
    g.panel_shown = 1;
  }
  static std::array<float, 9> parameters() {
    auto& g = program();
    return {g.central_attraction, g.particle_size, g.cube_confine,      g.step_size,    g.graphics_scale,
            g.particle_shape,     g.auto_rotate_speed, g.max_particles, g.show_centers};
  }
  // One frame's panel records the row, then the next pass's mouse handling clicks.
  static void click(int x, int y, std::uint16_t buttons) {
    pointer(x, y, buttons);
    draw_param_panel();
    program().mouse_event = -1;
    handle_mouse();
  }
};

TEST_F(ParamPanel, ClickStepsTheParameterOfTheRecordedRow) {
  const struct {
    int x, y;
    std::uint16_t buttons;
    float UiVars::*variable;
    float start, after;
  } cases[] = {
      {10, 0, mouse_bit_left, &UiVars::central_attraction, 50, 45},
      {10, 15, mouse_bit_right, &UiVars::central_attraction, 50, 55},
      {10, 16, mouse_bit_left | mouse_bit_right, &UiVars::particle_size, 3, 4},
      {10, 50, mouse_bit_left, &UiVars::step_size, 50, 49},
      {10, 64, mouse_bit_right, &UiVars::graphics_scale, 0.8f, 0.85f},
      {10, 64, mouse_bit_left, &UiVars::graphics_scale, 0.8f, 0.75f},
      {10, 80, mouse_bit_right, &UiVars::particle_shape, 2, 0},
      {10, 80, mouse_bit_left, &UiVars::particle_shape, 0, 2},
      {10, 80, mouse_bit_right, &UiVars::particle_shape, 1, 2},
      {10, 80, mouse_bit_left, &UiVars::particle_shape, 4, 0},   // a loaded 4 steps to 3, which wraps
      {10, 80, mouse_bit_right, &UiVars::particle_shape, 4, 5},
      {10, 96, mouse_bit_left, &UiVars::auto_rotate_speed, 0, 0.05f},
      {10, 96, mouse_bit_left, &UiVars::auto_rotate_speed, 0.3f, 0.25f},
      {10, 96, mouse_bit_left, &UiVars::auto_rotate_speed, 0.02f, 0.03f},
      {10, 96, mouse_bit_right, &UiVars::auto_rotate_speed, 0.3f, 0.35f},
      {10, 112, mouse_bit_right, &UiVars::max_particles, 100, 110},
      {10, 112, mouse_bit_left, &UiVars::max_particles, 100, 90},
      {10, 112, mouse_bit_right, &UiVars::max_particles, 100.5f, 110},
      {10, 112, mouse_bit_left, &UiVars::max_particles, 0, -10},
      {10, 128, mouse_bit_left, &UiVars::show_centers, 0, 1},
      {10, 143, mouse_bit_right, &UiVars::show_centers, 1, 0},
      {639, 20, mouse_bit_right, &UiVars::particle_size, 3, 4},   // anywhere on the row
  };
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    auto& g = program();
    g.*c.variable = c.start;
    click(c.x, c.y, c.buttons);
    EXPECT_FLOAT_EQ(g.*c.variable, c.after) << c.x << ", " << c.y << " from " << c.start;
    EXPECT_EQ(g.mouse_event, 0);
  }
}

TEST_F(ParamPanel, HiddenPanelStillTakesClicksButNotWhileTheMenuOrADragRuns) {
  const struct {
    float panel_shown, menu_visible, circle_radius;
    int y;
    std::uint16_t buttons;
    bool edits;
  } cases[] = {
      {0, 0, 50, 20, mouse_bit_right, true},     // pointer beyond x 630: panel hidden
      {1, 1, 50, 20, mouse_bit_right, false},    // menu shown
      {1, 0, 250, 20, mouse_bit_left, false},    // the press starts a rotation drag
      {1, 0, 50, 144, mouse_bit_right, false},   // screen row 10
      {1, 0, 50, 20, 0, false},
  };
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    auto& g = program();
    g.panel_shown = c.panel_shown;
    g.menu_visible = c.menu_visible;
    g.circle_radius = c.circle_radius;
    const auto before = parameters();
    pointer(320, c.y, c.buttons);
    draw_param_panel();
    EXPECT_EQ(g.panel_row, c.y / 16);
    g.mouse_event = -1;
    handle_mouse();
    auto expected = before;
    if (c.edits) expected[1] = before[1] + (c.buttons == mouse_bit_left ? -1 : 1);
    EXPECT_EQ(parameters(), expected) << c.panel_shown << c.menu_visible << " y " << c.y;
  }
}

TEST_F(ParamPanel, CubeRowScattersOnEveryRightClick) {
  auto& g = program();
  const struct {
    std::uint16_t buttons;
    float confine;
    bool scatters;
  } clicks[] = {
      {mouse_bit_left, 0, false},
      {mouse_bit_right, 1, true},
      {mouse_bit_right, 1, true},
      {mouse_bit_left, 0, false},
  };
  for (const auto& c : clicks) {
    g.particle(0, 0, 0) = 1000;
    g.particle(39, 239, 2) = 1000;
    click(10, 40, c.buttons);
    pointer(10, 40);  // release, so that the next click is a new press
    EXPECT_EQ(g.cube_confine, c.confine);
    EXPECT_EQ(g.particle(0, 0, 0) != 1000, c.scatters);
    EXPECT_EQ(g.particle(39, 239, 2) != 1000, c.scatters);
    EXPECT_LE(std::abs(g.particle(0, 0, 0)), c.scatters ? 50 : 1000);
  }
}

TEST_F(ParamPanel, DrawsNineLabelledRowsWithThePointersRowWhite) {
  program().show_centers = 1;
  program().central_attraction = -5;
  pointer(500, 40);
  draw_param_panel();
  EXPECT_EQ(program().panel_row, 2);
  const std::string rows[] = {
      "kozepponti vonzas:-5 ", "babu merete      : 3 ", "kockaba zarva    : 0 ",
      "elmozditas nagys : 50 ", "grafika nagysag  : .8 ", "babu alakja      : 0 ",
      "auto forg nagysag:  0.30", "max babuk szama  : 100 ", "babuk atlagpont m: 1 ",
  };
  for (int r = 0; r < 9; ++r) {
    const int colour = r == 2 ? 15 : 8;
    EXPECT_EQ(text_at(r + 1, 1, 25, colour), rows[r] + std::string(25 - rows[r].size(), ' ')) << r;
    EXPECT_EQ(text_at(r + 1, 1, 25, 23 - colour), std::string(25, ' ')) << r;
  }
  EXPECT_EQ(drawing_page().cursor_row, 10);
  EXPECT_EQ(drawing_page().cursor_column, 1);
}

TEST_F(ParamPanel, NothingIsDrawnWhileHiddenOrUnderTheMenu) {
  const struct {
    float panel_shown, menu_visible;
  } cases[] = {{0, 0}, {1, 1}, {0, 1}};
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    program().panel_shown = c.panel_shown;
    program().menu_visible = c.menu_visible;
    pointer(635, 100);
    draw_param_panel();
    EXPECT_EQ(program().panel_row, 6);
    const auto& pixels = drawing_page().pixels;
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), static_cast<long>(pixels.size()));
  }
}

}  // namespace
