#pragma once
// The contribution of a partner q to the force on a particle p by the extended formula, which
// the fast path (pair_batch.h) gives bit for bit.

struct Vec3 {
  float x, y, z;
};

// Adds the contribution of partner q to the force on p.
void add_pair(Vec3& force, const Vec3& p, const Vec3& q, float gain, float deg_to_rad);

// One component of the force summed by the extended formula: force + minus_dir x falloff, the
// sum in extended precision, stored to float.
float add_term(float force, float minus_dir, float falloff);
