#include "runtime/control.h"

#include <new>

#include "runtime/files.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"

void restart_program() { throw RestartRequest{}; }

void park_program_thread() {
  abandon_all_files();
  throw ProgramEnd{0};
}

int end_out_of_memory() {
  abandon_all_files();
  try {
    if (Host* host = runtime().host) host->report_fatal("Out of memory");
  } catch (const std::bad_alloc&) {
    // Not even the box could be had: the program ends without it.
  }
  return out_of_memory_exit_code;
}

void reset_runtime_for_run() {
  static_cast<RunState&>(runtime()) = RunState{};
  present_screen();
}
