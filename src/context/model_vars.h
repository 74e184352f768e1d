#pragma once
// The cell table, the kind tables derived from it, the particles and the generators' values.
#include <string>

#include "runtime/tables.h"

constexpr int cell_rows = 2601;
constexpr int cell_fields = 11;  // the row layout: model/cell_rows.h
constexpr int kind_slots = 40;  // kinds the cell table has rows for

struct ModelVars {
  Table<float, cell_rows, cell_fields> model_table;
  Table<std::string, cell_rows> cell_help;

  Table<float, 801> kind_colour;
  Table<float, 801> color_count;
  Table<std::string, 801> kind_rules;
  float total_particles = 0;
  std::string rule_sign, rule_mag, rule_kind;  // the three parts of a rule entry

  // Kind, particle number, field: x, y, z, then the force x, y, z of the last step.
  Table<float, 181, 801, 6> particle;
  Table<float, 101, 3> color_center;
  float force_max = 0;
  float move_scale = 0;

  // Count and rule generators.
  float force_range = 0, force_offset = 0;
  Table<float, kind_slots> count_weight;
  float weight_sum = 0;
  float equal_count = 0;
};
