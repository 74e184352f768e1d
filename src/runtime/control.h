#pragma once
// Program control: start, restart from the top, orderly end, the jump of the error trap, and
// the window thread's stop and pause requests. A restart, an end and the trap's jump abandon
// the logic's call stack by an exception that the top of the logic thread catches.
#include "runtime/host.h"

struct RestartRequest {};
struct ProgramEnd {
  int exit_code = 0;
};
// The error trap took a failure: the logic goes on in its handler for a missing state file.
struct ErrorTrapTaken {};

// A runtime as at program start (empty queues, start seed, text screen) for the given host,
// with the keys that the host found held.
void start_runtime(Host& host);

// Restart from the top: the top of the logic thread then resets the runtime and the logic and
// starts again.
[[noreturn]] void restart_program();
// Ends the program in order with exit code 0.
[[noreturn]] void park_program_thread();

// An allocation failed on the logic's thread or a worker. Running out of memory is no end the
// program chooses, and nothing is saved, so its exit code is 1 rather than the 0 of the orderly
// ends: the code the program gives for every end it does not choose (a window that cannot open
// gives it too).
constexpr int out_of_memory_exit_code = 1;
// Closes every open file without saving it, shows the box with "Out of memory" and gives the
// exit code; the top of the logic thread returns it.
int end_out_of_memory();

// The runtime's half of a restart: what a restart clears replaced by a fresh value (start-up
// text screen, start seed, every open file closed, no failure, the error trap disarmed), and
// the start-up screen shown.
void reset_runtime_for_run();

// Requests from the window thread, seen by the logic at the end of its current step; a stop
// also ends a pause.
void request_stop();
void request_pause(bool paused);
