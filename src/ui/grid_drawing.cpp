#include "ui/grid_drawing.h"

#include <string>

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/failures.h"
#include "runtime/mouse.h"
#include "runtime/number_text.h"
#include "runtime/screen.h"
#include "runtime/text.h"

namespace {

constexpr int last_cell_row = kinds_row;
constexpr int help_width = 78;
const std::string colour_block = std::string(2, static_cast<char>(219));

constexpr int screen_columns = 80;

constexpr int border_colour = colour_yellow;
constexpr float border_bottom = 448;

// A cell is shown when it starts on the 80 x 30 text screen; the layout puts the cells of
// kinds 19 and up beyond column 80, and from 27 kinds the top rows above row 1.
bool starts_on_screen(float column, float row) { return row >= 0 && row <= 29 && column >= 0 && column < screen_columns; }

// A cell's text follows the print placement: one that does not fit in its row starts at column
// 1 of the next. Only kind 18's cells, whose slot of cell_w columns runs past the right edge
// (they start at column 78), are cut at column 80 instead, so that a count of four characters
// stays in its place, hovered and editable.
std::string placed_text(const std::string& text, float column) {
  auto& g = program();
  if (extended{column} + g.cell_w <= screen_columns) return text;
  return text.substr(0, static_cast<std::size_t>(screen_columns - integer_argument(column)));
}

void set_colour_value(float colour) { set_color(integer_argument(colour)); }

// The white outline inside text columns c to c + 2 of the hovered cell's row.
void outline_hovered_cell(float column, float row) {
  auto& g = program();
  g.box_x1 = single(8 * extended{column} + 1);
  g.box_y1 = single(16 * extended{row} + 3);
  g.box_x2 = single(8 * (extended{column} + g.cell_w) - 10);
  g.box_y2 = single(16 * (extended{row} + g.cell_h) - 1);
  const float left = single(extended{g.box_x1} + 1), top = single(extended{g.box_y1} - 2);
  const float right = single(extended{g.box_x2} + 1), bottom = single(extended{g.box_y2} - 2);
  draw_line(left, top, right, top, colour_white);
  end_step();
  draw_line(right, top, right, bottom, colour_white);
  end_step();
  draw_line(right, bottom, left, bottom, colour_white);
  end_step();
  draw_line(left, bottom, left, top, colour_white);
  end_step();
}

// Kind's colour once more at the left end of its rule row.
void draw_colour_label(float kind) {
  auto& g = program();
  const float row = single(extended{g.model_table(first_rule_row, cell_row)} + kind);
  const float column = single(extended{g.model_table(first_rule_row, cell_column)} - 3);
  if (!starts_on_screen(column, row)) return;
  set_text_cursor(integer_argument(extended{row} + 1), integer_argument(extended{column} + 1));
  end_step();
  print_item(colour_block, true);
  end_step();
}

void draw_cell(float i) {
  auto& g = program();
  const float column = g.model_table.unchecked(i, cell_column);
  const float row = g.model_table.unchecked(i, cell_row);
  const float value = g.model_table.unchecked(i, cell_value);
  const bool colour_cell = is_colour_row(i);
  const bool count_cell = is_count_row(i);
  g.cell_text = colour_cell ? colour_block : single_to_str(value);
  if (!starts_on_screen(column, row)) {
    if (colour_cell) {
      set_colour_value(value);
      end_step();
      draw_colour_label(i);
    }
    return;
  }
  g.hit_x = (g.hit_col0 <= column && column < g.hit_col1) ? 1 : 0;
  g.hit_y = (g.hit_row0 <= row && row < g.hit_row1) ? 1 : 0;
  g.cell_hit = static_cast<float>(round_to_int64(g.hit_x) & round_to_int64(g.hit_y));
  if (g.cell_hit != 0) g.hit_cell = i;
  g.cell_colour = g.cell_hit != 0 ? colour_white : colour_light_grey;
  set_colour_value(g.cell_colour);
  end_step();
  if (count_cell) {
    set_colour_value(g.model_table(colour_row(kind_of_count_row(i)), cell_value));
    end_step();
  }
  set_text_cursor(integer_argument(extended{row} + 1), integer_argument(extended{column} + 1));
  end_step();
  if (colour_cell) {
    set_colour_value(value);
    end_step();
  }
  print_item(placed_text(g.cell_text, column), true);
  end_step();
  if (colour_cell) draw_colour_label(i);
  if (g.cell_hit != 0) outline_hovered_cell(column, row);
}

}  // namespace

void draw_grid_border() {
  auto& g = program();
  draw_line(0, g.panel_top, g.panel_right, g.panel_top, border_colour);
  end_step();
  draw_line(g.panel_right, g.panel_top, g.panel_right, border_bottom, border_colour);
  end_step();
}

void draw_cell_grid() {
  auto& g = program();
  if (g.panel_shown == 0) return;
  g.hit_col0 = single(extended{floor_single(single(extended{mouse_x()} / 8))} - 1);
  g.hit_col1 = single(extended{g.hit_col0} + g.cell_w);
  g.hit_row0 = floor_single(single(extended{mouse_y()} / 16));
  g.hit_row1 = single(extended{g.hit_row0} + g.cell_h);
  draw_grid_border();
  g.hit_cell = -1;
  for (g.loop_i = 0; g.loop_i <= last_cell_row; g.loop_i = next_count(g.loop_i)) {
    if (g.model_table.unchecked(g.loop_i, cell_visible) == 0) continue;
    draw_cell(g.loop_i);
  }
  g.help_text = g.hit_cell != -1 ? g.cell_help(g.hit_cell) : std::string();
  if (g.help_text.size() < help_width) g.help_text += string_fill(static_cast<int>(help_width - g.help_text.size()), ' ');
  set_color(colour_yellow);
  end_step();
  set_text_cursor(28, 40);
  end_step();
  print_item(g.help_text);
  end_step();
}

void edit_hovered_cell() {
  auto& g = program();
  if (g.mouse_event == 0) return;
  g.cell_btn_l = mouse_button(1);
  g.cell_btn_r = mouse_button(2);
  if ((g.cell_btn_l == 0 && g.cell_btn_r == 0) || g.hit_cell == -1) return;
  if (g.cell_btn_l != 0) g.panel_changed = -1;
  if (g.cell_btn_r != 0) g.panel_changed = 1;
  float& value = g.model_table(g.hit_cell, cell_value);
  value = single(extended{value} + g.panel_changed);
  const float maximum = g.model_table(g.hit_cell, cell_maximum);
  const float minimum = g.model_table(g.hit_cell, cell_minimum);
  if (value > maximum) value = maximum;
  if (value < minimum) value = minimum;
  end_step();
}
