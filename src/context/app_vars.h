#pragma once
// Variables of start-up and the main loop, and the loop counters and scratch values that
// several routines share.
#include <string>

struct AppVars {
  // Set by start-up.
  float start_time = 0;
  float deg_to_rad = 0;
  float centre_colour = 0;
  float center_x = 0, center_y = 0;
  float centre_size = 0;
  float depth_offset = 0;
  float clip_limit = 0;
  float fresh_setup = 0;
  float state_saved = 0;  // -1 when the last save_state wrote the whole file, else 0

  // View angles in degrees, never brought back into a range.
  float rot_angle_a = 0, rot_angle_c = 0;

  // The main loop's pass.
  float panel_shown = 0;
  float panel_changed = 0;
  float mouse_event = 0;
  std::string pending_key;
  std::string key;

  // Shared loop counters: they keep their last values when a routine returns.
  float loop_i = 0, loop_j = 0, loop_a = 0;
  // Shared scratch: the row being built or examined, the angle ratio and the proposed position.
  float table_row = 0;
  float tan_ratio = 0;
  float new_x = 0, new_y = 0, new_z = 0;
};
