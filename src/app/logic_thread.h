#pragma once

// The top of the logic thread: runs the program, carries out its restarts and hands the error
// trap's jump to the missing-file handler; returns the exit code when the program ends, also
// when an allocation fails (end_out_of_memory).
// The host calls it on a thread of its own after start_runtime, take_clock_base (or a test
// clock) and moving to the program's folder.
int run_logic();
// The logic's half of a restart: every variable and table back to 0 or the empty text, every
// open file closed, the error trap and the in-handler flag cleared.
void clear_all_variables();
