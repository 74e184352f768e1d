#pragma once
// Run parameters, parameter panel, mouse handling, command menu and cell grid.
#include <string>

#include "runtime/tables.h"

struct UiVars {
  // Run parameters, described in ui/run_parameters.cpp.
  float particle_shape = 0;
  float particle_size = 0;
  float cube_confine = 0;
  float step_size = 0;
  float central_attraction = 0;
  float circle_radius = 0;
  float max_particles = 0;
  float auto_rotate_speed = 0;
  float graphics_scale = 0;
  float show_centers = 0;

  // Parameter panel.
  float panel_row = 0;
  float click_dir = 0;

  // Rotation drag and menu click.
  float mouse_dist = 0;
  float mouse_in_circle = 0;
  float btn_left = 0, btn_right = 0;
  float drag_active = 0;
  float drag_x0 = 0, drag_y0 = 0;
  float drag_rot_a0 = 0, drag_rot_c0 = 0;
  float rotation_drag = 0;

  // Text tables and command menu.
  float menu_count = 0;
  Table<std::string, 16, 2> menu_item;
  Table<std::string, 16> color_name;
  float menu_col = 0, menu_row = 0;
  float menu_wanted = 0;
  float menu_visible = 0;
  float menu_hover = 0;
  float mouse_row = 0;
  float menu_i = 0;

  // Cell grid layout.
  float cell_w = 0, cell_h = 0;
  float grid_col0 = 0, grid_row0 = 0;
  float panel_right = 0, panel_top = 0;
  float cell_vis = 0;
  float next_colour = 0;

  // Cell grid drawing and editing.
  float hit_col0 = 0, hit_col1 = 0, hit_row0 = 0, hit_row1 = 0;
  float hit_x = 0, hit_y = 0, cell_hit = 0;
  float hit_cell = 0;
  float cell_colour = 0;
  std::string cell_text;
  float box_x1 = 0, box_y1 = 0, box_x2 = 0, box_y2 = 0;
  std::string help_text;
  float cell_btn_l = 0, cell_btn_r = 0;
};
