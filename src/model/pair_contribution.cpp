#include "model/pair_contribution.h"

#include "model/pair_constants.h"
#include "runtime/numbers.h"

namespace {

// The sine's argument of one coordinate plane (a, b) from its angle ratio: the plane's angle in
// degrees, a half-turn added when b is below 0, and a half-turn more, in radians.
inline float sine_argument(float tan_ratio, float b, float deg_to_rad) {
  float angle = single(atn_single(tan_ratio) / deg_to_rad);
  if (b < 0) angle = single(static_cast<extended>(angle) + half_turn);
  return single((static_cast<extended>(angle) + half_turn) * deg_to_rad);
}

inline float direction_term(float sine_argument, float gain) {
  return single(static_cast<extended>(sin_single(sine_argument)) * gain);
}

}  // namespace

// Adds the contribution of partner q to the force on p. The planes are (dx, dz) for x, (dy, dx)
// for y and (dz, dy) for z; their sines are interleaved with the arc tangents, which the
// processor can then run side by side.
void add_pair(Vec3& force, const Vec3& p, const Vec3& q, float gain, float deg_to_rad) {
  const float dx = single(static_cast<extended>(p.x) - q.x);
  const float dy = single(static_cast<extended>(p.y) - q.y);
  const float dz = single(static_cast<extended>(p.z) - q.z);
  const extended offset_x = static_cast<extended>(dx) + angle_offset;
  const extended offset_y = static_cast<extended>(dy) + angle_offset;
  const extended offset_z = static_cast<extended>(dz) + angle_offset;
  const float ratio_x = single(offset_x / offset_z);
  const float ratio_y = single(offset_y / offset_x);
  const float ratio_z = single(offset_z / offset_y);
  const double square_sum = to_double(static_cast<extended>(dx) * dx + static_cast<extended>(dy) * dy +
                                      static_cast<extended>(dz) * dz);
  const float pair_dist = single(sqr(square_sum));
  float falloff = single(falloff_numerator / sqr(static_cast<double>(pair_dist)));
  if (falloff > falloff_cap) falloff = falloff_cap;
  const float argument_x = sine_argument(ratio_x, dz, deg_to_rad);
  const float argument_y = sine_argument(ratio_y, dx, deg_to_rad);
  const float dir_x = direction_term(argument_x, gain);
  const float argument_z = sine_argument(ratio_z, dy, deg_to_rad);
  const float dir_y = direction_term(argument_y, gain);
  const float dir_z = direction_term(argument_z, gain);
  force.x = add_term(force.x, -dir_x, falloff);
  force.y = add_term(force.y, -dir_y, falloff);
  force.z = add_term(force.z, -dir_z, falloff);
}

float add_term(float force, float minus_dir, float falloff) {
  return single(static_cast<extended>(force) + static_cast<extended>(minus_dir) * falloff);
}
