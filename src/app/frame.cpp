#include "app/frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/failures.h"
#include "runtime/number_text.h"
#include "runtime/numbers.h"
#include "runtime/screen.h"
#include "ui/grid_drawing.h"
#include "ui/param_panel.h"
#include "view/shapes.h"
#include "view/shapes_ahead.h"

namespace {

constexpr int caption_colour = colour_light_cyan;
constexpr int total_colour = colour_dark_grey;
constexpr int hint_colour = colour_yellow;

// Drawing page and shown page given, mode 12 selected when not yet in it.
constexpr int mode_and_pages_given = 13;
// draw_circle: only the start angle given, so the colour is the current one.
constexpr int start_angle_given = 4;
constexpr float last_particle_of_table = 800;
constexpr float last_kind_of_particle_table = 180;

void draw_particle_total() {
  auto& g = program();
  set_text_cursor(28, 64);
  end_step();
  set_color(total_colour);
  end_step();
  print_text("osszes babu:", false);
  end_step();
  // The number and its blank are one item; from 1000 on it no longer fits before column 80.
  print_item(single_to_str(g.total_particles) + " ");
  print_text("", true);
  end_step();
  draw_grid_border();
}

void draw_rotation_hint() {
  auto& g = program();
  set_color(hint_colour);
  end_step();
  // The start angle is the page number just set, so page-0 frames leave out the first radian.
  draw_circle(g.center_x, g.center_y, g.circle_radius, 0, g.draw_page, 0, 0, start_angle_given);
  end_step();
  set_text_cursor(14, 36);
  end_step();
  print_text("elforgatas", true);
  end_step();
}

// A count beyond the 801 particles of the table, which only a damaged state file can bring
// before the first rescale, draws the particles the table holds.
float last_particle_of(float kind) {
  auto& g = program();
  return std::min(single(extended{g.color_count(kind)} - 1), last_particle_of_table);
}

void draw_particle_shape() {
  auto& g = program();
  if (g.particle_shape == 0)
    draw_cube();
  else if (g.particle_shape == 1)
    draw_cross();
  else if (g.particle_shape == 2)
    plot_point();
}

// Whether the particles may be drawn ahead: enough of them, no failure pending, every kind in
// the particle table and every kind's colour an integer argument, so that no drawing fails.
bool particles_drawn_ahead() {
  auto& g = program();
  if (failure_pending() || projections_per_shape(g.particle_shape) == 0) return false;
  const float kind_limit = last_kind();
  if (!(kind_limit <= last_kind_of_particle_table)) return false;
  extended particles = 0;
  for (float kind = 0; kind <= kind_limit; kind = next_count(kind)) {
    const std::int64_t colour = round_to_int64(g.kind_colour(kind));
    if (colour < std::numeric_limits<int>::min() || colour > std::numeric_limits<int>::max()) return false;
    const float last = last_particle_of(kind);
    if (last >= 0) particles += std::floor(extended{last}) + 1;
  }
  return drawing_ahead_pays(static_cast<double>(particles));
}

// Ahead, the loop gathers the particles and every one but the last is drawn by the workers;
// the last one is drawn here, as the loop would draw it, and leaves the context as it would.
void draw_particles() {
  auto& g = program();
  const bool ahead = particles_drawn_ahead();
  std::vector<ShapeAt> shapes;
  const float kind_limit = last_kind();
  for (g.loop_i = 0; g.loop_i <= kind_limit; g.loop_i = next_count(g.loop_i)) {
    const float last_particle = last_particle_of(g.loop_i);
    end_step();
    for (g.loop_j = 0; g.loop_j <= last_particle; g.loop_j = next_count(g.loop_j)) {
      g.obj_x = g.particle(g.loop_i, g.loop_j, 0);
      end_step();
      g.obj_y = g.particle(g.loop_i, g.loop_j, 1);
      end_step();
      g.obj_z = g.particle(g.loop_i, g.loop_j, 2);
      end_step();
      g.obj_size = g.particle_size;
      g.line_color = g.kind_colour(g.loop_i);
      end_step();
      if (ahead)
        shapes.push_back({g.obj_x, g.obj_y, g.obj_z, integer_argument(g.line_color)});
      else
        draw_particle_shape();
    }
  }
  if (!ahead || shapes.empty()) return;
  shapes.pop_back();
  draw_shapes_ahead(shapes, g.particle_shape, g.particle_size);
  draw_particle_shape();
}

}  // namespace

void draw_frame() {
  auto& g = program();
  // Draw on the page named in draw_page and show the other one, which holds the last frame.
  const int page = integer_argument(g.draw_page);
  set_screen_mode(graphics_mode, page, page ^ 1, mode_and_pages_given);
  end_step();
  g.draw_page = static_cast<float>(page ^ 1);
  clear_screen();
  end_step();

  set_color(caption_colour);
  end_step();
  set_text_cursor(1, 40);
  end_step();
  print_text("Morvaleck(2017)", false);
  end_step();

  if (g.panel_shown != 0) draw_particle_total();

  const std::int64_t no_drag = g.rotation_drag == 0 ? -1 : 0;
  if ((round_to_int64(g.mouse_in_circle) & no_drag) != 0) draw_rotation_hint();

  // Also while the panel is hidden: it records the pointer's text row.
  draw_param_panel();

  g.line_color = g.centre_colour;
  g.obj_x = g.obj_y = g.obj_z = 0;
  g.obj_size = g.centre_size;
  draw_cube();

  draw_particles();
}
