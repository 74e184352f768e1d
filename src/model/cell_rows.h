#pragma once
// Where the cell table keeps what: rows 0-39 hold each kind's colour, 40-79 each kind's count,
// 80-1679 the rule of one kind towards another, row by acting kind, and 1700 the number of
// kinds; in each row, the fields below.
#include "context/program.h"

// Fields of a cell-table row.
enum CellField : int {
  cell_column = 0,
  cell_row = 1,
  cell_value = 2,
  cell_minimum = 3,
  cell_maximum = 4,
  cell_visible = 5,
  cell_flag = 6,
};

constexpr float last_kind_slot = kind_slots - 1;
constexpr int first_rule_row = 2 * kind_slots;
constexpr int kinds_row = 1700;

inline float colour_row(float kind) { return kind; }
inline float count_row(float kind) { return single(extended{kind} + kind_slots); }
// The rule of the acting kind towards the target kind.
inline float rule_row(float actor, float target) {
  return single(extended{actor} * kind_slots + first_rule_row + target);
}

inline bool is_colour_row(float row) { return row <= last_kind_slot; }
inline bool is_count_row(float row) { return row >= kind_slots && row < first_rule_row; }
inline float kind_of_count_row(float row) { return single(extended{row} - kind_slots); }

// The number of kinds: the value of the kinds cell.
inline float& n_kinds() { return program().model_table(kinds_row, cell_value); }
// The last kind in use: one below the number of kinds.
inline float last_kind() { return single(extended{n_kinds()} - 1); }
