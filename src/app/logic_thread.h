#pragma once

// The top of the logic thread: runs the program, carries out its restarts and hands the error
// trap's jump to the missing-file handler; returns the exit code when the program ends, also
// when an allocation fails (end_out_of_memory).
// The host calls it on a thread of its own after start_runtime, take_clock_base (or a test
// clock) and moving to the program's folder.
int run_logic();
// A restart's reset: the runtime's per-run state and the logic's context replaced by fresh
// values, so every variable and table is back to 0 or the empty text, every open file is
// closed, the error trap and the in-handler flag are cleared and the start-up screen is shown.
void clear_all_variables();
