#pragma once
// The end of the logic's step: a pause, a stop request, and the pending failure, reported or
// handed to the error trap.
#include "runtime/pending_failure.h"
#include "runtime/runtime.h"

// The end-of-step check: pause, stop request, then the pending failure (report or trap).
void check_statement_events(int step_number);

// Called by the logic after each step that may fail; costs one flag test when nothing happened.
// A step is one statement of a routine: one colour set, one cursor move, one print, one line.
// A failure makes the rest of its step do nothing, so a step that bundled several statements
// would lose the ones after the failing one when the report's Yes goes on. The step number in
// a report is the source line of the step.
inline void end_step(int step_number = __builtin_LINE()) {
  if (runtime().statement_event.load(std::memory_order_acquire)) check_statement_events(step_number);
}
