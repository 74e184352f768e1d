#include "runtime/failures.h"

#include "runtime/control.h"
#include "runtime/runtime.h"

std::atomic<bool> statement_event_flag{false};

const char* error_message(int code) {
  switch (code) {
    case error_illegal_function_call: return "Illegal function call";
    case error_overflow: return "Overflow";
    case error_subscript_out_of_range: return "Subscript out of range";
    case error_bad_file_number: return "Bad file name or number";
    case error_file_not_found: return "File not found";
    case error_bad_file_mode: return "Bad file mode";
    case error_file_already_open: return "File already open";
    case error_input_past_end: return "Input past end of file";
    case error_bad_file_name: return "Bad file name";
    case error_device_unavailable: return "Device unavailable";
    case error_permission_denied: return "Permission denied";
    case error_path_file_access: return "Path/File access error";
    case error_path_not_found: return "Path not found";
    default: return "Unprintable error";
  }
}

void raise_error(int code) {
  FailureState& failures = runtime().failures;
  if (failures.pending != 0) return;
  failures.pending = code <= 0 ? error_illegal_function_call : code;
  statement_event_flag.store(true, std::memory_order_relaxed);
}

bool failure_pending() { return runtime().failures.pending != 0; }

void arm_error_trap() { runtime().failures.trap_armed = true; }
void disarm_error_trap() { runtime().failures.trap_armed = false; }

void check_statement_events(int step_number) {
  Runtime& rt = runtime();
  statement_event_flag.store(false);
  // Paused, the logic sleeps until the pause ends or a stop ends it.
  while (rt.pause_requested.load()) rt.pause_requested.wait(true);
  if (rt.stop_requested.load()) park_program_thread();

  FailureState& failures = rt.failures;
  const int code = failures.pending;
  if (code == 0) return;
  if (failures.trap_armed && !failures.in_handler) {
    failures.pending = 0;
    failures.handled = code;
    failures.in_handler = true;
    throw ErrorTrapTaken{};
  }
  const std::string caption = "Unhandled Error #" + std::to_string(code);
  const std::string text = "Line: " + std::to_string(step_number) + " (in main module)\n" +
                           error_message(code) + "\nContinue?";
  const bool go_on = rt.host != nullptr && rt.host->report_error(caption, text);
  failures.pending = 0;
  if (!go_on) park_program_thread();
}
