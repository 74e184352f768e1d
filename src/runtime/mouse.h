#pragma once
// The mouse: the logic reads the queue's current event, the window thread writes events.
#include <cstdint>

#include "runtime/mouse_queue.h"

// The logic's side.
float mouse_input();
float mouse_x();
float mouse_y();
// 1 left, 2 right, 3 middle: -1 when down in the current event, else 0.
float mouse_button(int button);

// The window's side, in window pixels.
void queue_mouse_move(int x, int y);
void queue_mouse_button(std::uint16_t button_bit, bool down, int x, int y);
void queue_mouse_wheel(std::uint16_t wheel_bit, int x, int y);
void set_mouse_mapping(float left_margin, float top_margin, float horizontal_scale, float vertical_scale);
