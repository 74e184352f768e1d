#include "state/state_file.h"

#include "context/program.h"
#include "model/cell_rows.h"
#include "model/cell_table.h"
#include "runtime/control.h"
#include "runtime/failures.h"
#include "runtime/files/files.h"
#include "runtime/number_text.h"
#include "ui/grid_layout.h"
#include "ui/run_parameters.h"

namespace {

const char* const state_file_name = "vorka.dat";
constexpr int state_file_number = 1;
constexpr float last_saved_field = 9;

// One line of the file: the number text, one blank, CR LF.
void write_value(float value) {
  file_print_text(state_file_number, single_to_str(value), true, false, true);
  end_step();
}

float read_value() { return single(file_read_number(state_file_number)); }

}  // namespace

void save_state() {
  auto& g = program();
  open_file(state_file_name, file_mode_output, state_file_number);
  // A file that cannot be created is reported once; writing its lines would report each again.
  const bool opened = !failure_pending();
  end_step();
  if (!opened) return;
  for (g.loop_i = 0; g.loop_i <= kinds_row; g.loop_i = next_count(g.loop_i))
    for (g.loop_j = 0; g.loop_j <= last_saved_field; g.loop_j = next_count(g.loop_j))
      write_value(g.model_table(g.loop_i, g.loop_j));
  // The saved parameters follow the cell table, in the order of their table.
  for (const RunParameter& parameter : run_parameters())
    if (parameter.saved) write_value(g.*parameter.member);
  close_file(state_file_number);
  end_step();
}

void load_state() {
  auto& g = program();
  // Only this open is trapped: its failure, whatever the cause, leads to the factory state.
  arm_error_trap();
  open_file(state_file_name, file_mode_input, state_file_number);
  end_step();
  disarm_error_trap();
  for (g.loop_i = 0; g.loop_i <= kinds_row; g.loop_i = next_count(g.loop_i))
    for (g.loop_j = 0; g.loop_j <= last_saved_field; g.loop_j = next_count(g.loop_j)) {
      g.model_table(g.loop_i, g.loop_j) = read_value();
      end_step();
    }
  for (const RunParameter& parameter : run_parameters()) {
    if (!parameter.saved) continue;
    g.*parameter.member = read_value();
    end_step();
  }
  close_file(state_file_number);
  end_step();
  apply_cell_grid();
  end_step();
}

void handle_missing_state() {
  auto& g = program();
  g.fresh_setup = 1;
  build_cell_grid();
  end_step();
  for (const RunParameter& parameter : run_parameters())
    if (parameter.saved) g.*parameter.member = parameter.factory;
  save_state();
  restart_program();
}
