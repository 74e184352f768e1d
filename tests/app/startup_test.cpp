// The program from its start: the factory path of an empty folder, the clock-sized shift of
// the random sequence, and the restarts of reload and factory reset.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/keyboard.h"
#include "runtime/random.h"
#include "runtime/runtime.h"
#include "support/factory_file.h"
#include "support/program_run.h"
#include "support/rule_rows.h"

namespace {

constexpr int escape = 27;

float& value(int row) { return program().model_table(row, cell_value); }
float& rule(int r, int c) { return value(rule_table_row(r, c)); }

std::uint32_t seed_after(int draws) {
  std::uint32_t seed = random_start_seed;
  for (int i = 0; i < draws; ++i) seed = (seed * 16598013u + 12820163u) & 0xFFFFFFu;
  return seed;
}

TEST(Startup, AFirstStartInAnEmptyFolderWritesTheFactoryFileAndRunsWithThreeKinds) {
  ProgramRun run;
  ASSERT_TRUE(run.start());
  EXPECT_TRUE(run.host.reports.empty());
  expect_factory_file(run.folder.lines("vorka.dat"));
  const std::string bytes = run.folder.read("vorka.dat");
  EXPECT_EQ(bytes.substr(bytes.size() - 6), std::string(" .3 \r\n"));
  EXPECT_FALSE(run.folder.exists("vorka.dat.saving"));

  // The second start loaded the file: 3 kinds of 5, laid out for 3 kinds, and the first frame
  // selected the graphics screen.
  auto& g = program();
  EXPECT_EQ(n_kinds(), 3);
  EXPECT_EQ(g.color_count(0), 5);
  EXPECT_EQ(g.kind_colour(2), 3);
  EXPECT_EQ(g.model_table(40, cell_row), 23);
  EXPECT_EQ(g.step_size, 50);
  EXPECT_EQ(g.auto_rotate_speed, 0.3f);
  EXPECT_EQ(run.host.window_height, 480);
  EXPECT_EQ(runtime().screen.drawing_page, 0);
  EXPECT_EQ(runtime().screen.shown_page, 1);

  // The first pass rescales the counts to the maximum of 100.
  ASSERT_TRUE(run.run_frames(1));
  for (int kind = 0; kind < 3; ++kind) EXPECT_EQ(value(40 + kind), 33) << kind;
  EXPECT_EQ(run.stop(), 0);
}

TEST(Startup, TheClockFractionSizesTheDiscardOfRandomValues) {
  const struct {
    std::int64_t time_of_day_ms;
    float start_time;
    int discarded;
  } cases[] = {
      {0, 0, 1},                           // fraction 0
      {500, static_cast<float>(9 / 18.2), 50},  // 9 ticks: 0.4945055
      {65'540'962, 65540.9921875f, 100},   // the fraction 0.9921875 in single precision
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time_of_day_ms);
    ProgramRun run;
    ASSERT_TRUE(run.start(c.time_of_day_ms));
    // Held at the first frame, before the scatter draws its values.
    EXPECT_EQ(program().start_time, c.start_time);
    EXPECT_EQ(runtime().seed, seed_after(c.discarded));
    EXPECT_EQ(run.stop(), 0);
  }
}

class Restarts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.start());
    factory_file = run.folder.read("vorka.dat");
    ASSERT_TRUE(run.run_frames(1));
  }

  // Saves a model that differs from the factory one.
  void save_edited_model() {
    rule(0, 1) = -1;
    value(0) = 9;
    program().circle_radius = 70;
    program().step_size = 12;
    ASSERT_TRUE(run.run_key('m'));
  }

  ProgramRun run;
  std::string factory_file;
};

TEST_F(Restarts, ReloadBringsBackTheSavedModelAndTheStartValuesOfTheView) {
  save_edited_model();
  auto& g = program();
  rule(0, 1) = 1;
  rule(2, 2) = 1;
  g.circle_radius = 20;
  g.graphics_scale = 2;
  g.show_centers = 1;
  g.rot_angle_a = 123;
  ASSERT_TRUE(run.run_key('b'));

  auto& reloaded = program();
  EXPECT_EQ(rule(0, 1), -1);
  EXPECT_EQ(rule(2, 2), 0);
  EXPECT_EQ(value(0), 9);
  EXPECT_EQ(reloaded.kind_colour(0), 9);
  EXPECT_EQ(value(40), 33);
  EXPECT_EQ(reloaded.circle_radius, 70);
  EXPECT_EQ(reloaded.step_size, 12);
  EXPECT_EQ(reloaded.rot_angle_a, 15);
  EXPECT_EQ(reloaded.rot_angle_c, 70);
  EXPECT_EQ(reloaded.graphics_scale, 0.8f);
  EXPECT_EQ(reloaded.show_centers, 0);
  EXPECT_EQ(runtime().seed, seed_after(1));
  EXPECT_TRUE(run.host.reports.empty());
}

TEST_F(Restarts, FactoryResetEndsInTheFactoryStateWhetherOrNotAFileExisted) {
  for (const bool file_removed : {false, true}) {
    SCOPED_TRACE(file_removed ? "no file" : "edited file");
    save_edited_model();
    if (file_removed) std::filesystem::remove("vorka.dat");
    ASSERT_TRUE(run.run_key('o'));
    EXPECT_EQ(run.folder.read("vorka.dat"), factory_file);
    EXPECT_EQ(rule(0, 1), 0);
    EXPECT_EQ(value(40), 5);
    EXPECT_EQ(program().circle_radius, 50);
    EXPECT_EQ(program().step_size, 50);
    EXPECT_TRUE(run.host.reports.empty());
    ASSERT_TRUE(run.run_frames(1));
  }
}

TEST_F(Restarts, QuitSavesEndsWithExitCodeZeroAndTheNextStartShowsTheModelAsItWas) {
  rule(1, 0) = 1;
  value(1) = 12;
  program().circle_radius = 77;
  program().particle_shape = 2;
  queue_key(escape, 1);
  EXPECT_EQ(run.run_to_end(), 0);
  EXPECT_TRUE(run.host.reports.empty());

  ASSERT_TRUE(run.start());
  auto& g = program();
  EXPECT_EQ(rule(1, 0), 1);
  EXPECT_EQ(value(40), 33);
  EXPECT_EQ(g.kind_colour(1), 12);
  EXPECT_EQ(g.circle_radius, 77);
  EXPECT_EQ(g.particle_shape, 2);
  EXPECT_EQ(g.kind_rules(1), "+10");
}

}  // namespace
