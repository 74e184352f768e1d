#include "state/state_file.h"

#include "context/program.h"
#include "model/cell_table.h"
#include "runtime/control.h"
#include "runtime/failures.h"
#include "runtime/files.h"
#include "runtime/number_text.h"
#include "ui/grid_layout.h"

namespace {

const char* const state_file_name = "vorka.dat";
constexpr int state_file_number = 1;
constexpr float last_saved_row = 1700;
constexpr float last_saved_field = 9;

// The eight saved parameters in the order of the file, after the cell table.
float AppVars::* const saved_parameters[] = {
    &AppVars::particle_shape,     &AppVars::particle_size, &AppVars::cube_confine,  &AppVars::step_size,
    &AppVars::central_attraction, &AppVars::circle_radius, &AppVars::max_particles, &AppVars::auto_rotate_speed,
};

struct FactoryParameter {
  float AppVars::* parameter;
  float value;
};
const FactoryParameter factory_parameters[] = {
    {&AppVars::particle_shape, 0},      {&AppVars::particle_size, 3},  {&AppVars::cube_confine, 0},
    {&AppVars::step_size, 50},          {&AppVars::central_attraction, 50}, {&AppVars::circle_radius, 50},
    {&AppVars::max_particles, 100},     {&AppVars::auto_rotate_speed, 0.3f},
};

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
  for (g.loop_i = 0; g.loop_i <= last_saved_row; g.loop_i = single(g.loop_i + extended{1}))
    for (g.loop_j = 0; g.loop_j <= last_saved_field; g.loop_j = single(g.loop_j + extended{1}))
      write_value(g.model_table(g.loop_i, g.loop_j));
  for (float AppVars::* parameter : saved_parameters) write_value(g.*parameter);
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
  for (g.loop_i = 0; g.loop_i <= last_saved_row; g.loop_i = single(g.loop_i + extended{1}))
    for (g.loop_j = 0; g.loop_j <= last_saved_field; g.loop_j = single(g.loop_j + extended{1})) {
      g.model_table(g.loop_i, g.loop_j) = read_value();
      end_step();
    }
  for (float AppVars::* parameter : saved_parameters) {
    g.*parameter = read_value();
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
  for (const FactoryParameter& factory : factory_parameters) g.*factory.parameter = factory.value;
  save_state();
  restart_program();
}
