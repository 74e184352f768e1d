#include "model/cell_table.h"

#include "context/program.h"
#include "model/cell_rows.h"
#include "model/rule_text.h"
#include "runtime/numbers.h"

void apply_cell_grid() {
  auto& g = program();
  g.total_particles = 0;
  for (g.loop_i = 0; g.loop_i <= last_kind_slot; g.loop_i = next_count(g.loop_i)) {
    const float kind = g.loop_i;
    g.kind_rules(kind) = "";
    g.kind_colour(kind) = g.model_table(colour_row(kind), cell_value);
    g.color_count(kind) = g.model_table(count_row(kind), cell_value);
    if (kind < n_kinds()) g.total_particles = single(extended{g.total_particles} + g.model_table(count_row(kind), cell_value));
    for (g.loop_j = 0; g.loop_j <= last_kind_slot; g.loop_j = next_count(g.loop_j)) {
      g.table_row = rule_row(kind, g.loop_j);
      const float value = g.model_table(g.table_row, cell_value);
      // A visible cell with a value whose nearest integer shares a bit with the visible flag.
      if ((round_to_int64(g.model_table(g.table_row, cell_visible)) & round_to_int64(value)) == 0) continue;
      g.rule_sign = rule_entry_sign(value);
      g.rule_mag = rule_entry_magnitude(value);
      g.rule_kind = rule_entry_target(g.loop_j);
      g.kind_rules(kind) = g.kind_rules(kind) + g.rule_sign + g.rule_mag + g.rule_kind;
    }
  }
}
