#pragma once
// The mouse event queue: 65,536 events in a ring, written by the window thread and read by the
// logic without a lock. Positions are window pixels; the logic reads page pixels.
#include <array>
#include <atomic>
#include <cstdint>

constexpr unsigned mouse_queue_size = 65536;

enum MouseButtonBit : std::uint16_t {
  mouse_bit_left = 1,
  mouse_bit_middle = 2,
  mouse_bit_right = 4,
  mouse_bit_wheel_up = 8,
  mouse_bit_wheel_down = 16,
};

struct MouseEvent {
  std::int16_t x = 0, y = 0;
  std::uint16_t buttons = 0;
  std::int16_t move_x = 0, move_y = 0;
};

// Where and how large the page is shown inside the window, for mapping window pixels to page
// pixels at the moment a position is read.
struct MouseMapping {
  std::atomic<float> left_margin{0}, top_margin{0};
  std::atomic<float> horizontal_scale{1}, vertical_scale{1};
};

struct MouseQueue {
  std::array<MouseEvent, mouse_queue_size> events{};
  std::atomic<unsigned> current{0};     // the event every reader reads
  std::atomic<unsigned> last_written{0};
  MouseMapping mapping;
};
