#include "runtime/control.h"

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

void clear_files_and_trap() {
  abandon_all_files();
  FailureState& failures = runtime().failures;
  failures.trap_armed = false;
  failures.in_handler = false;
}
