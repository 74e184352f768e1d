#include "ui/param_panel.h"

#include <cstdint>
#include <iterator>
#include <string>

#include "context/program.h"
#include "model/placement.h"
#include "runtime/mouse.h"
#include "runtime/number_text.h"
#include "runtime/screen.h"

namespace {

struct PanelRow {
  const char* label;  // 18 characters: every colon stands in column 18
  float AppVars::*variable;
};

const PanelRow panel_rows[] = {
    {"kozepponti vonzas:", &AppVars::central_attraction},
    {"babu merete      :", &AppVars::particle_size},
    {"kockaba zarva    :", &AppVars::cube_confine},
    {"elmozditas nagys :", &AppVars::step_size},
    {"grafika nagysag  :", &AppVars::graphics_scale},
    {"babu alakja      :", &AppVars::particle_shape},
    {"auto forg nagysag:", &AppVars::auto_rotate_speed},
    {"max babuk szama  :", &AppVars::max_particles},
    {"babuk atlagpont m:", &AppVars::show_centers},
};
constexpr int speed_row = 6;  // shown through the fixed template

void print_item(const std::string& item) {
  print_fit_check(item);
  print_text(item, false);
}

}  // namespace

void draw_param_panel() {
  auto& g = program();
  g.panel_row = floor_single(single(static_cast<extended>(mouse_y()) / 16));
  if ((round_to_int64(g.panel_shown) & round_to_int64(truth(g.menu_visible == 0))) == 0) return;
  set_text_cursor(1, 1);
  set_color(8);
  for (int r = 0; r < static_cast<int>(std::size(panel_rows)); ++r) {
    set_color(g.panel_row == static_cast<float>(r) ? 15 : 8);
    print_item(panel_rows[r].label);
    const float value = g.*panel_rows[r].variable;
    if (r == speed_row) {
      std::string text;
      print_using_single("###.##", value, text);
      print_text(text, true);
    } else {
      print_item(single_to_str(value) + " ");
      print_text("", true);
    }
  }
  end_step();
}

void edit_panel_row() {
  auto& g = program();
  g.click_dir = 0;
  if (g.btn_left != 0) g.click_dir = -1;
  if (g.btn_right != 0) g.click_dir = 1;
  // The three conditions are -1/0 values combined bitwise.
  const std::int64_t go_on = round_to_int64(truth(g.click_dir != 0)) & round_to_int64(truth(g.rotation_drag == 0)) &
                             round_to_int64(truth(g.menu_visible == 0));
  if (go_on == 0) return;
  const extended step = g.click_dir;
  if (g.panel_row == 0) {
    g.central_attraction = single(g.central_attraction + step * 5);
  } else if (g.panel_row == 1) {
    g.particle_size = single(g.particle_size + step);
  } else if (g.panel_row == 2) {
    // Switching confinement on scatters the particles into the cube afresh, every time.
    g.cube_confine = sgn_single(single(step + 1));
    if (g.cube_confine != 0) place_random_cube();
  } else if (g.panel_row == 3) {
    g.step_size = single(g.step_size + step);
  } else if (g.panel_row == 4) {
    g.graphics_scale = single(g.graphics_scale + step / 20);
  } else if (g.panel_row == 5) {
    g.particle_shape = single(g.particle_shape + step);
    if (g.particle_shape == 3) g.particle_shape = 0;
    if (g.particle_shape == -1) g.particle_shape = 2;
  } else if (g.panel_row == 6) {
    g.auto_rotate_speed = single(abs_single(single(g.auto_rotate_speed + step / 20)));
  } else if (g.panel_row == 7) {
    g.max_particles = floor_single(single(g.max_particles + step * 10));
  } else if (g.panel_row == 8) {
    g.show_centers = static_cast<float>(round_to_int64(g.show_centers) ^ 1);
  }
  end_step();
}
