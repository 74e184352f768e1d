#pragma once

// One pass of the main loop: grid, counts, menu, mouse, key, rotation, frame, step, command.
void main_loop_pass();

// The whole program from the top: start-up, the scatter of main_restart, then the main loop.
// Leaves only by an exception: a restart, the error trap's jump or the end of the program.
[[noreturn]] void run_program();
// The program from the end of the state file's load on: start-up's rest, then main_restart and
// the main loop. Runs when the factory state stays in memory because no file could be saved.
[[noreturn]] void run_program_after_load();
