#include "model/generators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/cell_table.h"
#include "runtime/random.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/fresh_program.h"

namespace {

constexpr float no_value = std::numeric_limits<float>::quiet_NaN();

class Generators : public FreshProgram {
 protected:
  void SetUp() override {
    FreshProgram::SetUp();
    set_screen_mode(12, 0, 1, 13);
  }
  static float& count_cell(int kind) { return program().model_table(40 + kind, cell_value); }
  static void counts(const std::vector<float>& values) {
    n_kinds() = static_cast<float>(values.size());
    for (std::size_t k = 0; k < values.size(); ++k) count_cell(static_cast<int>(k)) = values[k];
  }
  static std::vector<float> counts_in_use() {
    std::vector<float> values;
    for (int k = 0; k < n_kinds(); ++k) {
      values.push_back(count_cell(k));
      EXPECT_EQ(program().color_count(k), count_cell(k)) << "kind tables not applied";
    }
    return values;
  }
};

TEST_F(Generators, RescaleSharesTheMaximumOutAndKeepsAFinalShare) {
  struct Pass {
    float maximum;
    std::vector<float> expected;
  };
  const struct {
    std::vector<float> start;
    std::vector<Pass> passes;
  } cases[] = {
      {{5, 5, 5}, {{100, {33, 33, 33}}, {100, {33, 33, 33}}}},
      {{29, 29}, {{30, {14, 14}}, {30, {15, 15}}, {30, {15, 15}}}},
      {{5, 5, 5}, {{-10, {-4, -4, -4}}, {-10, {-4, -4, -4}}}},
      // Counts the particle table can hold, and counts that add up to 0.
      {{5}, {{1000, {801}}, {1000, {801}}}},
      {{5, 5, 5}, {{0, {0, 0, 0}}, {0, {0, 0, 0}}, {100, {33, 33, 33}}}},
      {{5, 5, 5}, {{no_value, {0, 0, 0}}, {100, {33, 33, 33}}}},
      {{0, 0, 0}, {{1000, {333, 333, 333}}}},
      {{-5, 5}, {{100, {50, 50}}}},
  };
  for (const auto& c : cases) {
    SetUp();
    counts(c.start);
    count_cell(static_cast<int>(c.start.size())) = 77;  // a kind not in use
    for (const Pass& pass : c.passes) {
      program().max_particles = pass.maximum;
      rescale_counts();
      apply_cell_grid();
      EXPECT_EQ(counts_in_use(), pass.expected) << c.start.front() << " with maximum " << pass.maximum;
    }
    EXPECT_EQ(count_cell(static_cast<int>(c.start.size())), 77);
  }
}

TEST_F(Generators, EqualCountsFillEveryCountCell) {
  const struct {
    float kinds, maximum, expected;
  } cases[] = {{1, 100, 100}, {3, 100, 33}, {7, 100, 14}, {1, 1000, 801}, {3, no_value, 0}, {3, -10, -4}};
  for (const auto& c : cases) {
    SetUp();
    n_kinds() = c.kinds;
    program().max_particles = c.maximum;
    equalize_counts();
    apply_cell_grid();
    for (int k = 0; k < 40; ++k) ASSERT_EQ(count_cell(k), c.expected) << c.kinds << " kinds, kind " << k;
    EXPECT_EQ(program().color_count(39), c.expected);
  }
}

TEST_F(Generators, RandomRulesDrawOncePerRuleCellInRowOrder) {
  const struct {
    void (*entry)();
    float range, offset;
    std::vector<float> values;
  } cases[] = {{randomize_forces_r, 3, 1, {-1, 0, 1}}, {randomize_forces_t, 2, 0, {0, 1}}};
  for (const auto& c : cases) {
    SetUp();
    n_kinds() = 3;
    program().model_table(81, cell_visible) = 1;  // kind 0 towards kind 1 is shown
    const std::vector<float> draws = next_draws(1601);
    c.entry();
    apply_cell_grid();
    std::vector<int> seen(3, 0);
    for (int row = 80; row < 1680; ++row) {
      const float drawn = std::floor(static_cast<float>(draws[row - 80] * c.range)) - c.offset;
      ASSERT_EQ(program().model_table(row, cell_value), drawn) << row;
      ++seen[static_cast<std::size_t>(drawn + 1)];
    }
    for (const float value : c.values) EXPECT_GT(seen[static_cast<std::size_t>(value + 1)], 400) << value;
    EXPECT_EQ(rnd(), draws[1600]);
    const float rule = program().model_table(81, cell_value);
    EXPECT_EQ(program().kind_rules(0), rule == 0 ? "" : (rule > 0 ? "+11" : "-11"));
  }
}

TEST_F(Generators, RandomCountsDrawOneWeightPerKindInUse) {
  auto& g = program();
  counts({5, 5, 5, 5});
  count_cell(4) = 77;
  g.max_particles = 100;
  const std::vector<float> draws = next_draws(5);
  randomize_counts();
  apply_cell_grid();
  EXPECT_EQ(rnd(), draws[4]);
  float total = 0;
  for (int k = 0; k < 4; ++k) {
    const float weight = static_cast<float>(draws[k] * 10000.0 + 100);
    EXPECT_EQ(g.count_weight(k), weight);
    EXPECT_GE(weight, 100);
    EXPECT_LE(weight, 10100);
    const float share = g.max_particles / g.weight_sum;
    EXPECT_EQ(count_cell(k), std::floor(weight * share)) << k;
    total += count_cell(k);
  }
  EXPECT_LE(total, 100);
  EXPECT_GT(total, 95);
  EXPECT_EQ(count_cell(4), 77);
  EXPECT_EQ(counts_in_use().size(), 4u);
}

}  // namespace
