#pragma once
// The projections of one shape element worked out together, ahead of its drawing.
#include "view/projection.h"

// The most points one call projects: the eight corners of a cube.
constexpr int projection_batch_size = 8;

struct PointBatch {
  float x[projection_batch_size] = {};
  float y[projection_batch_size] = {};
  float z[projection_batch_size] = {};
  int count = 0;
};

// Projects every point of the batch with the view of the context, bit for bit as
// project_point would, without touching the context. Returns how many points were handed to
// the extended formula.
int project_batch(const PointBatch& points, Projection* projections);

// How shape elements get their projections: in batches (the fast path, each lane proven or
// handed to the extended formula), or one by one through project_point, the extended formula
// as it stands, which the tests and benchmarks set beside the batches.
enum class ProjectionPath { batches, one_by_one };
ProjectionPath projection_path();
void choose_projection_path(ProjectionPath path);
