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

// Ends a step of the save: a failure in it means the file is not saved.
void end_save_step(int step_number = __builtin_LINE()) {
  if (failure_pending()) program().state_saved = 0;
  end_step(step_number);
}

// One line of the file: the number text, one blank, CR LF.
void write_value(float value) {
  file_print_text(state_file_number, single_to_str(value), true, false, true);
  end_save_step();
}

float read_value() { return single(file_read_number(state_file_number)); }

}  // namespace

void save_state() {
  auto& g = program();
  g.state_saved = -1;
  open_file(state_file_name, file_mode_output, state_file_number);
  end_save_step();
  // A file that cannot be created is reported once; writing its lines would report each again.
  if (g.state_saved == 0) return;
  for (g.loop_i = 0; g.loop_i <= kinds_row; g.loop_i = next_count(g.loop_i))
    for (g.loop_j = 0; g.loop_j <= last_saved_field; g.loop_j = next_count(g.loop_j))
      write_value(g.model_table(g.loop_i, g.loop_j));
  // The saved parameters follow the cell table, in the order of their table.
  for (const RunParameter& parameter : run_parameters())
    if (parameter.saved) write_value(g.*parameter.member);
  close_file(state_file_number);
  end_save_step();
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
  if (g.state_saved != 0) restart_program();
  // No file can be made here (a folder the user may not write): the failed save was reported
  // once, and the program goes on with the factory state in memory, as a load of it would
  // leave it, until a save succeeds. A restart would only meet the missing file again.
  apply_cell_grid();
  end_step();
}
