#pragma once
#include <optional>

#include "runtime/screen_state.h"

void plot_point();
void draw_segment();
void draw_cross();
void draw_cube();
void draw_centroid_links();

// How many projections, and so mouse events, one shape of particle_shape takes: cube 0, cross
// 1, pixel 2, and none for any other value, which draws nothing.
int projections_per_shape(float shape);

// A shape's centre and its colour as an integer argument.
struct ShapeAt {
  float x, y, z;
  int colour;
};
struct LastPoint {
  float x, y;
};
// The shape of particle_shape and obj_size at a point, drawn as the drawer of that shape
// draws it, on a page of one's own and leaving the context as it is (it only reads the view),
// so that threads may draw shapes side by side. Returns the last point given to a line or a
// pixel, if any.
std::optional<LastPoint> draw_shape_on_page(Page& page, const ShapeAt& at, float shape, float size);
