#pragma once

// The whole program from the top: start-up, the scatter of main_restart, then the main loop.
// Leaves only by an exception: a restart, the error trap's jump or the end of the program.
[[noreturn]] void run_program();
// The program from the end of the state file's load on: start-up's rest, then main_restart and
// the main loop. Runs when the factory state stays in memory because no file could be saved.
[[noreturn]] void run_program_after_load();
// Start-up up to the first frame: tables, the clock-sized shift of the random sequence, the
// view constants, the state file, the cell grid and the first frame.
void start_up();
// The rest of start-up after the state file's load: the cell grid and the first frame.
void start_up_after_load();
// The view constants of start-up: projection centre and scale, view angles, clip box.
void set_view_constants();
// The values of the eight saved parameters before the state file replaces them.
void set_preload_parameters();
// The entry of the key "q" as of start-up: the particles scattered in the cube.
void main_restart();
