#pragma once
// A fresh program with the view constants that start-up sets.
#include "support/fresh_program.h"
#include "view/projection.h"

class ViewTest : public FreshProgram {
 protected:
  void SetUp() override {
    FreshProgram::SetUp();
    auto& g = program();
    g.deg_to_rad = 0.0174532924f;
    g.centre_colour = 6;
    g.center_x = 320;
    g.center_y = 220;
    g.centre_size = 100;
    g.depth_offset = 250;
    g.graphics_scale = 0.8f;
    g.rot_angle_a = 15;
    g.rot_angle_c = 70;
    g.clip_limit = 130;
  }

  // Projects one point with the given view angles.
  static void project(float x, float y, float z, float angle_c, float angle_a) {
    auto& g = program();
    g.rot_angle_c = angle_c;
    g.rot_angle_a = angle_a;
    g.proj_x = x;
    g.proj_y = y;
    g.proj_z = z;
    project_point();
  }
};
