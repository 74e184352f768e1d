#include <gtest/gtest.h>

#include <string>

#include "runtime/font.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/page_dump.h"
#include "support/page_text.h"

namespace {

class ScreenText : public FreshPixelProgram {
 protected:
  void SetUp() override {
    FreshPixelProgram::SetUp();
    set_screen_mode(12, 0, 1, 13);
  }
  Page& page() { return drawing_page(); }
  void print_at(int row, int column, const std::string& text) {
    set_text_cursor(row, column);
    print_text(text, false);
  }
  void expect_cursor(int row, int column, bool pending) {
    EXPECT_EQ(page().cursor_row, row);
    EXPECT_EQ(page().cursor_column, column);
    EXPECT_EQ(page().line_end_pending, pending);
  }
};

struct TotalCase {
  const char* number;
  int label_row;        // where "osszes babu:" stands afterwards
  int number_row, number_column;
  bool scrolled;
};

TEST_F(ScreenText, ParticleTotalIsPlacedWrappedOrScrolledByItsWidth) {
  const TotalCase cases[] = {
      {" 25 ", 28, 28, 76, false},
      {" 100 ", 28, 28, 76, false},
      {" 1000 ", 27, 28, 1, true},
  };
  for (const TotalCase& c : cases) {
    SCOPED_TRACE(c.number);
    clear_screen();
    print_at(2, 1, "marker");
    set_text_cursor(28, 64);
    print_item("osszes babu:");
    print_item(c.number);
    print_text("", true);
    const std::string number = c.number;
    EXPECT_EQ(text_at(page(), c.label_row, 64, 12), "osszes babu:");
    EXPECT_EQ(text_at(page(), c.number_row, c.number_column, static_cast<int>(number.size())), number);
    EXPECT_EQ(text_at(page(), c.scrolled ? 1 : 2, 1, 6), "marker");
    EXPECT_EQ(text_at(page(), 29, 1, 80), std::string(80, ' '));
    expect_cursor(29, 1, false);
  }
}

TEST_F(ScreenText, LongTextMovesToTheNextRowWithoutScrolling) {
  print_at(2, 1, "marker");
  const std::string help(78, 'h');
  set_text_cursor(28, 40);
  print_item(help);
  EXPECT_EQ(text_at(page(), 29, 1, 78), help);
  EXPECT_EQ(text_at(page(), 28, 40, 41), std::string(41, ' '));
  EXPECT_EQ(text_at(page(), 2, 1, 6), "marker");
  expect_cursor(29, 79, false);
}

TEST_F(ScreenText, TextEndingInTheLastColumnLeavesOneLineEndPending) {
  const std::string text(31, 'x');
  set_text_cursor(5, 50);
  print_item(text);
  EXPECT_EQ(text_at(page(), 5, 50, 31), text);
  expect_cursor(5, 80, true);
  print_text("", true);
  expect_cursor(6, 1, false);
  // A following text performs a pending line end before its first byte; a second text wraps
  // inside the call when more bytes follow column 80.
  set_text_cursor(7, 80);
  print_text("a", false);
  print_text("b", false);
  EXPECT_EQ(text_at(page(), 7, 80, 1), "a");
  EXPECT_EQ(text_at(page(), 8, 1, 1), "b");
  set_text_cursor(10, 79);
  print_text("cde", true);
  EXPECT_EQ(text_at(page(), 10, 79, 2), "cd");
  EXPECT_EQ(text_at(page(), 11, 1, 1), "e");
  expect_cursor(12, 1, false);
  set_text_cursor(12, 80);
  print_text("f", true);
  expect_cursor(13, 1, false);
}

TEST_F(ScreenText, ScrollMovesRowsTwoToTwentyNineAndLeavesRowThirty) {
  print_at(1, 1, "first");
  print_at(2, 1, "second");
  print_at(29, 1, "bottom");
  print_at(30, 1, "status");
  set_color(15, 4, 2);
  set_text_cursor(29, 10);
  print_text("", true);
  EXPECT_EQ(text_at(page(), 1, 1, 6), "second");
  EXPECT_EQ(text_at(page(), 28, 1, 6), "bottom");
  EXPECT_EQ(text_at(page(), 30, 1, 6), "status");
  for (int y = 28 * 16; y < 29 * 16; ++y)
    for (int x = 0; x < screen_width; x += 7) ASSERT_EQ(page().pixel(x, y), 4) << x << "," << y;
  expect_cursor(29, 1, false);
  // A line end on row 30 scrolls too and lands on row 29.
  set_color(15, 0, 2);
  set_text_cursor(30, 1);
  print_text("", true);
  EXPECT_EQ(text_at(page(), 27, 1, 6), "bottom");
  EXPECT_EQ(text_at(page(), 30, 1, 6), "status");
  expect_cursor(29, 1, false);
}

TEST_F(ScreenText, CursorAcceptsRowThirtyAndRejectsCellsOffTheScreen) {
  struct Case {
    int row, column;
    bool accepted;
  };
  const Case cases[] = {{30, 1, true}, {29, 80, true}, {1, 1, true}, {31, 1, false},
                        {29, 81, false}, {0, 5, false}, {5, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
    set_text_cursor(3, 80);
    print_text("z", false);  // leaves a line end pending at (3, 80)
    set_text_cursor(c.row, c.column);
    if (c.accepted) {
      EXPECT_EQ(runtime().failures.pending, 0);
      expect_cursor(c.row, c.column, false);
    } else {
      EXPECT_EQ(runtime().failures.pending, 5);
      expect_cursor(3, 80, true);
    }
    runtime().failures.pending = 0;
  }
  // Setting only the row still clears the pending line end.
  set_text_cursor(4, 80);
  print_text("z", false);
  set_text_cursor(6, 0, 1);
  expect_cursor(6, 80, false);
}

TEST_F(ScreenText, GlyphsReplaceCellPixelsInForegroundAndBackground) {
  std::fill(page().pixels.begin(), page().pixels.end(), 9);
  set_color(12, 1, 3);
  set_text_cursor(3, 5);
  print_text("\xdb" "A \x1b", false);
  const int top = 2 * 16;
  for (int cell = 0; cell < 4; ++cell) {
    const unsigned char code = "\xdb" "A \x1b"[cell];
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 8; ++x) {
        const bool set = (font_glyphs[code][y] & (0x80u >> x)) != 0;
        ASSERT_EQ(page().pixel(4 * 8 + cell * 8 + x, top + y), set ? 12 : 1) << "cell " << cell << " " << x << "," << y;
      }
  }
  EXPECT_EQ(page().pixel(4 * 8 - 1, top), 9);
  EXPECT_EQ(page().pixel(8 * 8, top), 9);
  EXPECT_EQ(page().pixel(4 * 8, top - 1), 9);
  EXPECT_EQ(page().pixel(4 * 8, top + 16), 9);
  // The full block fills its cell, the blank clears it.
  EXPECT_TRUE(cell_matches_glyph(page(), 3, 5, 219, 1));
  for (int y = 0; y < 16; ++y) EXPECT_EQ(font_glyphs[219][y], 0xff);
  for (int y = 0; y < 16; ++y) EXPECT_EQ(font_glyphs[32][y], 0);
}

TEST_F(ScreenText, ColourAboveFifteenIsRejectedInTheGraphicsMode) {
  set_color(16, 0, 1);
  EXPECT_EQ(runtime().failures.pending, 5);
  EXPECT_EQ(page().foreground, 15);
  runtime().failures.pending = 0;
  set_color(3, 16, 3);
  EXPECT_EQ(runtime().failures.pending, 5);
  EXPECT_EQ(page().foreground, 15);
  EXPECT_EQ(page().background, 0);
}

TEST_F(ScreenText, CommaTabMovesToTheNextZoneThatStillHasFourteenColumns) {
  struct Case {
    int from, to;
    bool pending;
  };
  const Case cases[] = {{1, 15, false}, {14, 15, false}, {15, 29, false}, {56, 57, false},
                        {57, 80, false}, {70, 80, false}, {80, 80, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    clear_screen();
    set_color(15, 2, 2);
    set_text_cursor(4, c.from);
    print_comma_tab();
    expect_cursor(4, c.to, c.pending);
    // The blanks were printed in the background colour.
    EXPECT_EQ(page().pixel((c.from - 1) * 8, 3 * 16), 2);
    set_color(15, 0, 2);
  }
  // A pending line end is performed and nothing else.
  set_text_cursor(4, 80);
  print_text("q", false);
  print_comma_tab();
  expect_cursor(5, 1, false);
}

TEST_F(ScreenText, PendingFailureStopsEverythingButTheFitCheck) {
  set_text_cursor(5, 70);
  print_text("abc", false);
  runtime().failures.pending = 6;
  const auto pixels_before = page().pixels;
  set_color(4, 4, 3);
  set_text_cursor(9, 9);
  print_text("xyz", true);
  print_comma_tab();
  EXPECT_EQ(page().pixels, pixels_before);
  EXPECT_EQ(page().foreground, 15);
  expect_cursor(5, 73, false);
  print_fit_check(std::string(20, 'w'));
  expect_cursor(6, 1, false);
  EXPECT_EQ(runtime().failures.pending, 6);
}

}  // namespace
