#pragma once
// The fast path of the projection: the points of one shape element worked out together, ahead
// of its drawing, by the lanes of the vector set in force wherever they prove the extended
// formula's floats, and by the extended formula for every other point.
#include "view/point_batch.h"
#include "view/projection.h"

// Projects every point of the batch with the view of the context, bit for bit as
// project_point would, without touching the context. Returns how many points were handed to
// the extended formula.
int project_batch(const PointBatch& points, Projection* projections);
