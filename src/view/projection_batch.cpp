#include "view/projection_batch.h"

namespace {
ProjectionPath path_in_force = ProjectionPath::batches;
}

ProjectionPath projection_path() { return path_in_force; }
void choose_projection_path(ProjectionPath path) { path_in_force = path; }

int project_batch(const PointBatch& points, Projection* projections) {
  for (int i = 0; i < points.count; ++i) projections[i] = extended_projection(points.x[i], points.y[i], points.z[i]);
  return points.count;
}
