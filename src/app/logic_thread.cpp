#include "app/logic_thread.h"

#include <new>

#include "app/startup.h"
#include "compute/precision_control.h"
#include "context/program.h"
#include "runtime/control.h"
#include "state/state_file.h"

void clear_all_variables() {
  reset_program();
  clear_files_and_trap();
}

int run_logic() {
  select_extended_precision();
  try {
    clear_all_variables();
    for (;;) {
      try {
        try {
          run_program();
        } catch (const ErrorTrapTaken&) {
          handle_missing_state();
          run_program_after_load();
        }
      } catch (const RestartRequest&) {
        reset_runtime_for_run();
        clear_all_variables();
      } catch (const ProgramEnd& end) {
        return end.exit_code;
      }
    }
  } catch (const std::bad_alloc&) {
    return end_out_of_memory();
  }
}
