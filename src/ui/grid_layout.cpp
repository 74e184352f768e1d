#include "ui/grid_layout.h"

#include <string>

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/failures.h"
#include "runtime/number_text.h"

namespace {

constexpr float most_kinds = 39;

// Writes the layout fields of the row being built; the value stays as it is.
void lay_out_cell(float column, float row, float minimum, float maximum, float visible, float flag) {
  auto& g = program();
  g.model_table(g.table_row, cell_column) = column;
  g.model_table(g.table_row, cell_row) = row;
  g.model_table(g.table_row, cell_minimum) = minimum;
  g.model_table(g.table_row, cell_maximum) = maximum;
  g.model_table(g.table_row, cell_visible) = visible;
  g.model_table(g.table_row, cell_flag) = flag;
}

float& value_of(float row) { return program().model_table(row, cell_value); }

// The name of the colour held by kind's colour cell; a colour outside 0-15 raises failure 9.
const std::string& colour_name_of(float kind) {
  auto& g = program();
  return g.color_name(value_of(colour_row(kind)));
}

float kind_column(float kind) {
  auto& g = program();
  return single(extended{kind} * g.cell_w + 4 + g.grid_col0);
}

void build_kinds_cell() {
  auto& g = program();
  g.table_row = kinds_row;
  if (g.fresh_setup != 0) value_of(g.table_row) = 3;
  lay_out_cell(g.grid_col0, g.grid_row0, 1, most_kinds, 1, 1);
  g.cell_help(g.table_row) = single_to_str(value_of(g.table_row)) + " kulonbozo babu (identitas) van";
}

void build_count_cells() {
  auto& g = program();
  for (g.loop_j = 0; g.loop_j < kind_slots; g.loop_j = next_count(g.loop_j)) {
    g.table_row = count_row(g.loop_j);
    if (g.fresh_setup != 0) value_of(g.table_row) = 5;
    g.cell_vis = n_kinds() > g.loop_j ? 1 : 0;
    lay_out_cell(kind_column(g.loop_j), g.grid_row0, 1, 600, g.cell_vis, 0);
    g.cell_help(g.table_row) =
        colour_name_of(g.loop_j) + "-szinu babuk darabszama:" + single_to_str(value_of(g.table_row)) + " db";
    end_step();
  }
}

void build_colour_cells() {
  auto& g = program();
  g.next_colour = 1;
  for (g.loop_j = 0; g.loop_j < kind_slots; g.loop_j = next_count(g.loop_j)) {
    g.table_row = colour_row(g.loop_j);
    if (g.fresh_setup != 0) {
      value_of(g.table_row) = g.next_colour;
      g.next_colour = next_count(g.next_colour);
      if (g.next_colour == 16) g.next_colour = 1;
    }
    g.cell_vis = n_kinds() > g.loop_j ? 1 : 0;
    lay_out_cell(kind_column(g.loop_j), single(extended{g.grid_row0} + 1), 1, 15, g.cell_vis, 0);
    const float colour = value_of(g.table_row);
    g.cell_help(g.table_row) =
        single_to_str(g.loop_j) + "-jelzesu babuk szine:" + colour_name_of(g.loop_j) + "(" + single_to_str(colour) + ")";
    end_step();
  }
}

// The rule's help text names both kinds' colours and says what the first does to the second.
std::string rule_help(float rule, const std::string& actor, const std::string& target) {
  if (rule < 0) return actor + " szinu babu kergeti (vonzza) " + target + " szinu babut ";
  if (rule > 0) return actor + " szinu babu menekul (taszitja) " + target + " szinu babu elol";
  return actor + " szinu babu kozombos (semleges) " + target + " szinu babura";
}

void build_rule_cells() {
  auto& g = program();
  for (g.loop_j = 0; g.loop_j < kind_slots; g.loop_j = next_count(g.loop_j)) {
    const float actor = g.loop_j;
    for (g.loop_a = 0; g.loop_a < kind_slots; g.loop_a = next_count(g.loop_a)) {
      const float target = g.loop_a;
      g.table_row = rule_row(actor, target);
      if (g.fresh_setup != 0) value_of(g.table_row) = 0;
      g.cell_vis = (n_kinds() > actor && n_kinds() > target) ? 1 : 0;
      const float row = single(extended{actor} * g.cell_h + g.grid_row0 + 2);
      lay_out_cell(kind_column(target), row, -1, 1, g.cell_vis, 0);
      g.cell_help(g.table_row) = rule_help(value_of(g.table_row), colour_name_of(actor), colour_name_of(target));
      end_step();
    }
  }
}

}  // namespace

void build_cell_grid() {
  auto& g = program();
  g.grid_col0 = 1;
  g.grid_row0 = single(26 - extended{n_kinds()});
  g.panel_right = single((extended{g.grid_col0} + extended{n_kinds()} * g.cell_w + 4) * 8 - 3);
  g.panel_top = single((extended{g.grid_row0} - extended{0.2}) * extended{16.0});
  build_kinds_cell();
  build_count_cells();
  build_colour_cells();
  build_rule_cells();
}
