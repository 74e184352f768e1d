// The state file as Windows names it: without regard to case.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "context/program.h"
#include "model/cell_rows.h"
#include "support/program_run.h"

namespace {

// A vorka.dat copied from an older system as VORKA.DAT is the program's state file: the start
// loads it, and the factory reset deletes it and leaves the factory file, one file, unreported.
TEST(StateFileOnWindows, AFileNamedInCapitalsIsLoadedAndReplacedByTheFactoryReset) {
  ProgramRun run;
  ASSERT_TRUE(run.start());
  const std::string factory_file = run.folder.read("vorka.dat");
  ASSERT_EQ(run.stop(), 0);
  std::filesystem::remove("vorka.dat");
  std::string edited = factory_file;
  const std::size_t radius_line = edited.rfind(" 50 \r\n");  // circle_radius, the last 50
  ASSERT_NE(radius_line, std::string::npos);
  edited.replace(radius_line, 6, " 70 \r\n");
  run.folder.write("VORKA.DAT", edited);

  ASSERT_TRUE(run.start());
  EXPECT_EQ(program().circle_radius, 70);
  ASSERT_TRUE(run.run_key('o'));
  EXPECT_TRUE(run.host.reports.empty());
  EXPECT_EQ(program().circle_radius, 50);
  EXPECT_EQ(n_kinds(), 3);
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(run.folder.path())) {
    ++files;
    EXPECT_EQ(run.folder.read(entry.path().filename().string()), factory_file);
  }
  EXPECT_EQ(files, 1u);
}

}  // namespace
