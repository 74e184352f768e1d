#include "app/startup.h"

#include "app/frame.h"
#include "context/program.h"
#include "model/placement.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/random.h"
#include "runtime/screen.h"
#include "state/state_file.h"
#include "ui/grid_layout.h"
#include "ui/run_parameters.h"
#include "ui/text_tables.h"

namespace {

// Starts differ only by how many random values are dropped: 1 + floor(100 x the clock's
// fraction of a second).
void shift_random_sequence() {
  auto& g = program();
  g.start_time = timer_seconds();
  end_step();
  const float limit = single((extended{g.start_time} - floor_single(g.start_time)) * 100);
  for (g.loop_i = 0; g.loop_i <= limit; g.loop_i = next_count(g.loop_i)) {
    rnd();
    end_step();
  }
}

}  // namespace

void set_view_constants() {
  auto& g = program();
  g.deg_to_rad = 0.0174532924f;
  g.centre_colour = colour_brown;
  g.center_x = 320;
  g.center_y = 220;
  g.centre_size = 100;
  g.depth_offset = 250;
  g.graphics_scale = 0.8f;
  g.rot_angle_a = 15;
  g.rot_angle_c = 70;
  g.clip_limit = 130;
}

void set_preload_parameters() {
  auto& g = program();
  for (const RunParameter& parameter : run_parameters())
    if (parameter.saved) g.*parameter.member = parameter.preload;
}

void start_up() {
  auto& g = program();
  init_tables();
  end_step();
  shift_random_sequence();
  set_view_constants();
  set_preload_parameters();
  clear_screen();
  end_step();
  g.cell_w = 4;
  g.cell_h = 1;
  load_state();
  start_up_after_load();
}

void start_up_after_load() {
  auto& g = program();
  g.fresh_setup = 0;
  build_cell_grid();
  end_step();
  draw_frame();
  end_step();
}

void main_restart() {
  place_random_cube();
  end_step();
}
