// The state file's failures as the running program meets them: the error report, what going
// on reads, and the end on No.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/runtime.h"
#include "support/program_run.h"

namespace {

std::string lines_of(int count, const std::string& text) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += text + " \r\n";
  return bytes;
}

TEST(StateFileRun, AFileCutShortIsReportedPerMissingValueAndRunsWithZerosOnYes) {
  ProgramRun run;
  run.folder.write("vorka.dat", lines_of(100, " 7"));
  run.host.answer_when_unscripted = true;
  ASSERT_TRUE(run.start());
  ASSERT_EQ(run.host.reports.size(), 17018u - 100u);
  EXPECT_EQ(run.host.reports[0].caption, "Unhandled Error #62");
  auto& g = program();
  EXPECT_EQ(g.model_table(9, cell_value), 7);
  EXPECT_EQ(g.model_table(10, cell_value), 0);
  EXPECT_EQ(n_kinds(), 0);
  EXPECT_EQ(g.max_particles, 0);
  EXPECT_TRUE(run.run_frames(2));
}

TEST(StateFileRun, AnsweringNoToTheFirstMissingValueEndsTheProgram) {
  ProgramRun run;
  run.folder.write("vorka.dat", lines_of(100, " 7"));
  run.host.report_answers = {false};
  EXPECT_FALSE(run.start());
  EXPECT_EQ(run.run_to_end(), 0);
  EXPECT_EQ(run.host.reports.size(), 1u);
  EXPECT_EQ(run.frames_shown(), 0);
}

TEST(StateFileRun, AFactoryFileThatCannotBeWrittenIsReported) {
  ProgramRun run;
  std::filesystem::create_directory("vorka.dat");  // can be neither read nor replaced
  run.host.report_answers = {false};
  EXPECT_FALSE(run.start());
  EXPECT_EQ(run.run_to_end(), 0);
  ASSERT_EQ(run.host.reports.size(), 1u);
  EXPECT_EQ(run.host.reports[0].caption, "Unhandled Error #70");  // a folder refuses access
  EXPECT_NE(run.host.reports[0].text.find("Permission denied"), std::string::npos) << run.host.reports[0].text;
  EXPECT_TRUE(std::filesystem::is_directory("vorka.dat"));
}

TEST(StateFileRun, ASaveThatFailsIsReportedAndTheProgramGoesOnWithTheOldFile) {
  ProgramRun run;
  ASSERT_TRUE(run.start());
  const std::string factory_file = run.folder.read("vorka.dat");
  ASSERT_TRUE(run.run_frames(1));
  program().model_table(80, cell_value) = 1;
  run.host.writes_until_failure = 9000;
  run.host.report_answers = {true};
  ASSERT_TRUE(run.run_key('m'));
  ASSERT_EQ(run.host.reports.size(), 1u);
  EXPECT_EQ(run.folder.read("vorka.dat"), factory_file);
  EXPECT_FALSE(run.folder.exists("vorka.dat.saving"));
  EXPECT_TRUE(run.run_frames(1));
}

}  // namespace
