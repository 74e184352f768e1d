#pragma once
// The one program context: every variable and table of the logic, grouped by the room that
// owns it. A restart replaces it with a value-initialised one. Routines reach it with
//   auto& g = program();
#include "context/app_vars.h"
#include "context/model_vars.h"
#include "context/ui_vars.h"
#include "context/view_vars.h"

struct Program : AppVars, ModelVars, ViewVars, UiVars {};

extern Program* current_program;
inline Program& program() { return *current_program; }

// A fresh context, every value 0 or empty: the start of the program and every restart.
void reset_program();
