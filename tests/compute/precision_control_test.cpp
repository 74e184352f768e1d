#include "compute/precision_control.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "compute/worker_pool.h"
#include "support/precision_probe.h"
#include "support/program_run.h"

namespace {

std::uint16_t control_word() {
  std::uint16_t word;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

void load_control_word(std::uint16_t word) { asm volatile("fldcw %0" : : "m"(word)); }

// Runs the action on this thread with the x87 unit set to round every result to a double's
// 53-bit significand, as some libraries leave it, and puts the old setting back.
template <typename Action>
void with_double_precision(Action action) {
  const std::uint16_t saved = control_word();
  load_control_word(static_cast<std::uint16_t>((saved & ~0x0300) | 0x0200));
  action();
  load_control_word(saved);
}

TEST(PrecisionControl, SelectingExtendedPrecisionRestoresTheFullSignificand) {
  with_double_precision([] {
    ASSERT_FALSE(extended_precision_selected());
    ASSERT_FALSE(sum_keeps_extended_bits());
    select_extended_precision();
    EXPECT_TRUE(extended_precision_selected());
    EXPECT_TRUE(sum_keeps_extended_bits());
  });
}

TEST(PrecisionControl, WorkersStartedFromALoweredThreadComputeInExtendedPrecision) {
  constexpr int threads = 4;
  std::vector<int> ran(threads, 0), exact(threads, 1);
  // Where a new thread inherits its creator's setting (Linux), the workers start lowered and
  // must select extended precision themselves; elsewhere (Windows) they start at extended.
  with_double_precision([&] {
    set_worker_count(threads);  // the next loop starts new workers from this thread
    parallel_for(threads * 50, 1, [&](std::size_t, std::size_t, int worker) {
      if (worker == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // leave the loop to the workers
        return;
      }
      ran[worker] = 1;
      if (!sum_keeps_extended_bits() || !extended_precision_selected()) exact[worker] = 0;
    });
  });
  set_worker_count(0);
  for (int worker = 1; worker < threads; ++worker) {
    EXPECT_EQ(exact[worker], 1) << "worker " << worker;
  }
  EXPECT_GT(ran[1] + ran[2] + ran[3], 0);
}

TEST(PrecisionControl, TheLogicThreadSelectsExtendedPrecisionWhenStartedFromALoweredThread) {
  ProgramRun run;
  std::atomic<int> frames_in_extended{0}, frames_lowered{0};
  const auto hold_at_frame = run.host.on_page_shown;
  run.host.on_page_shown = [&] {
    (extended_precision_selected() ? frames_in_extended : frames_lowered)++;
    hold_at_frame();
  };
  bool started = false;
  with_double_precision([&] { started = run.start(); });
  ASSERT_TRUE(started);
  ASSERT_TRUE(run.run_frames(3));
  EXPECT_GT(frames_in_extended.load(), 0);
  EXPECT_EQ(frames_lowered.load(), 0);
}

}  // namespace
