#include "runtime/mouse.h"

#include <algorithm>
#include <cmath>

#include "runtime/numbers.h"
#include "runtime/pending_failure.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"

namespace {

const MouseEvent& current_event() {
  MouseQueue& queue = runtime().mouse;
  return queue.events[queue.current.load(std::memory_order_relaxed)];
}

// Window pixel to page pixel with the margins and scales of this moment; outside the page it
// is the nearest edge pixel (and 0 when the mapping gives no number at all).
float page_coordinate(int window, float margin, float scale, int page_size) {
  const double page = std::nearbyint((static_cast<double>(window) - margin + 0.5) / scale - 0.5);
  if (!(page > 0)) return 0;
  return static_cast<float>(std::min(page, static_cast<double>(page_size - 1)));
}

void write_event(const MouseEvent& event) {
  MouseQueue& queue = runtime().mouse;
  const unsigned last = queue.last_written.load(std::memory_order_relaxed);
  const unsigned next = (last + 1) % mouse_queue_size;
  if (next == queue.current.load(std::memory_order_acquire)) return;  // the ring is full: dropped
  queue.events[next] = event;
  queue.last_written.store(next, std::memory_order_release);
}

MouseEvent last_event() {
  MouseQueue& queue = runtime().mouse;
  return queue.events[queue.last_written.load(std::memory_order_relaxed)];
}

std::int16_t clamp16(int value) { return static_cast<std::int16_t>(std::clamp(value, -32768, 32767)); }

}  // namespace

float mouse_input() {
  MouseQueue& queue = runtime().mouse;
  const unsigned current = queue.current.load(std::memory_order_relaxed);
  if (current == queue.last_written.load(std::memory_order_acquire)) return 0;
  queue.current.store((current + 1) % mouse_queue_size, std::memory_order_release);
  return -1;
}

float mouse_x() {
  const MouseMapping& mapping = runtime().mouse.mapping;
  return page_coordinate(current_event().x, mapping.left_margin.load(), mapping.horizontal_scale.load(), drawing_page().width);
}

float mouse_y() {
  const MouseMapping& mapping = runtime().mouse.mapping;
  return page_coordinate(current_event().y, mapping.top_margin.load(), mapping.vertical_scale.load(), drawing_page().height);
}

float mouse_button(int button) {
  if (button <= 0) {
    raise_error(error_illegal_function_call);
    return 0;
  }
  static constexpr std::uint16_t bits[] = {0, mouse_bit_left, mouse_bit_right, mouse_bit_middle};
  if (button > 3) return 0;
  return truth((current_event().buttons & bits[button]) != 0);
}

void queue_mouse_move(int x, int y) {
  MouseEvent event = last_event();
  event.move_x = clamp16(x - event.x);
  event.move_y = clamp16(y - event.y);
  event.x = clamp16(x);
  event.y = clamp16(y);
  write_event(event);
  event.move_x = event.move_y = 0;
  write_event(event);
}

void queue_mouse_button(std::uint16_t button_bit, bool down, int x, int y) {
  MouseEvent event = last_event();
  event.buttons = down ? (event.buttons | button_bit) : (event.buttons & ~button_bit);
  event.x = clamp16(x);
  event.y = clamp16(y);
  event.move_x = event.move_y = 0;
  write_event(event);
}

void queue_mouse_wheel(std::uint16_t wheel_bit, int x, int y) {
  queue_mouse_button(wheel_bit, true, x, y);
  queue_mouse_button(wheel_bit, false, x, y);
}

void set_mouse_mapping(float left_margin, float top_margin, float horizontal_scale, float vertical_scale) {
  MouseMapping& mapping = runtime().mouse.mapping;
  mapping.left_margin.store(left_margin);
  mapping.top_margin.store(top_margin);
  mapping.horizontal_scale.store(horizontal_scale);
  mapping.vertical_scale.store(vertical_scale);
}
