#include "ui/mouse_handling.h"

#include <cstdint>

#include "context/program.h"
#include "runtime/failures.h"
#include "runtime/mouse.h"
#include "ui/param_panel.h"

namespace {

// Conditions are -1/0 values and flags 1/0, combined bitwise as whole numbers.
bool all_set(float a, float b) { return (round_to_int64(a) & round_to_int64(b)) != 0; }
bool all_set(float a, float b, float c) { return (round_to_int64(a) & round_to_int64(b) & round_to_int64(c)) != 0; }

void measure_pointer() {
  auto& g = program();
  const extended dx = extended{g.center_x} - mouse_x();
  const extended dy = extended{g.center_y} - mouse_y();
  g.mouse_dist = single(power(dx, 2) + power(dy, 2));
  if (g.mouse_dist != 0) g.mouse_dist = single(sqr(g.mouse_dist));
  end_step();
  g.mouse_in_circle = g.mouse_dist < g.circle_radius ? 1 : 0;
}

// A left press strictly inside the circle starts a drag; the view then follows the pointer,
// one degree per pixel from where the drag started, until the left button is released.
void follow_drag() {
  auto& g = program();
  if (g.btn_left == 0) g.drag_active = 0;
  if (all_set(g.btn_left, truth(g.drag_active == 0), truth(g.mouse_dist < g.circle_radius))) {
    g.drag_x0 = mouse_x();
    g.drag_y0 = mouse_y();
    g.drag_active = 1;
    g.drag_rot_a0 = g.rot_angle_a;
    g.drag_rot_c0 = g.rot_angle_c;
  }
}

void update_drag_flag() {
  auto& g = program();
  if (all_set(g.mouse_in_circle, g.drag_active)) g.rotation_drag = 1;
  if (all_set(truth(g.drag_active == 0), truth(g.rotation_drag == 1))) g.rotation_drag = 0;
  if (all_set(g.drag_active, g.rotation_drag)) {
    g.rot_angle_a = single(extended{g.drag_rot_a0} + (extended{g.drag_y0} - mouse_y()));
    g.rot_angle_c = single(extended{g.drag_rot_c0} + (extended{g.drag_x0} - mouse_x()));
  }
}

}  // namespace

void handle_mouse() {
  auto& g = program();
  if (g.mouse_event != 0) {
    measure_pointer();
    g.btn_left = mouse_button(1);
    g.btn_right = mouse_button(2);
    follow_drag();
    // The menu click takes the entry last found under the pointer, whatever row it is on now.
    if (all_set(g.btn_left, g.menu_visible)) g.pending_key = g.menu_item(g.menu_hover, 0);
    end_step();
    update_drag_flag();
    edit_panel_row();
  }
  g.mouse_event = 0;
}
