#include "ui/run_parameters.h"

#include "model/placement.h"

namespace {

void step_by_one(float& value, extended step) { value = single(value + step); }
void step_by_five(float& value, extended step) { value = single(value + step * 5); }
void step_by_twentieth(float& value, extended step) { value = single(value + step / 20); }

// Switching confinement on scatters the particles into the cube afresh, every time.
void switch_confinement(float& confine, extended step) {
  confine = sgn_single(single(step + 1));
  if (confine != 0) place_random_cube();
}

// Cubes, crosses and pixels in turn.
void next_shape(float& shape, extended step) {
  shape = single(shape + step);
  if (shape == 3) shape = 0;
  if (shape == -1) shape = 2;
}

void step_speed(float& speed, extended step) { speed = single(abs_single(single(speed + step / 20))); }
void step_maximum(float& maximum, extended step) { maximum = floor_single(single(maximum + step * 10)); }
void toggle(float& flag, extended) { flag = static_cast<float>(round_to_int64(flag) ^ 1); }

const RunParameter table[] = {
    {&UiVars::particle_shape, true, 0, 0, 5, "babu alakja      :", false, next_shape},
    {&UiVars::particle_size, true, 3, 3, 1, "babu merete      :", false, step_by_one},
    {&UiVars::cube_confine, true, 0, 0, 2, "kockaba zarva    :", false, switch_confinement},
    {&UiVars::step_size, true, 2, 50, 3, "elmozditas nagys :", false, step_by_one},
    {&UiVars::central_attraction, true, 50, 50, 0, "kozepponti vonzas:", false, step_by_five},
    {&UiVars::circle_radius, true, 50, 50, -1, nullptr, false, nullptr},
    {&UiVars::max_particles, true, 100, 100, 7, "max babuk szama  :", false, step_maximum},
    {&UiVars::auto_rotate_speed, true, 0.3f, 0.3f, 6, "auto forg nagysag:", true, step_speed},
    {&UiVars::graphics_scale, false, 0, 0, 4, "grafika nagysag  :", false, step_by_twentieth},
    {&UiVars::show_centers, false, 0, 0, 8, "babuk atlagpont m:", false, toggle},
};

}  // namespace

std::span<const RunParameter> run_parameters() { return table; }

const RunParameter* parameter_on_panel_row(float row) {
  for (const RunParameter& parameter : table)
    if (parameter.panel_row >= 0 && row == static_cast<float>(parameter.panel_row)) return &parameter;
  return nullptr;
}
