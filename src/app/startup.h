#pragma once

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
