#include "app/logic_thread.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "runtime/control.h"
#include "runtime/failures.h"
#include "runtime/files/files.h"
#include "support/fresh_program.h"
#include "support/program_run.h"
#include "support/temporary_folder.h"

namespace {

using LogicThread = FreshProgram;

TEST_F(LogicThread, ClearAllVariablesEmptiesTheContextTrapAndFiles) {
  auto& g = program();
  g.loop_i = 3;
  g.pending_key = "m";
  g.model_table(1700, 2) = 5;
  arm_error_trap();
  runtime().failures.in_handler = true;
  TemporaryFolder folder;
  open_file("clear.dat", file_mode_output, 1);

  clear_all_variables();
  auto& fresh = program();
  EXPECT_EQ(fresh.loop_i, 0);
  EXPECT_EQ(fresh.pending_key, "");
  EXPECT_EQ(fresh.model_table(1700, 2), 0);
  EXPECT_FALSE(runtime().failures.trap_armed);
  EXPECT_FALSE(runtime().failures.in_handler);
  file_print_text(1, "x", true, false, true);
  EXPECT_EQ(take_failure(), 52);
  EXPECT_FALSE(folder.exists("clear.dat.saving"));
}

TEST(LogicThreadRun, ARestartClosesTheFilesAndClearsTheFailuresOfTheRunBefore) {
  ProgramRun run;
  ASSERT_TRUE(run.start());
  open_file("left_open.dat", file_mode_output, 2);
  FailureState& failures = runtime().failures;
  failures.in_handler = true;
  failures.handled = 53;
  ASSERT_TRUE(run.run_key('b'));

  EXPECT_FALSE(runtime().failures.in_handler);
  EXPECT_EQ(runtime().failures.handled, 0);
  open_file("left_open.dat", file_mode_output, 2);  // number 2 is free again
  EXPECT_EQ(runtime().failures.pending, 0);
  close_file(2);
}

TEST(LogicThreadRun, AFailedAllocationShowsOutOfMemoryAndEndsTheProgram) {
  ProgramRun run;
  int frames = 0;
  run.host.on_page_shown = [&] {
    if (runtime().screen.mode == graphics_mode && ++frames == 3) throw std::bad_alloc();
  };
  EXPECT_FALSE(run.start());
  EXPECT_EQ(run.run_to_end(), out_of_memory_exit_code);
  ASSERT_EQ(run.host.reports.size(), 1u);
  EXPECT_EQ(run.host.reports[0].caption, "");
  EXPECT_EQ(run.host.reports[0].text, "Out of memory");
}

}  // namespace
