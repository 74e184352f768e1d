#include "runtime/control.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

#include "runtime/failures.h"
#include "runtime/files/files.h"
#include "runtime/random.h"
#include "runtime/screen.h"
#include "support/fresh_program.h"
#include "support/temporary_folder.h"

namespace {

using Control = FreshProgram;

// Waits a bounded time for a logic thread that the end of a step holds. When it has not ended,
// the test fails with `what` and `release` frees the thread another way; a thread that even
// that leaves asleep ends the test process, as the future would wait for it for good.
template <class Result>
bool ends_in_time(std::future<Result>& logic, const char* what, void (*release)()) {
  constexpr auto bound = std::chrono::seconds(10);
  if (logic.wait_for(bound) == std::future_status::ready) return true;
  ADD_FAILURE() << what;
  release();
  if (logic.wait_for(bound) != std::future_status::ready) {
    std::fprintf(stderr, "%s, and the logic thread stays held\n", what);
    std::abort();
  }
  return false;
}

TEST_F(Control, ArmedTrapTakesAFailedOpenAndReportsTheNext) {
  arm_error_trap();
  open_file("/nonexistent-folder/vorka.dat", file_mode_input, 1);
  EXPECT_THROW(end_step(), ErrorTrapTaken);
  const FailureState& failures = runtime().failures;
  EXPECT_EQ(failures.handled, 76);
  EXPECT_TRUE(failures.in_handler);
  EXPECT_EQ(failures.pending, 0);
  EXPECT_TRUE(host.reports.empty());

  host.report_answers = {true};
  open_file("/nonexistent-folder/vorka.dat", file_mode_input, 1);
  EXPECT_NO_THROW(end_step(41));  // inside the handler: reported, and Yes goes on
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(host.reports[0].caption, "Unhandled Error #76");
  EXPECT_EQ(host.reports[0].text, "Line: 41 (in main module)\nPath not found\nContinue?");
}

TEST_F(Control, UnhandledFailureIsReportedWithItsTexts) {
  const struct {
    int code;
    const char* caption;
    const char* message;
  } cases[] = {
      {62, "Unhandled Error #62", "Input past end of file"},
      {9, "Unhandled Error #9", "Subscript out of range"},
      {75, "Unhandled Error #75", "Path/File access error"},
      {99, "Unhandled Error #99", "Unprintable error"},
  };
  host.answer_when_unscripted = true;
  for (const auto& c : cases) {
    raise_error(c.code);
    end_step(17012);
    EXPECT_EQ(runtime().failures.pending, 0);
    ASSERT_FALSE(host.reports.empty());
    EXPECT_EQ(host.reports.back().caption, c.caption);
    EXPECT_EQ(host.reports.back().text, std::string("Line: 17012 (in main module)\n") + c.message + "\nContinue?");
  }
  EXPECT_EQ(host.reports.size(), std::size(cases));
  end_step();  // nothing pending: no report
  EXPECT_EQ(host.reports.size(), std::size(cases));
}

TEST_F(Control, NoEndsTheProgramWithExitCodeZeroAndClosesFiles) {
  TemporaryFolder folder;
  open_file("no.dat", file_mode_output, 1);
  host.report_answers = {false};
  raise_error(62);
  try {
    end_step();
    FAIL() << "the program went on";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.exit_code, 0);
  }
  file_print_text(1, "x", true, false, true);
  EXPECT_EQ(take_failure(), 52);
  EXPECT_FALSE(folder.exists("no.dat.saving"));  // the unfinished save is gone
  EXPECT_FALSE(folder.exists("no.dat"));
}

TEST_F(Control, OnlyTheFirstFailureOfAStepCounts) {
  raise_error(62);
  raise_error(6);
  EXPECT_EQ(take_failure(), 62);
  raise_error(0);
  EXPECT_EQ(take_failure(), 5);
  raise_error(-7);
  EXPECT_EQ(take_failure(), 5);
}

TEST_F(Control, WhileAFailureIsPendingTheGeneratorStands) {
  const std::uint32_t seed = runtime().seed;
  raise_error(9);
  EXPECT_EQ(rnd(), 0);
  EXPECT_EQ(runtime().seed, seed);
  take_failure();
  EXPECT_EQ(rnd(), 11837123 / 16777216.0f);
}

TEST_F(Control, StopRequestEndsTheProgramAtTheEndOfTheStep) {
  request_stop();
  EXPECT_THROW(end_step(), ProgramEnd);
}

TEST_F(Control, PauseHoldsTheLogicUntilReleased) {
  request_pause(true);
  std::atomic<bool> passed{false};
  auto logic = std::async(std::launch::async, [&] {
    try {
      end_step();
    } catch (const ProgramEnd&) {
    }
    passed = true;
  });
  EXPECT_EQ(logic.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  EXPECT_FALSE(passed);
  request_pause(false);
  if (ends_in_time(logic, "the pause did not end", request_stop)) {
    EXPECT_TRUE(passed);
  }
}

TEST_F(Control, StopEndsTheLogicThatThePauseHolds) {
  request_pause(true);
  auto logic = std::async(std::launch::async, [] {
    try {
      end_step();
    } catch (const ProgramEnd& end) {
      return end.exit_code;
    }
    return -1;
  });
  EXPECT_EQ(logic.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  request_stop();
  if (ends_in_time(logic, "the stop did not end the pause", [] { request_pause(false); })) {
    EXPECT_EQ(logic.get(), 0);
  }
}

TEST_F(Control, RuntimeResetGivesTheStartUpScreenAndSequence) {
  set_screen_mode(graphics_mode, 0, 0, 1);
  EXPECT_EQ(host.window_height, 480);
  std::vector<float> first;
  for (int i = 0; i < 5; ++i) first.push_back(rnd());

  reset_runtime_for_run();
  EXPECT_EQ(host.window_width, 640);
  EXPECT_EQ(host.window_height, 400);
  EXPECT_EQ(runtime().screen.mode, text_mode);
  EXPECT_EQ(drawing_page().foreground, 7);
  EXPECT_EQ(drawing_page().background, 0);
  EXPECT_EQ(runtime().seed, 0x50000u);
  for (float value : first) EXPECT_EQ(rnd(), value);
  EXPECT_EQ(first[0], 11837123 / 16777216.0f);
}

}  // namespace
