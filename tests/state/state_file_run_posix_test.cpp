// The start in a folder that takes no file, as a user who may not write it (a program copied
// into a folder such as /usr/local/bin). The run plays in a child process of its own, started
// afresh, that gives up the privileges of a test run as root before it begins.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "context/program.h"
#include "model/cell_rows.h"
#include "support/program_run.h"

namespace {

constexpr uid_t unprivileged_id = 65534;  // nobody, nogroup

bool run_as_unprivileged_user() {
  if (geteuid() != 0) return true;
  return setgroups(0, nullptr) == 0 && setresgid(unprivileged_id, unprivileged_id, unprivileged_id) == 0 &&
         setresuid(unprivileged_id, unprivileged_id, unprivileged_id) == 0;
}

bool unprivileged_user_available() {
  const pid_t child = fork();
  if (child == 0) _exit(run_as_unprivileged_user() ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The failed factory save is reported once; the program then runs with the factory state in
// memory, a save reports the folder's refusal again, and no file appears. Exits with the number
// of checks that failed.
[[noreturn]] void start_in_a_folder_that_takes_no_file() {
  if (!run_as_unprivileged_user()) std::_Exit(100);
  int failed = 0;
  auto check = [&](bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "failed: %s\n", what);
    ++failed;
  };
  {
    ProgramRun run;
    chmod(run.folder.path().c_str(), 0555);
    run.host.report_answers = {true};
    check(run.start(), "the program reaches its first frame");
    check(run.host.reports.size() == 1, "one report at the start");
    check(!run.host.reports.empty() && run.host.reports[0].caption == "Unhandled Error #70", "it is #70");
    auto& g = program();
    check(n_kinds() == 3 && g.model_table(40, cell_value) == 5 && g.circle_radius == 50 && g.max_particles == 100,
          "the factory state is in memory");
    check(g.model_table(kinds_row, cell_row) == 23, "its grid is laid out as after a load");
    check(run.run_frames(2), "the program runs on");
    run.host.report_answers = {true};
    check(run.run_key('m'), "a save is answered");
    check(run.host.reports.size() == 2, "a save reports the refusal again");
    check(!run.folder.exists("vorka.dat"), "no file appears");
    check(run.stop() == 0, "the program ends in order");
    chmod(run.folder.path().c_str(), 0700);
  }
  std::_Exit(failed);
}

TEST(StateFileRunAsUser, AFolderThatTakesNoFileIsReportedOnceAndTheFactoryStateRuns) {
  if (!unprivileged_user_available()) GTEST_SKIP() << "cannot run as an unprivileged user here";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(start_in_a_folder_that_takes_no_file(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
