#pragma once
// Program control: restart from the top, orderly end, and the jump of the error trap. Each
// abandons the logic's call stack by an exception that the top of the logic thread catches.

struct RestartRequest {};
struct ProgramEnd {
  int exit_code = 0;
};
// The error trap took a failure: the logic goes on in its handler for a missing state file.
struct ErrorTrapTaken {};

// Restart from the top: the top of the logic thread then resets the runtime and the logic and
// starts again.
[[noreturn]] void restart_program();
// Ends the program in order with exit code 0.
[[noreturn]] void park_program_thread();

// The runtime's half of a restart: start-up text screen and the start seed.
void reset_runtime_for_run();
// The runtime's part of the logic's half: every open file closed, the error trap and the
// in-handler flag cleared.
void clear_files_and_trap();
