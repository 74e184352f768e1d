#pragma once
// Failures of the runtime: an operation that fails records its code and returns its fallback;
// at the end of the logic's step the failure is reported, or handed to the error trap.
#include <atomic>
#include <string>

enum ErrorCode : int {
  error_illegal_function_call = 5,
  error_overflow = 6,
  error_subscript_out_of_range = 9,
  error_bad_file_number = 52,
  error_file_not_found = 53,
  error_bad_file_mode = 54,
  error_file_already_open = 55,
  error_input_past_end = 62,
  error_bad_file_name = 64,
  error_device_unavailable = 68,
  error_permission_denied = 70,
  error_path_file_access = 75,
  error_path_not_found = 76,
};

// The message the error report shows for a code ("Unprintable error" for unknown codes).
const char* error_message(int code);

struct FailureState {
  int pending = 0;        // the failure waiting for the end of the step, 0 for none
  bool trap_armed = false;
  bool in_handler = false;
  int handled = 0;        // the code the trap last took
};

// Records a failure unless one is pending already (the first one is reported).
void raise_error(int code);
// True while a failure waits for the end of its step: operations then do nothing.
bool failure_pending();

void arm_error_trap();
void disarm_error_trap();

// Set by a failure, a stop request or a pause request: the end of the step must look.
extern std::atomic<bool> statement_event_flag;

// The end-of-step check: pause, stop request, then the pending failure (report or trap).
void check_statement_events(int step_number);

// Called by the logic after each step that may fail; costs one flag test when nothing happened.
// A step is one statement of a routine: one colour set, one cursor move, one print, one line.
// A failure makes the rest of its step do nothing, so a step that bundled several statements
// would lose the ones after the failing one when the report's Yes goes on. The step number in
// a report is the source line of the step.
inline void end_step(int step_number = __builtin_LINE()) {
  if (statement_event_flag.load(std::memory_order_acquire)) check_statement_events(step_number);
}
