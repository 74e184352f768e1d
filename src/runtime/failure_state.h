#pragma once
// The pending failure and the error trap.

struct FailureState {
  int pending = 0;        // the failure waiting for the end of the step, 0 for none
  bool trap_armed = false;
  bool in_handler = false;
  int handled = 0;        // the code the trap last took
};
