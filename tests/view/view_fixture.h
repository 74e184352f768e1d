#pragma once
// A fresh program with the view constants that start-up sets.
#include "app/startup.h"
#include "support/fresh_program.h"
#include "view/projection.h"

class ViewTest : public FreshProgram {
 protected:
  void SetUp() override {
    FreshProgram::SetUp();
    set_view_constants();
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
