// A thread that Windows itself starts (CreateThread, as a library or a host may) begins with the
// x87 unit rounding to a double's significand, unlike one started by the C++ runtime; the logic
// must compute in extended precision on it all the same.
#include "compute/precision_control.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "app/logic_thread.h"
#include "host/headless_host.h"
#include "runtime/clock.h"
#include "runtime/control.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/precision_probe.h"
#include "support/temporary_folder.h"

namespace {

struct LogicOnWindowsThread {
  bool started_lowered = false;
  std::atomic<int> frames_extended{0}, frames_lowered{0};
};

DWORD WINAPI run_logic_on_windows_thread(void* observed) {
  static_cast<LogicOnWindowsThread*>(observed)->started_lowered = !extended_precision_selected();
  return static_cast<DWORD>(run_logic());
}

TEST(PrecisionControlOnWindows, TheLogicOnAThreadOfCreateThreadComputesInExtendedPrecision) {
  constexpr int frames = 3;
  TemporaryFolder folder;
  HeadlessHost host;
  start_runtime(host);
  host.start_clock_at(0);
  LogicOnWindowsThread observed;
  host.on_page_shown = [&] {
    if (runtime().screen.mode != graphics_mode) return;
    const bool extended = extended_precision_selected() && sum_keeps_extended_bits();
    (extended ? observed.frames_extended : observed.frames_lowered)++;
    if (observed.frames_extended + observed.frames_lowered == frames) request_stop();
  };
  HANDLE thread = CreateThread(nullptr, 0, run_logic_on_windows_thread, &observed, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  if (WaitForSingleObject(thread, 120'000) != WAIT_OBJECT_0) {
    // The logic would go on using the next test's runtime.
    std::fputs("the program's logic did not end\n", stderr);
    std::abort();
  }
  CloseHandle(thread);
  EXPECT_TRUE(observed.started_lowered) << "the thread did not start with the precision lowered";
  EXPECT_EQ(observed.frames_extended.load(), frames);
  EXPECT_EQ(observed.frames_lowered.load(), 0);
}

}  // namespace
