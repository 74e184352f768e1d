#pragma once
#include <cstdint>

// Projects proj_x, proj_y, proj_z to screen_x, screen_y; takes one mouse event; sets clipped.
void project_point();
// Turns proj_x, proj_y, proj_z by the two view angles.
void rotate_view();

// What one projection leaves in the context apart from the mouse latch: the turned point, the
// screen values, the scratch of the second turn and whether the turned point leaves the box.
// It depends on the point and the view only, so a frame may work it out ahead of the drawing.
struct Projection {
  float turned_x = 0, turned_y = 0, turned_z = 0;
  float screen_x = 0, screen_y = 0;
  float tan_ratio = 0, new_x = 0, polar_r = 0;
  bool clips = false;
};

// Whether a turned point lies beyond clip_limit on any axis.
bool outside_clip_box(float x, float y, float z);
// project_point's formula in extended precision for a point, with the view of the context,
// leaving the context as it is.
Projection extended_projection(float x, float y, float z);
// A projection worked out ahead, taken as the drawing reaches it: the mouse event of that
// projection, then the context exactly as project_point would leave it.
void take_projection(const Projection& projection);
// The mouse events of count projections, taken as project_point takes them.
void take_mouse_events(std::int64_t count);
