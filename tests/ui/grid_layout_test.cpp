#include "ui/grid_layout.h"

#include <gtest/gtest.h>

#include "support/fresh_program.h"
#include "support/rule_rows.h"
#include "ui/text_tables.h"

namespace {

class GridLayout : public FreshProgram {
 protected:
  void SetUp() override {
    FreshProgram::SetUp();
    init_tables();
    program().cell_w = 4;
    program().cell_h = 1;
  }
  static float& field(int row, int f) { return program().model_table(row, f); }
  static float& value(int row) { return field(row, cell_value); }
  // Kinds in use with the factory colours 1, 2, 3 ... and counts 5.
  static void kinds_in_use(int kinds) {
    n_kinds() = static_cast<float>(kinds);
    for (int j = 0; j < 40; ++j) {
      value(j) = static_cast<float>(j % 15 + 1);
      value(40 + j) = 5;
    }
  }
};

TEST_F(GridLayout, EdgesFollowTheNumberOfKinds) {
  const struct {
    int kinds;
    float row0, right, top;
  } cases[] = {
      {3, 23, 133, 364.8f},
      {1, 25, 69, 396.8f},
      {0, 26, 37, 412.8f},
      {27, -1, 901, -19.2f},
  };
  for (const auto& c : cases) {
    reset_program();
    SetUp();
    kinds_in_use(c.kinds);
    build_cell_grid();
    auto& g = program();
    EXPECT_EQ(g.grid_col0, 1) << c.kinds;
    EXPECT_EQ(g.grid_row0, c.row0) << c.kinds;
    EXPECT_EQ(g.panel_right, c.right) << c.kinds;
    EXPECT_EQ(g.panel_top, c.top) << c.kinds;
    // The last kind's rule row is always text row 27.
    if (c.kinds > 0) {
      EXPECT_EQ(field(rule_table_row(c.kinds - 1, 0), cell_row), 27) << c.kinds;
    }
  }
}

TEST_F(GridLayout, ThreeKindsPlaceEveryCellAndShowOnlyTheKindsInUse) {
  kinds_in_use(3);
  value(rule_table_row(1, 2)) = 7;  // outside the limits: kept as it is
  build_cell_grid();
  const struct {
    int row;
    float column, text_row, minimum, maximum, visible, flag;
  } cells[] = {
      {kinds_row, 1, 23, 1, 39, 1, 1},
      {40, 5, 23, 1, 600, 1, 0},
      {42, 13, 23, 1, 600, 1, 0},
      {43, 17, 23, 1, 600, 0, 0},
      {79, 161, 23, 1, 600, 0, 0},
      {0, 5, 24, 1, 15, 1, 0},
      {2, 13, 24, 1, 15, 1, 0},
      {3, 17, 24, 1, 15, 0, 0},
      {rule_table_row(0, 0), 5, 25, -1, 1, 1, 0},
      {rule_table_row(1, 2), 13, 26, -1, 1, 1, 0},
      {rule_table_row(2, 1), 9, 27, -1, 1, 1, 0},
      {rule_table_row(2, 3), 17, 27, -1, 1, 0, 0},
      {rule_table_row(3, 0), 5, 28, -1, 1, 0, 0},
      {rule_table_row(39, 39), 161, 64, -1, 1, 0, 0},
  };
  for (const auto& c : cells) {
    EXPECT_EQ(field(c.row, cell_column), c.column) << c.row;
    EXPECT_EQ(field(c.row, cell_row), c.text_row) << c.row;
    EXPECT_EQ(field(c.row, cell_minimum), c.minimum) << c.row;
    EXPECT_EQ(field(c.row, cell_maximum), c.maximum) << c.row;
    EXPECT_EQ(field(c.row, cell_visible), c.visible) << c.row;
    EXPECT_EQ(field(c.row, cell_flag), c.flag) << c.row;
  }
  EXPECT_EQ(value(rule_table_row(1, 2)), 7);
  EXPECT_EQ(value(40), 5);
  EXPECT_EQ(n_kinds(), 3);
  // Rows without a cell are left alone.
  EXPECT_EQ(field(1680, cell_visible), 0);
  EXPECT_EQ(program().cell_help(1680), "");
}

TEST_F(GridLayout, HelpTextsNameTheColoursAndValues) {
  kinds_in_use(3);
  value(40) = 33;
  value(rule_table_row(0, 1)) = -1;
  value(rule_table_row(1, 0)) = 1;
  value(rule_table_row(2, 2)) = 0.5f;
  build_cell_grid();
  auto& g = program();
  const struct {
    int row;
    const char* text;
  } cases[] = {
      {kinds_row, " 3 kulonbozo babu (identitas) van"},
      {40, "kek-szinu babuk darabszama: 33 db"},
      {41, "zold-szinu babuk darabszama: 5 db"},
      {0, " 0-jelzesu babuk szine:kek( 1)"},
      {14, " 14-jelzesu babuk szine:feher( 15)"},
      {rule_table_row(0, 1), "kek szinu babu kergeti (vonzza) zold szinu babut "},
      {rule_table_row(0, 2), "kek szinu babu kozombos (semleges) turkisz szinu babura"},
      {rule_table_row(1, 0), "zold szinu babu menekul (taszitja) kek szinu babu elol"},
      {rule_table_row(2, 2), "turkisz szinu babu menekul (taszitja) turkisz szinu babu elol"},
      {rule_table_row(3, 3), "piros szinu babu kozombos (semleges) piros szinu babura"},
  };
  for (const auto& c : cases) EXPECT_EQ(g.cell_help(c.row), c.text) << c.row;
}

TEST_F(GridLayout, CountHelpNamesTheColourTheBuildStartsWith) {
  // A factory build over colour 4 names piros in the count's help, then writes colour 1.
  value(0) = 4;
  program().fresh_setup = 1;
  build_cell_grid();
  EXPECT_EQ(program().cell_help(40), "piros-szinu babuk darabszama: 5 db");
  EXPECT_EQ(value(0), 1);
  EXPECT_EQ(program().cell_help(0), " 0-jelzesu babuk szine:kek( 1)");
}

TEST_F(GridLayout, FactoryBuildOnAZeroedTable) {
  program().fresh_setup = 1;
  build_cell_grid();
  auto& g = program();
  EXPECT_EQ(n_kinds(), 3);
  EXPECT_EQ(g.grid_row0, 26);
  EXPECT_EQ(g.panel_right, 37);
  EXPECT_EQ(field(40, cell_row), 26);
  EXPECT_EQ(field(0, cell_row), 27);
  for (int r = 0; r < 40; ++r) EXPECT_EQ(field(rule_table_row(r, 5), cell_row), 28 + r) << r;
  for (int j = 0; j < 40; ++j) {
    EXPECT_EQ(value(j), static_cast<float>(j % 15 + 1)) << j;
    EXPECT_EQ(value(40 + j), 5) << j;
    EXPECT_EQ(field(j, cell_visible), j < 3 ? 1 : 0) << j;
  }
  EXPECT_EQ(value(29), 15);
  EXPECT_EQ(value(30), 1);
  EXPECT_EQ(value(39), 10);
  EXPECT_EQ(field(rule_table_row(2, 2), cell_visible), 1);
  EXPECT_EQ(field(rule_table_row(2, 3), cell_visible), 0);
  EXPECT_EQ(g.cell_help(kinds_row), " 3 kulonbozo babu (identitas) van");
}

TEST_F(GridLayout, FactoryBuildResetsEveryValue) {
  kinds_in_use(5);
  value(40) = 600;
  value(rule_table_row(1, 1)) = -1;
  program().fresh_setup = 1;
  build_cell_grid();
  EXPECT_EQ(n_kinds(), 3);
  EXPECT_EQ(value(40), 5);
  EXPECT_EQ(value(rule_table_row(1, 1)), 0);
}

TEST_F(GridLayout, ColourOutsideThePaletteRaisesSubscriptOutOfRange) {
  host.answer_when_unscripted = true;
  kinds_in_use(3);
  value(1) = 16;
  build_cell_grid();
  ASSERT_FALSE(host.reports.empty());
  EXPECT_EQ(host.reports[0].caption, "Unhandled Error #9");
  EXPECT_FALSE(failure_pending());
  // Going on finishes the build: the other cells are laid out and described.
  EXPECT_EQ(field(rule_table_row(39, 39), cell_row), 64);
  EXPECT_EQ(program().cell_help(42), "turkisz-szinu babuk darabszama: 5 db");
}

}  // namespace
