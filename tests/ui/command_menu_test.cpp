#include "ui/command_menu.h"

#include <gtest/gtest.h>

#include "runtime/keyboard.h"
#include "ui/mouse_handling.h"
#include "ui_fixture.h"

namespace {

class CommandMenu : public UiFixture {};

TEST_F(CommandMenu, ShowsForShiftOrThePointerBetween385And629NeverDuringADrag) {
  const struct {
    int x;
    int shift_key;
    float rotation_drag;
    float visible;
  } cases[] = {
      {384, 0, 0, 0},  {385, 0, 0, 1},  {629, 0, 0, 1},  {630, 0, 0, 0},
      {0, key_left_shift, 0, 1},  {639, key_right_shift, 0, 1},
      {500, 0, 1, 0},  {500, key_left_shift, 1, 0},
  };
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    if (c.shift_key != 0) set_key_held(c.shift_key, true);
    program().rotation_drag = c.rotation_drag;
    pointer(c.x, 100);
    draw_menu();
    EXPECT_EQ(program().menu_visible, c.visible) << c.x << " shift " << c.shift_key;
    const auto& pixels = drawing_page().pixels;
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0) != static_cast<long>(pixels.size()), c.visible == 1) << c.x;
    if (c.shift_key != 0) set_key_held(c.shift_key, false);
  }
}

TEST_F(CommandMenu, PointersRowChoosesTheEntryAndOtherRowsKeepTheLastOne) {
  const struct {
    int x, y;
    float hover_after;
  } moves[] = {
      {500, 31, 0}, {500, 32, 0}, {500, 48, 1}, {500, 191, 9}, {500, 192, 9},
      {500, 100, 4}, {500, 479, 4}, {384, 60, 4}, {500, 176, 9},
  };
  for (const auto& m : moves) {
    pointer(m.x, m.y);
    draw_menu();
    EXPECT_EQ(program().menu_hover, m.hover_after) << m.x << ", " << m.y;
  }
}

TEST_F(CommandMenu, EntriesStandAtColumn48FromRow3WithTheHoveredOneWhite) {
  pointer(400, 64);  // text row 4: entry 2
  draw_menu();
  const std::string labels[] = {
      "kilepes", "random erok generalasa", "random erok gen(vonzas nelkul) ", "random darabszam generalasa",
      "egyenlo darabszam generalasa", "babuk helyzete 0-ra (bigbang)", "babuk helyzete random kockaba",
      "jelenlegi allapot mentese", "mentett allapot betoltese", "visszaallitas (gyarivisszaall)",
  };
  const std::string keys = "\x1brtdfcqmbo";
  for (int entry = 0; entry < 10; ++entry) {
    const int row = 3 + entry, colour = entry == 2 ? 15 : 8;
    EXPECT_EQ(text_at(row, 48, 1, 14), keys.substr(entry, 1)) << entry;
    const std::string rest = "-" + labels[entry];
    EXPECT_EQ(text_at(row, 49, static_cast<int>(rest.size()), colour), rest) << entry;
    EXPECT_EQ(text_at(row, 47, 1, 8) + text_at(row, 47, 1, 15), "  ") << entry;
  }
  EXPECT_EQ(program().menu_hover, 2);
  EXPECT_EQ(drawing_page().cursor_row, 13);
  EXPECT_EQ(drawing_page().cursor_column, 1);
}

TEST_F(CommandMenu, ClickAfterAStartRunsTheEscEntry) {
  set_key_held(key_left_shift, true);
  pointer(100, 300, mouse_bit_left);  // on no entry row
  draw_menu();
  program().mouse_event = -1;
  handle_mouse();
  EXPECT_EQ(program().pending_key, "\x1b");
}

TEST_F(CommandMenu, PressInsideTheCircleWithShiftDragsAndClicksInOnePass) {
  auto& g = program();
  g.center_x = 320;
  g.center_y = 220;
  g.circle_radius = 50;
  set_key_held(key_right_shift, true);
  pointer(320, 200, mouse_bit_left);
  draw_menu();
  g.mouse_event = -1;
  handle_mouse();
  EXPECT_EQ(g.rotation_drag, 1);
  EXPECT_EQ(g.pending_key, "\x1b");
  // With the drag running the menu is gone in the next pass.
  draw_menu();
  EXPECT_EQ(g.menu_visible, 0);
}

}  // namespace
