#include "view/projection.h"

#include "app/program.h"
#include "runtime/mouse.h"
#include "runtime/numbers.h"

namespace {

// Added to both parts of the ratio so that its denominator is never zero for a finite w.
constexpr double ratio_offset = 0.00001;

// Turns the pair (u, w) in its plane by angle degrees; the pass also exchanges the two axes.
void turn_in_plane(float& u, float& w, float angle) {
  auto& g = program();
  g.tan_ratio = single((static_cast<extended>(u) + ratio_offset) / (static_cast<extended>(w) + ratio_offset));
  g.new_x = single(atn_single(g.tan_ratio) / g.deg_to_rad + angle);
  // The arc tangent covers half a turn only; the sign of w itself tells the other half.
  if (w < 0) {
    g.new_x = single(static_cast<extended>(g.new_x) + 180);
    if (g.new_x < 0) g.new_x = single(static_cast<extended>(g.new_x) + 360);
  }
  g.polar_r = single(sqr(to_double(power(u, 2) + power(w, 2))));
  const float radians = single(static_cast<extended>(g.deg_to_rad) * g.new_x);
  u = single(static_cast<extended>(cos_single(radians)) * g.polar_r);
  w = single(static_cast<extended>(sin_single(radians)) * g.polar_r);
}

bool outside_clip_box(float coordinate, float limit) {
  return coordinate > limit || coordinate < -static_cast<extended>(limit);
}

// (centre_size / 50) * p / 150 * (z + depth_offset), left to right.
float screen_value(float p) {
  auto& g = program();
  return single(static_cast<extended>(g.centre_size) / 50 * p / 150 *
                (static_cast<extended>(g.proj_z) + g.depth_offset));
}

}  // namespace

void rotate_view() {
  auto& g = program();
  turn_in_plane(g.proj_x, g.proj_z, g.rot_angle_c);
  turn_in_plane(g.proj_y, g.proj_z, g.rot_angle_a);
}

void project_point() {
  auto& g = program();
  // Every projection takes one waiting mouse event, whatever the latch already holds.
  const std::int64_t latched = round_to_int64(g.mouse_event);
  g.mouse_event = single(static_cast<extended>(latched | round_to_int64(mouse_input())));
  rotate_view();
  // Sticky: only the callers clear it, once a whole shape element is projected.
  if (outside_clip_box(g.proj_x, g.clip_limit)) g.clipped = 1;
  if (outside_clip_box(g.proj_y, g.clip_limit)) g.clipped = 1;
  if (outside_clip_box(g.proj_z, g.clip_limit)) g.clipped = 1;
  g.screen_x = screen_value(g.proj_x);
  g.screen_y = screen_value(g.proj_y);
}
