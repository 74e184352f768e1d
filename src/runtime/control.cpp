#include "runtime/control.h"

#include <new>

#include "runtime/files/files.h"
#include "runtime/keyboard.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"

void start_runtime(Host& host) {
  Runtime& rt = replace_runtime();
  rt.host = &host;
  for (const int code : host.keys_held_at_start()) set_key_held(code, true);
  present_screen();
}

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

void request_stop() {
  Runtime& rt = runtime();
  rt.stop_requested.store(true);
  rt.statement_event.store(true);
  // A stop also ends a pause, so that the paused logic wakes and sees it.
  rt.pause.set(false);
}

void request_pause(bool paused) {
  Runtime& rt = runtime();
  rt.pause.set(paused);
  if (paused) rt.statement_event.store(true);
}
