#include "ui/grid_drawing.h"

#include <gtest/gtest.h>

#include <string>

#include "support/rule_rows.h"
#include "ui/grid_layout.h"
#include "ui_fixture.h"

namespace {

class GridDrawing : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    auto& g = program();
    g.cell_w = 4;
    g.cell_h = 1;
    g.panel_shown = 1;
    lay_out(3);
  }
  // The factory model with the given number of kinds, laid out.
  static void lay_out(int kinds) {
    for (int j = 0; j < 40; ++j) {
      value(j) = static_cast<float>(j % 15 + 1);
      value(40 + j) = 5;
    }
    n_kinds() = static_cast<float>(kinds);
    build_cell_grid();
  }
  static float& value(int row) { return program().model_table(row, cell_value); }
  static int pixel(int x, int y) { return drawing_page().pixel(x, y); }
  // How many pixels of the text cell (0-based column, row) have the colour.
  static int cell_pixels(int column, int row, int colour) {
    int count = 0;
    for (int y = 16 * row; y < 16 * row + 16; ++y)
      for (int x = 8 * column; x < 8 * column + 8; ++x) count += pixel(x, y) == colour;
    return count;
  }
};

TEST_F(GridDrawing, PointerHoversTheCellWhoseZoneStartsTwoColumnsLeftOfIt) {
  const struct {
    int x, y, cell;
  } cases[] = {
      {0, 368, kinds_row},   {23, 383, kinds_row}, {24, 368, 40},  {55, 383, 40},
      {56, 368, 41},         {0, 367, -1},         {0, 384, -1},   {24, 384, 0},
      {56, 400, rule_table_row(0, 1)}, {104, 432, rule_table_row(2, 2)}, {120, 432, -1},
      {200, 100, -1},        {40, 448, -1},
  };
  for (const auto& c : cases) {
    pointer(c.x, c.y);
    draw_cell_grid();
    EXPECT_EQ(program().hit_cell, c.cell) << c.x << ", " << c.y;
  }
}

TEST_F(GridDrawing, HoveredKindsCellIsWhiteAndOutlined) {
  pointer(5, 370);
  draw_cell_grid();
  ASSERT_EQ(program().hit_cell, kinds_row);
  // The outline runs from (10, 369) to (31, 381), partly over the blank before " 3".
  for (const auto& [x, y] : {std::pair{10, 369}, {12, 369}, {31, 369}, {31, 375}, {31, 381}, {20, 381}, {10, 381}, {10, 375}})
    EXPECT_EQ(pixel(x, y), 15) << x << ", " << y;
  for (const auto& [x, y] : {std::pair{9, 369}, {12, 370}, {30, 375}, {32, 369}, {10, 368}, {10, 382}})
    EXPECT_NE(pixel(x, y), 15) << x << ", " << y;
  EXPECT_GT(cell_pixels(2, 23, 15), 0);  // the digit 3
  EXPECT_EQ(cell_pixels(2, 23, 7), 0);
  EXPECT_GT(cell_pixels(10, 25, 7), 0);  // rule cell 0 -> 1: " 0" in grey
  EXPECT_EQ(cell_pixels(10, 25, 15), 0);
}

TEST_F(GridDrawing, KindColoursMarkCountAndColourCellsAndTheLabels) {
  value(1) = 12;
  pointer(60, 370);  // over kind 1's count cell
  draw_cell_grid();
  ASSERT_EQ(program().hit_cell, 41);
  EXPECT_GT(cell_pixels(10, 23, 12), 0);  // hovered, still in its kind's colour
  EXPECT_EQ(cell_pixels(10, 23, 7), 0);
  EXPECT_GT(cell_pixels(6, 23, 1), 0);
  const struct {
    int column, row, colour;
  } blocks[] = {
      {5, 24, 1}, {6, 24, 1}, {9, 24, 12}, {10, 24, 12}, {13, 24, 3},  // colour cells
      {2, 25, 1}, {3, 25, 1}, {2, 26, 12}, {3, 26, 12}, {2, 27, 3},    // labels
  };
  for (const auto& b : blocks) EXPECT_EQ(cell_pixels(b.column, b.row, b.colour), 128) << b.column << ", " << b.row;
  EXPECT_EQ(cell_pixels(4, 25, 1), 0);
}

// A colour outside the palette fails each colour set that takes it, and the report's Yes goes
// on with the next statement: the kind's blocks, its label and its count are drawn in the grey
// that was set before, and the rest of the grid as usual.
TEST_F(GridDrawing, ColourOutsideThePaletteIsReportedPerSetAndTheCellStillDrawn) {
  host.answer_when_unscripted = true;
  value(0) = 16;
  pointer(300, 300);
  draw_cell_grid();
  ASSERT_EQ(host.reports.size(), 2u);  // the colour cell's own set, then its count cell's
  for (const ErrorReport& report : host.reports) EXPECT_EQ(report.caption, "Unhandled Error #5");
  EXPECT_FALSE(failure_pending());
  for (const auto& [column, row] : {std::pair{5, 24}, {6, 24}, {2, 25}, {3, 25}})
    EXPECT_EQ(cell_pixels(column, row, 7), 128) << column << ", " << row;
  EXPECT_GT(cell_pixels(6, 23, 7), 0);  // the count " 5"
  EXPECT_EQ(cell_pixels(9, 24, 2), 128);  // kind 1's colour cell
  EXPECT_EQ(program().help_text, std::string(78, ' '));
}

TEST_F(GridDrawing, HelpLineFillsRow29ColumnsOneTo78) {
  const struct {
    int x, y;
    std::string help;
  } cases[] = {
      {5, 370, " 3 kulonbozo babu (identitas) van"},
      {300, 300, ""},
  };
  for (const auto& c : cases) {
    auto& page = drawing_page();
    std::fill(page.pixels.begin(), page.pixels.end(), 5);
    pointer(c.x, c.y);
    draw_cell_grid();
    EXPECT_EQ(program().help_text, c.help + std::string(78 - c.help.size(), ' '));
    EXPECT_EQ(page.cursor_row, 29);
    EXPECT_EQ(page.cursor_column, 79);
    EXPECT_EQ(page.foreground, 14);
    for (int column = 0; column < 78; ++column) {
      const int expected_blank = column >= static_cast<int>(c.help.size()) || c.help[column] == ' ' ? 128 : 0;
      if (expected_blank) EXPECT_EQ(cell_pixels(column, 28, 0), 128) << column;
      else EXPECT_GT(cell_pixels(column, 28, 14), 0) << column;
    }
    EXPECT_EQ(cell_pixels(78, 28, 5), 128);
    EXPECT_EQ(cell_pixels(39, 27, 5), 128);  // nothing printed at row 28, column 40
  }
}

TEST_F(GridDrawing, HiddenPanelDrawsNothingAndKeepsTheHoveredCell) {
  program().panel_shown = 0;
  program().hit_cell = 41;
  pointer(5, 370);
  draw_cell_grid();
  EXPECT_EQ(program().hit_cell, 41);
  EXPECT_EQ(cell_pixels(5, 24, 1), 0);
}

TEST_F(GridDrawing, ClickStepsTheHoveredCellWithinItsLimits) {
  const struct {
    int x, y;
    std::uint16_t buttons;
    float event, start, after, changed;
  } cases[] = {
      {56, 400, mouse_bit_right, -1, 1, 1, 1},                   // rule at +1: kept, still rebuilt
      {56, 400, mouse_bit_left, -1, 1, 0, -1},
      {56, 400, mouse_bit_left | mouse_bit_right, -1, 0, 1, 1},  // both buttons: +1
      {56, 400, mouse_bit_right, -1, -5, -1, 1},                 // outside the limits: step, then clamp
      {24, 368, mouse_bit_left, -1, 1, 1, -1},                   // count at its minimum
      {24, 368, mouse_bit_left, -1, 700, 600, -1},
      {24, 368, mouse_bit_right, 0, 5, 5, 0},                    // no new mouse input
      {24, 368, 0, -1, 5, 5, 0},                                 // no button
      {300, 300, mouse_bit_right, -1, 5, 5, 0},                  // no cell hovered
  };
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    auto& g = program();
    pointer(c.x, c.y, c.buttons);
    draw_cell_grid();
    const int cell = g.hit_cell == -1 ? 40 : static_cast<int>(g.hit_cell);
    value(cell) = c.start;
    g.mouse_event = c.event;
    edit_hovered_cell();
    EXPECT_EQ(value(cell), c.after) << c.x << ", " << c.y << " from " << c.start;
    EXPECT_EQ(g.panel_changed, c.changed) << c.x << ", " << c.y << " from " << c.start;
  }
}

TEST_F(GridDrawing, CellsStartingBeyondTheTextScreenAreNeitherDrawnNorHovered) {
  const struct {
    int kinds;
    int count_of_kind_18;
    int x, y;
    int cell;
  } cases[] = {
      {20, 5, 632, 96, -1},    // kind 19's count cell at column 81
      {20, 100, 616, 96, 58},  // " 100" at column 77 is cut at column 80, still hovered
      {20, 99, 616, 96, 58},   // " 99" fits in columns 78-80
      {30, 5, 600, 0, rule_table_row(2, 18)},  // the rows of kinds 0 and 1 lie above text row 0
      {30, 5, 600, 432, rule_table_row(29, 18)},
  };
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    lay_out(c.kinds);
    value(58) = static_cast<float>(c.count_of_kind_18);
    pointer(c.x, c.y);
    draw_cell_grid();
    EXPECT_EQ(program().hit_cell, c.cell) << c.kinds << " kinds at " << c.x << ", " << c.y;
    EXPECT_TRUE(host.reports.empty()) << c.kinds;
    EXPECT_EQ(drawing_page().cursor_row, 29) << c.kinds;  // the help line has not scrolled
  }
}

TEST_F(GridDrawing, OnlyCellsStartingOnTheScreenAndTheirLabelsAreDrawn) {
  lay_out(20);
  value(58) = 100;
  pointer(300, 300);
  draw_cell_grid();
  // Kind 18's count is cut at column 80 rather than wrapped to column 1 of the colour row.
  EXPECT_EQ(cell_pixels(0, 7, 15) + cell_pixels(0, 7, 7), 0);
  EXPECT_EQ(text_at(7, 78, 3, 4), " 10");
  // Kind 19's own cells lie beyond column 80, but its rule row keeps its label.
  EXPECT_EQ(cell_pixels(2, 27, 5), 128);
  EXPECT_EQ(cell_pixels(78, 7, 4), 128);
  lay_out(30);
  draw_cell_grid();
  // With 30 kinds the rule rows of kinds 0 and 1 lie above the screen, and so do their labels.
  EXPECT_EQ(cell_pixels(2, 0, 3), 128);
  EXPECT_EQ(cell_pixels(2, 29, 0), 128);
  EXPECT_TRUE(host.reports.empty());
}

// Kind 18's counts, cut at column 80, are in the tests above and below.
TEST_F(GridDrawing, ATextTooWideForItsRowStartsTheNextRow) {
  auto& g = program();
  lay_out(18);
  value(57) = -11111112;  // kind 17: count cell at 1-based row 9, column 74, colour 3
  build_cell_grid();
  // Kind 0's rule cells stand in the next row; hidden, nothing prints over the moved count.
  for (int c = 0; c < 18; ++c) g.model_table(rule_table_row(0, c), cell_visible) = 0;
  pointer(300, 300);
  draw_cell_grid();
  EXPECT_EQ(text_at(10, 1, 13, 3), "-1.111111E+07");
  EXPECT_EQ(text_at(9, 74, 7, 3), "       ") << "the count left its own place";
  EXPECT_EQ(drawing_page().cursor_row, 29) << "the help line has not scrolled";
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(GridDrawing, ACountCutAtColumn80IsHoveredOutlinedHelpedAndEdited) {
  auto& g = program();
  lay_out(19);
  value(58) = 100;  // kind 18: count cell at 0-based column 77, row 7, colour 4
  build_cell_grid();
  pointer(620, 117, mouse_bit_left);
  draw_cell_grid();
  ASSERT_EQ(g.hit_cell, 58);
  EXPECT_EQ(text_at(8, 78, 3, 4), " 10");
  for (const auto& [x, y] : {std::pair{618, 113}, {639, 113}, {639, 125}, {618, 125}})
    EXPECT_EQ(pixel(x, y), 15) << x << ", " << y;
  EXPECT_EQ(cell_pixels(0, 8, 4) + cell_pixels(0, 8, 7) + cell_pixels(0, 8, 15), 0);  // nothing wrapped
  const std::string help = g.cell_help(58);
  EXPECT_NE(help.find("darabszama: 100 db"), std::string::npos) << help;
  EXPECT_EQ(text_at(29, 1, static_cast<int>(help.size()), 14), help);

  g.mouse_event = -1;
  edit_hovered_cell();
  EXPECT_EQ(value(58), 99);
  build_cell_grid();
  draw_cell_grid();
  EXPECT_EQ(text_at(8, 78, 3, 4), " 99");
  EXPECT_EQ(g.hit_cell, 58);
  EXPECT_TRUE(host.reports.empty());
}

}  // namespace
