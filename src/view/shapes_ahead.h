#pragma once
// Shapes drawn ahead by the worker threads, each on a page of its own, then laid over the
// drawing page in their order: the pixels, the mouse events taken and the last point drawn are
// those of drawing the shapes one after another.
#include <vector>

#include "view/shapes.h"

// Whether drawing ahead pays: more than one worker thread and at least this many shapes.
constexpr std::size_t shapes_worth_drawing_ahead = 256;
bool drawing_ahead_pays(double shapes);

// Draws the shapes of particle_shape and size in their order on the drawing page. Nothing in
// it fails: the caller hands over colours that are integer arguments already, and no failure
// may be pending. The context's view variables are left as they are.
void draw_shapes_ahead(const std::vector<ShapeAt>& shapes, float shape, float size);
