// One pass of the main loop: which parts are shown, and the grid area that switches the
// mouse handling off.
#include <gtest/gtest.h>

#include "context/program.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"
#include "support/program_run.h"

namespace {

TEST(MainLoop, ThePanelHidesBeyondColumn630) {
  const struct {
    int x;
    float panel_shown;
  } cases[] = {{0, 1}, {630, 1}, {631, 0}, {639, 0}};
  ProgramRun run;
  ASSERT_TRUE(run.start());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    queue_mouse_move(c.x, 100);
    ASSERT_TRUE(run.run_frames(1));
    EXPECT_EQ(program().panel_shown, c.panel_shown);
  }
}

// With Shift held the menu is shown everywhere, and a left click on no entry row runs the entry
// last hovered, right after a start the quit entry: the click shows whether the mouse handling
// of the pass ran. The grid area of 3 kinds lies left of x 133 and below y 364.8.
TEST(MainLoop, TheGridAreaSwitchesTheMouseHandlingOffInsideItsEdgesOnly) {
  const struct {
    int x, y;
    bool handled;
  } cases[] = {{133, 400, true}, {132, 400, false}, {100, 364, true}, {100, 365, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    ProgramRun run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.run_frames(1));
    set_key_held(key_left_shift, true);
    queue_mouse_move(c.x, c.y);
    queue_mouse_button(mouse_bit_left, true, c.x, c.y);
    const bool still_running = run.run_frames(3);
    EXPECT_EQ(still_running, !c.handled);
    if (!still_running) {
      EXPECT_EQ(run.run_to_end(), 0);
    }
  }
}

}  // namespace
