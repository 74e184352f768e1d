#include "app/main_loop.h"

#include "app/commands.h"
#include "app/frame.h"
#include "app/startup.h"
#include "context/program.h"
#include "model/cell_table.h"
#include "model/generators.h"
#include "model/simulation.h"
#include "runtime/failures.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"
#include "runtime/text.h"
#include "ui/command_menu.h"
#include "ui/grid_drawing.h"
#include "ui/grid_layout.h"
#include "ui/mouse_handling.h"
#include "view/shapes.h"

namespace {

constexpr float last_panel_x = 630;  // beyond it the grid, the total and the panel hide

// While the pointer is over the grid area a click edits the hovered cell, the cell table is
// applied in every pass, and the mouse handling of the pass is switched off.
void edit_grid_under_pointer() {
  auto& g = program();
  if (!(mouse_x() < g.panel_right && mouse_y() > g.panel_top)) return;
  g.panel_changed = 0;
  edit_hovered_cell();
  end_step();
  g.mouse_event = 0;
  apply_cell_grid();
  end_step();
  if (g.panel_changed == 0) return;
  build_cell_grid();
  end_step();
  apply_cell_grid();
  end_step();
  draw_cell_grid();
  end_step();
}

// A clicked menu entry is the pass's key; a typed key then waits for the next pass.
void take_command_key() {
  auto& g = program();
  if (strings_differ(g.pending_key, "") != 0) g.key = g.pending_key;
  else g.key = inkey();
  end_step();
}

void rotate_automatically() {
  auto& g = program();
  if (g.rotation_drag != 0) return;
  g.rot_angle_a = single(extended{g.rot_angle_a} + g.auto_rotate_speed);
  g.rot_angle_c = single(extended{g.rot_angle_c} + g.auto_rotate_speed);
}

}  // namespace

void main_loop_pass() {
  auto& g = program();
  g.panel_shown = mouse_x() > last_panel_x ? 0 : 1;
  if (g.panel_shown != 0) {
    draw_cell_grid();
    end_step();
  }
  edit_grid_under_pointer();
  rescale_counts();
  apply_cell_grid();
  draw_cell_grid();
  end_step();
  draw_menu();
  end_step();
  handle_mouse();
  end_step();
  take_command_key();
  rotate_automatically();
  draw_frame();
  end_step();
  if (g.show_centers != 0) {
    draw_centroid_links();
    end_step();
  }
  simulate_step();
  end_step();
  g.pending_key = "";
  dispatch_command();
}

namespace {

[[noreturn]] void run_main_loop() {
  main_restart();
  for (;;) main_loop_pass();
}

}  // namespace

void run_program() {
  start_up();
  run_main_loop();
}

void run_program_after_load() {
  start_up_after_load();
  run_main_loop();
}
