#pragma once
// Failures of the runtime: an operation that fails records its code and returns its fallback;
// at the end of the logic's step the failure is reported, or handed to the error trap
// (failures.h).
#include "runtime/error_codes.h"

// Records a failure unless one is pending already (the first one is reported).
void raise_error(int code);
// True while a failure waits for the end of its step: operations then do nothing.
bool failure_pending();

void arm_error_trap();
void disarm_error_trap();
