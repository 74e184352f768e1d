#include "runtime/control.h"

#include "app/program.h"
#include "runtime/files.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"

void restart_program() { throw RestartRequest{}; }

void park_program_thread() {
  abandon_all_files();
  throw ProgramEnd{0};
}

void reset_runtime_for_run() {
  reset_screen();
  runtime().seed = random_start_seed;
}

void clear_all_variables() {
  reset_program();
  abandon_all_files();
  FailureState& failures = runtime().failures;
  failures.trap_armed = false;
  failures.in_handler = false;
}
