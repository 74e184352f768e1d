#include "runtime/pending_failure.h"

#include "runtime/runtime.h"

void raise_error(int code) {
  Runtime& rt = runtime();
  if (rt.failures.pending != 0) return;
  rt.failures.pending = code <= 0 ? error_illegal_function_call : code;
  rt.statement_event.store(true, std::memory_order_relaxed);
}

bool failure_pending() { return runtime().failures.pending != 0; }

void arm_error_trap() { runtime().failures.trap_armed = true; }
void disarm_error_trap() { runtime().failures.trap_armed = false; }
