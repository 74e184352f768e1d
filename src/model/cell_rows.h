#pragma once
// Where the cell table keeps what.
#include "context/program.h"

constexpr int kinds_row = 1700;  // the cell holding the number of kinds

// The number of kinds: the value of the kinds cell.
inline float& n_kinds() { return program().model_table(kinds_row, cell_value); }
