#include "ui/mouse_handling.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "ui_fixture.h"

namespace {

class MouseHandling : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    set_view_constants();
    program().circle_radius = 50;
  }
  // A pass whose drawing took the pointer's new event.
  static void pass(int x, int y, std::uint16_t buttons) {
    pointer(x, y, buttons);
    program().mouse_event = -1;
    handle_mouse();
  }
};

TEST_F(MouseHandling, OnlyAPressStrictlyInsideTheCircleWithTheLeftButtonStartsADrag) {
  const struct {
    int x, y;
    std::uint16_t buttons;
    float dist, inside, drag;
  } cases[] = {
      {370, 220, mouse_bit_left, 50, 0, 0},   // exactly on the radius
      {350, 260, mouse_bit_left, 50, 0, 0},
      {369, 220, mouse_bit_left, 49, 1, 1},
      {320, 220, mouse_bit_left, 0, 1, 1},
      {330, 230, mouse_bit_right, 14.1421356f, 1, 0},
      {330, 230, 0, 14.1421356f, 1, 0},
  };
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    pass(c.x, c.y, c.buttons);
    auto& g = program();
    EXPECT_FLOAT_EQ(g.mouse_dist, c.dist) << c.x << ", " << c.y;
    EXPECT_EQ(g.mouse_in_circle, c.inside) << c.x << ", " << c.y;
    EXPECT_EQ(g.rotation_drag, c.drag) << c.x << ", " << c.y;
    EXPECT_EQ(g.drag_active, c.drag) << c.x << ", " << c.y;
    EXPECT_EQ(g.rot_angle_a, 15);
    EXPECT_EQ(g.rot_angle_c, 70);
  }
}

TEST_F(MouseHandling, DragTurnsOneDegreePerPixelFromItsStartUntilRelease) {
  auto& g = program();
  pass(330, 225, mouse_bit_left);
  ASSERT_EQ(g.rotation_drag, 1);
  EXPECT_EQ(g.drag_x0, 330);
  EXPECT_EQ(g.drag_y0, 225);
  pass(100, 400, mouse_bit_left);  // outside the circle the view keeps following
  EXPECT_EQ(g.rotation_drag, 1);
  EXPECT_EQ(g.rot_angle_c, 70 + 230);
  EXPECT_EQ(g.rot_angle_a, 15 - 175);
  pass(300, 215, mouse_bit_left);  // 30 left and 10 up of the start
  EXPECT_EQ(g.rot_angle_c, 100);
  EXPECT_EQ(g.rot_angle_a, 25);
  pass(300, 215, 0);
  EXPECT_EQ(g.drag_active, 0);
  EXPECT_EQ(g.rotation_drag, 0);
  pass(250, 200, 0);
  EXPECT_EQ(g.rot_angle_c, 100);
  EXPECT_EQ(g.rot_angle_a, 25);
}

TEST_F(MouseHandling, PassWithoutNewInputChangesNothing) {
  auto& g = program();
  pass(330, 225, mouse_bit_left);
  ASSERT_EQ(g.rotation_drag, 1);
  // The release is the last event taken, but the main loop clears the flag over the grid.
  pointer(330, 225, 0);
  g.mouse_event = 0;
  g.mouse_in_circle = 7;
  handle_mouse();
  EXPECT_EQ(g.drag_active, 1);
  EXPECT_EQ(g.rotation_drag, 1);
  EXPECT_EQ(g.mouse_in_circle, 7);
  EXPECT_EQ(g.btn_left, -1);
  // The next event ends the drag.
  pass(331, 225, 0);
  EXPECT_EQ(g.rotation_drag, 0);
  EXPECT_EQ(g.mouse_event, 0);
}

TEST_F(MouseHandling, LeftClickOnTheShownMenuTakesTheLastHoveredEntry) {
  const struct {
    float menu_visible, menu_hover;
    std::uint16_t buttons;
    const char* key;
  } cases[] = {
      {1, 3, mouse_bit_left, "d"},
      {1, 0, mouse_bit_left, "\x1b"},
      {1, 9, mouse_bit_left | mouse_bit_right, "o"},
      {1, 3, mouse_bit_right, ""},
      {0, 3, mouse_bit_left, ""},
  };
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    auto& g = program();
    g.menu_visible = c.menu_visible;
    g.menu_hover = c.menu_hover;
    pass(500, 450, c.buttons);
    EXPECT_EQ(g.pending_key, c.key) << c.menu_visible << " " << c.menu_hover;
  }
}

}  // namespace
