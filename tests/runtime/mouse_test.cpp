#include "runtime/mouse.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "runtime/screen.h"
#include "support/fresh_program.h"

namespace {

class Mouse : public FreshProgram {
 protected:
  void SetUp() override {
    FreshProgram::SetUp();
    set_screen_mode(graphics_mode, 0, 0, 1);
  }

  static std::uint16_t current_buttons() {
    const MouseQueue& queue = runtime().mouse;
    return queue.events[queue.current.load()].buttons;
  }
};

TEST_F(Mouse, BeforeAnyEventEverythingReadsZero) {
  EXPECT_EQ(mouse_x(), 0);
  EXPECT_EQ(mouse_y(), 0);
  EXPECT_EQ(mouse_button(1), 0);
  EXPECT_EQ(mouse_button(2), 0);
  EXPECT_EQ(mouse_input(), 0);
  EXPECT_EQ(runtime().mouse.current.load(), 0u);
}

TEST_F(Mouse, MovementIsTwoEventsAtTheNewPosition) {
  queue_mouse_move(100, 50);
  EXPECT_EQ(mouse_x(), 0);  // nothing changes until the logic advances
  EXPECT_EQ(mouse_input(), -1);
  EXPECT_EQ(mouse_x(), 100);
  EXPECT_EQ(mouse_y(), 50);
  EXPECT_EQ(runtime().mouse.events[1].move_x, 100);
  EXPECT_EQ(mouse_input(), -1);
  EXPECT_EQ(mouse_x(), 100);
  EXPECT_EQ(runtime().mouse.events[2].move_x, 0);
  EXPECT_EQ(mouse_input(), 0);
  EXPECT_EQ(runtime().mouse.current.load(), 2u);
}

TEST_F(Mouse, PressesAndReleasesChangeOnlyTheirOwnButton) {
  queue_mouse_button(mouse_bit_left, true, 10, 20);
  queue_mouse_button(mouse_bit_right, true, 11, 21);
  queue_mouse_button(mouse_bit_left, false, 12, 22);
  queue_mouse_button(mouse_bit_middle, true, 12, 22);
  const struct {
    float left, right, middle, x;
  } after_each[] = {{-1, 0, 0, 10}, {-1, -1, 0, 11}, {0, -1, 0, 12}, {0, -1, -1, 12}};
  for (const auto& expected : after_each) {
    ASSERT_EQ(mouse_input(), -1);
    EXPECT_EQ(mouse_button(1), expected.left);
    EXPECT_EQ(mouse_button(2), expected.right);
    EXPECT_EQ(mouse_button(3), expected.middle);
    EXPECT_EQ(mouse_x(), expected.x);
  }
  EXPECT_EQ(mouse_button(4), 0);
  EXPECT_EQ(take_failure(), 0);
  EXPECT_EQ(mouse_button(0), 0);
  EXPECT_EQ(take_failure(), 5);
}

TEST_F(Mouse, WheelNotchIsAPressAndAReleaseOfItsBit) {
  queue_mouse_button(mouse_bit_right, true, 5, 5);
  queue_mouse_wheel(mouse_bit_wheel_up, 5, 5);
  mouse_input();
  mouse_input();
  EXPECT_EQ(current_buttons(), mouse_bit_right | mouse_bit_wheel_up);
  EXPECT_EQ(mouse_button(2), -1);
  EXPECT_EQ(mouse_input(), -1);
  EXPECT_EQ(current_buttons(), mouse_bit_right);
  EXPECT_EQ(mouse_input(), 0);
}

TEST_F(Mouse, WindowPointsMapToPagePixelsWithMarginsAndScales) {
  const struct {
    float left, top, horizontal, vertical;
    int window_x, window_y;
    float page_x, page_y;
  } cases[] = {
      {0, 0, 1, 1, 639, 479, 639, 479},           // shown at its own size: the window pixel
      {0, 0, 1, 1, -5, 700, 0, 479},              // left of and below the page
      {80, 40, 2, 2, 81, 43, 0, 1},               // (1.5 / 2 - 0.5, 3.5 / 2 - 0.5)
      {80, 40, 2, 2, 79, 39, 0, 0},               // in the margin: the first pixel
      {80, 40, 2, 2, 1360, 1000, 639, 479},       // beyond the page: the last pixel
      {0.5f, 0.5f, 2, 2, 2, 4, 0, 2},             // halves go to even: 0.5 and 1.5
      {0.5f, 0.5f, 2, 2, 6, 6, 2, 2},             // 2.5 to 2
      {0, 0, 0.5f, 0.5f, 100, 200, 200, 400},     // a page shown smaller than its size
  };
  for (const auto& c : cases) {
    set_mouse_mapping(c.left, c.top, c.horizontal, c.vertical);
    queue_mouse_button(mouse_bit_left, true, c.window_x, c.window_y);
    mouse_input();
    EXPECT_EQ(mouse_x(), c.page_x) << c.window_x << " with margin " << c.left << " and scale " << c.horizontal;
    EXPECT_EQ(mouse_y(), c.page_y) << c.window_y << " with margin " << c.top << " and scale " << c.vertical;
  }
}

// The window thread writes while the logic reads: every event read is whole and in order.
TEST_F(Mouse, EventsQueuedFromAnotherThreadArriveWholeAndInOrder) {
  constexpr int moves = 20000;  // 40,000 events: the ring never fills
  std::atomic<bool> done{false};
  std::thread window([&] {
    for (int i = 1; i <= moves; ++i) queue_mouse_move(i % 480, i % 480);
    done = true;
  });
  int events = 0, wrong = 0;
  for (;;) {
    const bool finished = done.load();
    if (mouse_input() == 0) {
      if (finished) break;
      continue;
    }
    ++events;
    const float expected = static_cast<float>(((events + 1) / 2) % 480);
    if (mouse_x() != expected || mouse_y() != expected) ++wrong;
  }
  window.join();
  EXPECT_EQ(events, 2 * moves);
  EXPECT_EQ(wrong, 0);
}

}  // namespace
