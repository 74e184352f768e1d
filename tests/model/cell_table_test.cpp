#include "model/cell_table.h"

#include <gtest/gtest.h>

#include "support/fresh_program.h"
#include "support/rule_rows.h"

namespace {

class CellTable : public FreshProgram {
 protected:
  // The factory cells for the given number of kinds: counts 5, colours 1, 2, 3 ..., rules 0,
  // with the visibility the grid layout gives.
  void factory_cells(int kinds) {
    auto& g = program();
    n_kinds() = static_cast<float>(kinds);
    for (int j = 0; j < 40; ++j) {
      g.model_table(j, cell_value) = static_cast<float>(j % 15 + 1);
      g.model_table(40 + j, cell_value) = 5;
      g.model_table(j, cell_visible) = g.model_table(40 + j, cell_visible) = j < kinds ? 1.0f : 0.0f;
      for (int c = 0; c < 40; ++c) g.model_table(rule_table_row(j, c), cell_visible) = (j < kinds && c < kinds) ? 1.0f : 0.0f;
    }
  }
  static float& rule(int r, int c) { return program().model_table(rule_table_row(r, c), cell_value); }
};

TEST_F(CellTable, FactoryCellsGiveEmptyRulesAndTheTotalOfTheKindsInUse) {
  factory_cells(3);
  program().model_table(45, cell_value) = 600;  // kind 5 is hidden: copied, not counted
  apply_cell_grid();
  auto& g = program();
  EXPECT_EQ(g.total_particles, 15);
  EXPECT_EQ(g.color_count(5), 600);
  for (int k = 0; k < 40; ++k) EXPECT_EQ(g.kind_rules(k), "") << k;
  EXPECT_EQ(g.kind_colour(0), 1);
  EXPECT_EQ(g.kind_colour(2), 3);
  EXPECT_EQ(g.color_count(39), 5);
}

TEST_F(CellTable, RuleStringsFollowTargetOrderAndTheEntryTest) {
  const struct {
    int kinds;
    std::vector<std::pair<int, float>> rules_of_kind_1;
    const char* text;
  } cases[] = {
      {3, {{0, -1}, {2, 1}}, "-10+12"},
      {12, {{2, 1}, {11, -1}}, "+12-111"},
      {12, {{10, 1}}, "+110"},
      {3, {{5, 1}}, ""},          // a target beyond the kinds in use is hidden
      {3, {{2, 2}}, ""},          // 1 AND 2 is 0
      {3, {{2, 3}}, "+32"},
      {3, {{2, 0.6f}}, "+.62"},   // nearest integer 1
      {3, {{2, -0.4f}}, ""},      // nearest integer 0
  };
  for (const auto& c : cases) {
    reset_program();
    factory_cells(c.kinds);
    for (const auto& [target, value] : c.rules_of_kind_1) rule(1, target) = value;
    apply_cell_grid();
    EXPECT_EQ(program().kind_rules(1), c.text) << c.kinds << " kinds";
    EXPECT_EQ(program().kind_rules(0), "");
  }
}

}  // namespace
