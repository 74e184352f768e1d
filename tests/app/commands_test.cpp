// The command key of a pass: where it comes from, how it is compared and what it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/commands.h"
#include "context/program.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"
#include "runtime/runtime.h"
#include "support/fresh_program.h"
#include "support/program_run.h"
#include "support/rule_rows.h"
#include "ui/text_tables.h"

namespace {

float& value(int row) { return program().model_table(row, cell_value); }

std::vector<float> rules_in_use() {
  std::vector<float> rules;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) rules.push_back(value(rule_table_row(r, c)));
  return rules;
}

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.run_frames(1));
  }
  ProgramRun run;
};

TEST_F(Commands, SaveWritesTheLayoutOfTheLoadedKindsAndTheRescaledCounts) {
  ASSERT_TRUE(run.run_key('m'));
  const auto lines = run.folder.lines("vorka.dat");
  ASSERT_EQ(lines.size(), 17018u);
  auto line = [&](int row, int field) { return lines[10 * row + field]; };
  EXPECT_EQ(line(1700, cell_row), " 23 ");
  EXPECT_EQ(line(40, cell_row), " 23 ");
  EXPECT_EQ(line(40, cell_value), " 33 ");
  EXPECT_EQ(line(42, cell_value), " 33 ");
  EXPECT_EQ(line(2, cell_row), " 24 ");
  for (int r = 0; r < 3; ++r) EXPECT_EQ(line(rule_table_row(r, 1), cell_row), " " + std::to_string(25 + r) + " ") << r;
}

using CommandTable = FreshProgram;

TEST_F(CommandTable, TheMenuOffersEveryCommandAndOnlyThem) {
  init_tables();
  auto& g = program();
  std::vector<std::string> menu_keys;
  for (int entry = 0; entry < g.menu_count; ++entry) menu_keys.push_back(g.menu_item(entry, 0));
  std::vector<std::string> keys = command_keys();
  std::sort(menu_keys.begin(), menu_keys.end());
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(menu_keys, keys);
}

TEST(CommandKeys, UpperAndLowerCaseRunTheSameCommand) {
  std::vector<std::vector<float>> results;
  for (const char key : {'t', 'T'}) {
    ProgramRun other;
    ASSERT_TRUE(other.start());
    ASSERT_TRUE(other.run_frames(1));
    ASSERT_TRUE(other.run_key(static_cast<std::uint8_t>(key)));
    results.push_back(rules_in_use());
    EXPECT_EQ(other.stop(), 0);
  }
  EXPECT_EQ(results[0], results[1]);
  bool some_rule = false;
  for (const float rule : results[0]) {
    EXPECT_TRUE(rule == 0 || rule == 1) << rule;
    some_rule = some_rule || rule != 0;
  }
  EXPECT_TRUE(some_rule);
}

TEST_F(Commands, KeysOutsideTheTableDoNothing) {
  const struct {
    const char* name;
    std::uint8_t code, scan_code;
    bool typed;
  } cases[] = {
      {"no key", 0, 0, false},
      {"an unknown letter", 'x', 45, true},
      {"two characters ending in a command letter", 0, 'm', true},
      {"two characters ending in the reload letter", 0, 'b', true},
  };
  std::filesystem::remove("vorka.dat");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::uint32_t seed = runtime().seed;
    const std::vector<float> rules = rules_in_use();
    const float angle = program().rot_angle_a;
    if (c.typed) queue_key(c.code, c.scan_code);
    ASSERT_TRUE(run.run_frames(2));
    EXPECT_EQ(runtime().seed, seed);
    EXPECT_EQ(rules_in_use(), rules);
    EXPECT_EQ(program().rot_angle_a, static_cast<float>(static_cast<float>(angle + 0.3f) + 0.3f));
    EXPECT_FALSE(run.folder.exists("vorka.dat"));
  }
}

TEST_F(Commands, ScatterDrawsNewPositionsAndChangesNothingElse) {
  auto& g = program();
  g.auto_rotate_speed = 0;
  ASSERT_TRUE(run.run_frames(1));
  std::uint32_t seed = runtime().seed;
  for (int draw = 0; draw < 28800; ++draw) seed = (seed * 16598013u + 12820163u) & 0xFFFFFFu;
  const std::vector<float> rules = rules_in_use();
  const float angle_a = g.rot_angle_a, angle_c = g.rot_angle_c;
  ASSERT_TRUE(run.run_key('Q'));
  EXPECT_EQ(runtime().seed, seed);
  EXPECT_EQ(rules_in_use(), rules);
  EXPECT_EQ(value(40), 33);
  EXPECT_EQ(g.rot_angle_a, angle_a);
  EXPECT_EQ(g.rot_angle_c, angle_c);
  EXPECT_EQ(g.step_size, 50);
}

TEST_F(Commands, AMenuClickRunsItsCommandAndATypedKeyWaitsAPass) {
  std::filesystem::remove("vorka.dat");
  // Entry 7 ("m") stands on text row 10, pixel rows 144-159, from column 48 on.
  queue_mouse_move(400, 150);
  queue_mouse_button(mouse_bit_left, true, 400, 150);
  queue_key('t', 20);
  ASSERT_TRUE(run.run_frames(2));
  ASSERT_TRUE(run.folder.exists("vorka.dat"));
  const auto lines = run.folder.lines("vorka.dat");
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(lines[10 * rule_table_row(r, c) + cell_value], " 0 ");
  EXPECT_EQ(rules_in_use(), std::vector<float>(9, 0));

  ASSERT_TRUE(run.run_frames(1));
  EXPECT_NE(rules_in_use(), std::vector<float>(9, 0));
}

}  // namespace
