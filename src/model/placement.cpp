#include "model/placement.h"

#include <string>

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/failures.h"
#include "runtime/number_text.h"
#include "runtime/numbers.h"
#include "runtime/random.h"
#include "runtime/screen.h"

namespace {

constexpr float scatter_particles = 240;

// One coordinate of the scatter, uniform from -50 up to (not including) 50.
float cube_coordinate() { return single(extended{rnd()} * 100 - 50); }

// One coordinate of the collapse, uniform from -0.5 up to (not including) 0.5.
float core_coordinate() { return single(extended{rnd()} - 0.5L); }

// One progress line on the given row: the total, the next print zone, the counter, line end.
void print_progress(int row, float total, float counter) {
  set_text_cursor(row, 1);
  end_step();
  print_item(single_to_str(total) + " ");
  print_comma_tab();
  print_item(single_to_str(counter) + " ");
  print_text("", true);
  end_step();
}

}  // namespace

void place_random_cube() {
  auto& g = program();
  for (g.loop_i = 0; g.loop_i < kind_slots; g.loop_i = next_count(g.loop_i)) {
    for (g.loop_j = 0; g.loop_j < scatter_particles; g.loop_j = next_count(g.loop_j)) {
      g.new_x = cube_coordinate();
      g.new_y = cube_coordinate();
      g.new_z = cube_coordinate();
      // The block lies inside the table.
      float* position = &g.particle.unchecked(static_cast<int>(g.loop_i), static_cast<int>(g.loop_j), 0);
      position[0] = g.new_x;
      position[1] = g.new_y;
      position[2] = g.new_z;
    }
  }
}

void place_bigbang() {
  auto& g = program();
  const float kind_limit = last_kind();
  for (g.loop_i = 0; g.loop_i <= kind_limit; g.loop_i = next_count(g.loop_i)) {
    print_progress(1, n_kinds(), g.loop_i);
    const float count_limit = single(extended{g.color_count(g.loop_i)} - 1);
    end_step();
    for (g.loop_j = 0; g.loop_j <= count_limit; g.loop_j = next_count(g.loop_j)) {
      print_progress(2, g.color_count(g.loop_i), g.loop_j);
      g.particle(g.loop_i, g.loop_j, 0) = core_coordinate();
      end_step();
      g.particle(g.loop_i, g.loop_j, 1) = core_coordinate();
      end_step();
      g.particle(g.loop_i, g.loop_j, 2) = core_coordinate();
      end_step();
    }
  }
}
