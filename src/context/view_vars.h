#pragma once
// Projection, shape drawers and frame drawing.
#include <vector>

#include "runtime/screen_state.h"

struct ViewVars {
  float proj_x = 0, proj_y = 0, proj_z = 0;
  float polar_r = 0;
  float clipped = 0;
  float screen_x = 0, screen_y = 0;

  float obj_x = 0, obj_y = 0, obj_z = 0;
  float obj_size = 0;
  float line_color = 0;
  float half_size = 0;
  float seg_ax = 0, seg_ay = 0, seg_az = 0;
  float seg_bx = 0, seg_by = 0, seg_bz = 0;
  float scr_ax = 0, scr_ay = 0, scr_bx = 0, scr_by = 0;

  float draw_page = 0;

  // Pages the workers draw shapes ahead on, kept from frame to frame.
  std::vector<Page> layers_ahead;
};
