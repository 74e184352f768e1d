#include "view/projection.h"

#include <cmath>

#include "context/program.h"
#include "runtime/mouse.h"
#include "runtime/numbers.h"
#include "view/projection_constants.h"

namespace {

// The scratch a turn leaves: the context's own variables, or those of a projection worked out
// ahead.
struct TurnScratch {
  float& tan_ratio;
  float& new_x;
  float& polar_r;
};

// Turns the pair (u, w) in its plane by angle degrees; the pass also exchanges the two axes.
void turn_in_plane(float& u, float& w, float angle, TurnScratch scratch) {
  auto& g = program();
  scratch.tan_ratio = single((static_cast<extended>(u) + ratio_offset) / (static_cast<extended>(w) + ratio_offset));
  scratch.new_x = single(atn_single(scratch.tan_ratio) / g.deg_to_rad + angle);
  // The arc tangent covers half a turn only; the sign of w itself tells the other half.
  if (w < 0) {
    scratch.new_x = single(static_cast<extended>(scratch.new_x) + half_turn);
    if (scratch.new_x < 0) scratch.new_x = single(static_cast<extended>(scratch.new_x) + full_turn);
  }
  scratch.polar_r = single(sqr(to_double(power(u, 2) + power(w, 2))));
  const float radians = single(static_cast<extended>(g.deg_to_rad) * scratch.new_x);
  u = single(static_cast<extended>(cos_single(radians)) * scratch.polar_r);
  w = single(static_cast<extended>(sin_single(radians)) * scratch.polar_r);
}

bool outside_clip_box(float coordinate, float limit) {
  return coordinate > limit || coordinate < -static_cast<extended>(limit);
}

// (centre_size / 50) * p / 150 * (z + depth_offset), left to right.
float screen_value(float p, float z) {
  auto& g = program();
  return single(static_cast<extended>(g.centre_size) / centre_size_divisor * p / screen_divisor *
                (static_cast<extended>(z) + g.depth_offset));
}

// Every projection takes one waiting mouse event, whatever the latch already holds. Returns
// the value taken: 0 when no event waited.
float take_mouse_event() {
  auto& g = program();
  const float taken = mouse_input();
  // The latch holds 0 or -1, and -1 ORed with anything is -1: the general form below gives the
  // same for those without rounding to integers twice per projection.
  if (g.mouse_event == -1 || (g.mouse_event == 0 && !std::signbit(g.mouse_event))) {
    if (taken != 0) g.mouse_event = -1;
    return taken;
  }
  g.mouse_event = single(static_cast<extended>(round_to_int64(g.mouse_event) | round_to_int64(taken)));
  return taken;
}

}  // namespace

bool outside_clip_box(float x, float y, float z) {
  const float limit = program().clip_limit;
  return outside_clip_box(x, limit) || outside_clip_box(y, limit) || outside_clip_box(z, limit);
}

void rotate_view() {
  auto& g = program();
  turn_in_plane(g.proj_x, g.proj_z, g.rot_angle_c, {g.tan_ratio, g.new_x, g.polar_r});
  turn_in_plane(g.proj_y, g.proj_z, g.rot_angle_a, {g.tan_ratio, g.new_x, g.polar_r});
}

void project_point() {
  auto& g = program();
  take_mouse_event();
  rotate_view();
  // Sticky: only the callers clear it, once a whole shape element is projected.
  if (outside_clip_box(g.proj_x, g.proj_y, g.proj_z)) g.clipped = 1;
  g.screen_x = screen_value(g.proj_x, g.proj_z);
  g.screen_y = screen_value(g.proj_y, g.proj_z);
}

Projection extended_projection(float x, float y, float z) {
  auto& g = program();
  Projection p{x, y, z};
  turn_in_plane(p.turned_x, p.turned_z, g.rot_angle_c, {p.tan_ratio, p.new_x, p.polar_r});
  turn_in_plane(p.turned_y, p.turned_z, g.rot_angle_a, {p.tan_ratio, p.new_x, p.polar_r});
  p.clips = outside_clip_box(p.turned_x, p.turned_y, p.turned_z);
  p.screen_x = screen_value(p.turned_x, p.turned_z);
  p.screen_y = screen_value(p.turned_y, p.turned_z);
  return p;
}

void take_mouse_events(std::int64_t count) {
  // A take that finds no event leaves the latch an integer, which every further such take
  // keeps: the rest stand for projections drawn ahead, all at that moment.
  for (; count > 0; --count)
    if (take_mouse_event() == 0) return;
}

void take_projection(const Projection& projection) {
  auto& g = program();
  take_mouse_event();
  g.proj_x = projection.turned_x;
  g.proj_y = projection.turned_y;
  g.proj_z = projection.turned_z;
  g.tan_ratio = projection.tan_ratio;
  g.new_x = projection.new_x;
  g.polar_r = projection.polar_r;
  if (projection.clips) g.clipped = 1;
  g.screen_x = projection.screen_x;
  g.screen_y = projection.screen_y;
}
