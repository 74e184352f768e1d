#pragma once
// The constants of the projection, shared by the extended formula and the fast lanes.

constexpr double ratio_offset = 0.00001;  // keeps the ratio's denominator from 0 for a finite w
constexpr float half_turn = 180;
constexpr float full_turn = 360;
// The screen values: (centre_size / centre_size_divisor) * p / screen_divisor * (z + depth_offset).
constexpr float centre_size_divisor = 50;
constexpr float screen_divisor = 150;
