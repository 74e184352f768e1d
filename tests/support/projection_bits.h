#pragma once
// Whether a projection worked out ahead holds, bit for bit, what project_point leaves in the
// context for the same point (two values that are not numbers are alike), the clip flag
// included. Projects the point with project_point, from a clear clip flag.
#include <cmath>
#include <cstring>

#include "context/program.h"
#include "view/projection.h"

inline bool matches_project_point(float x, float y, float z, const Projection& p) {
  auto alike = [](float a, float b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; };
  auto& g = program();
  g.proj_x = x;
  g.proj_y = y;
  g.proj_z = z;
  g.clipped = 0;
  project_point();
  return alike(p.turned_x, g.proj_x) && alike(p.turned_y, g.proj_y) && alike(p.turned_z, g.proj_z) &&
         alike(p.screen_x, g.screen_x) && alike(p.screen_y, g.screen_y) && alike(p.tan_ratio, g.tan_ratio) &&
         alike(p.new_x, g.new_x) && alike(p.polar_r, g.polar_r) && p.clips == (g.clipped != 0);
}
