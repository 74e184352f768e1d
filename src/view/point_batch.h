#pragma once
// The points of one shape element as the fast path of the projection reads them. Shared by the
// batch and its kernels.

// The most points one call projects: the eight corners of a cube.
constexpr int projection_batch_size = 8;

struct PointBatch {
  float x[projection_batch_size] = {};
  float y[projection_batch_size] = {};
  float z[projection_batch_size] = {};
  int count = 0;
};
