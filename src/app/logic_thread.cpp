#include "app/logic_thread.h"

#include <new>

#include "app/main_loop.h"
#include "compute/precision_control.h"
#include "context/program.h"
#include "runtime/control.h"
#include "state/state_file.h"

void clear_all_variables() {
  reset_runtime_for_run();
  reset_program();
}

int run_logic() {
  select_extended_precision();
  try {
    reset_program();
    for (;;) {
      try {
        try {
          run_program();
        } catch (const ErrorTrapTaken&) {
          handle_missing_state();
          run_program_after_load();
        }
      } catch (const RestartRequest&) {
        clear_all_variables();
      } catch (const ProgramEnd& end) {
        return end.exit_code;
      }
    }
  } catch (const std::bad_alloc&) {
    return end_out_of_memory();
  }
}
