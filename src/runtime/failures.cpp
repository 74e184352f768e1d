#include "runtime/failures.h"

#include <string>

#include "runtime/control.h"

void check_statement_events(int step_number) {
  Runtime& rt = runtime();
  rt.statement_event.store(false);
  // Paused, the logic sleeps until the pause ends or a stop ends it.
  rt.pause.wait_while_paused();
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
