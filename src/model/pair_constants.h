#pragma once
// The constants of the pair contribution, shared by the extended formula and the fast lanes.

constexpr double angle_offset = 1E-7;  // keeps every angle ratio away from 0 / 0
constexpr float half_turn = 180;
constexpr double falloff_numerator = 500;
constexpr float falloff_cap = 100;
