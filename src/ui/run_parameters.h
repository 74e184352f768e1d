#pragma once
// The run parameters, one row each: what start-up sets before the state file is read, what
// the factory state holds, whether the state file keeps them, where the panel shows them and
// what a click on their row does.
#include <span>

#include "context/program.h"

struct RunParameter {
  float UiVars::* member;
  bool saved;      // kept in the state file, in the order of the table
  float preload;   // saved parameters: the value before the state file is read
  float factory;   // saved parameters: the value of the factory state
  int panel_row;   // -1: not on the panel
  const char* label;        // 18 characters: every colon stands in column 18
  bool shown_by_template;   // shown through the fixed template rather than as a number
  // A click on the row: step is -1 for the left button, +1 for the right.
  void (*edit)(float& value, extended step);
};

std::span<const RunParameter> run_parameters();
// The parameter shown on a panel row, nullptr for a row that shows none.
const RunParameter* parameter_on_panel_row(float row);
